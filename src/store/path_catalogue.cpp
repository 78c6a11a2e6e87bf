#include "path_catalogue.h"

#include "text_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <tuple>

namespace {

constexpr std::uint64_t Largest = std::numeric_limits<std::uint32_t>::max();

// Twenty-four bytes of a path from an offset, folded, as three numbers that
// compare as the bytes do; a path that ends sooner is filled with zero bytes.
// Two paths whose keys differ are in the keys' order. Most paths fit whole,
// so that one round orders them.
struct SortKey {
    std::uint64_t High = 0;
    std::uint64_t Middle = 0;
    std::uint64_t Low = 0;
    std::uint32_t Index = 0;
    std::uint32_t Size = 0;
};

constexpr std::size_t KeyBytes = 24;
// Past this many bytes, equal beginnings are told apart by comparing the rest.
constexpr std::size_t KeyedBytes = 4 * KeyBytes;

// Eight bytes as a number that compares as they do, with the ASCII letters
// among them in upper case: all eight bytes at once.
std::uint64_t FoldedWord(const unsigned char* bytes)
{
    std::uint64_t word = 0;
    for (int i = 0; i < 8; ++i)
        word = word << 8 | bytes[i];
    constexpr std::uint64_t Ones = 0x0101010101010101;
    // Each byte's low seven bits plus a constant stay within the byte, so its
    // top bit says whether they reach 'a', and whether they pass 'z'.
    const auto low = word & 0x7F * Ones;
    const auto fromA = low + (0x80 - 'a') * Ones;
    const auto pastZ = low + (0x80 - 'z' - 1) * Ones;
    const auto lowerCase = fromA & ~pastZ & ~word & 0x80 * Ones;
    return word ^ lowerCase >> 2;
}

void SetKey(SortKey& key, std::string_view path, std::size_t offset)
{
    std::array<unsigned char, KeyBytes> bytes{};
    if (offset < path.size())
        std::memcpy(bytes.data(), path.data() + offset, std::min(KeyBytes, path.size() - offset));
    key.High = FoldedWord(bytes.data());
    key.Middle = FoldedWord(bytes.data() + 8);
    key.Low = FoldedWord(bytes.data() + 16);
}

using KeyIterator = std::vector<SortKey>::iterator;

// The keys' order, and among equal keys the shorter path first, then the
// one that came first.
bool KeyLess(const SortKey& a, const SortKey& b)
{
    return std::tie(a.High, a.Middle, a.Low, a.Size, a.Index) < std::tie(b.High, b.Middle, b.Low, b.Size, b.Index);
}

int KeyByte(const SortKey& key, std::size_t depth)
{
    const auto word = depth < 8 ? key.High : depth < 16 ? key.Middle : key.Low;
    return static_cast<int>(word >> (56 - 8 * (depth % 8)) & 0xFF);
}

// Orders keys as KeyLess does: by their bytes from depth on, a byte at a
// time into 256 buckets moved into place where they lie; a bucket of a few
// keys, or of keys equal to the end, is ordered by comparing. Many paths
// begin alike ("\\\\server\\share"): a byte that all share costs one count.
void RadixSort(KeyIterator begin, KeyIterator end, std::size_t depth)
{
    constexpr std::ptrdiff_t FewKeys = 64;
    // The bytes every key shares are passed over at once.
    std::uint64_t differ[3] = {0, 0, 0};
    for (auto key = begin; key != end; ++key) {
        differ[0] |= key->High ^ begin->High;
        differ[1] |= key->Middle ^ begin->Middle;
        differ[2] |= key->Low ^ begin->Low;
    }
    while (depth < KeyBytes && (differ[depth / 8] >> (56 - 8 * (depth % 8)) & 0xFF) == 0)
        ++depth;
    std::array<std::size_t, 256> count{};
    for (;; ++depth) {
        if (end - begin <= FewKeys || depth == KeyBytes) {
            std::sort(begin, end, KeyLess);
            return;
        }
        count.fill(0);
        for (auto key = begin; key != end; ++key)
            ++count[static_cast<std::size_t>(KeyByte(*key, depth))];
        if (count[static_cast<std::size_t>(KeyByte(*begin, depth))] != static_cast<std::size_t>(end - begin))
            break;
    }
    std::array<std::size_t, 256> next{};
    std::array<std::size_t, 256> limit{};
    std::size_t position = 0;
    for (std::size_t bucket = 0; bucket < 256; ++bucket) {
        next[bucket] = position;
        position += count[bucket];
        limit[bucket] = position;
    }
    for (std::size_t bucket = 0; bucket < 256; ++bucket) {
        while (next[bucket] < limit[bucket]) {
            auto& key = begin[static_cast<std::ptrdiff_t>(next[bucket])];
            const auto home = static_cast<std::size_t>(KeyByte(key, depth));
            if (home == bucket)
                ++next[bucket];
            else
                std::swap(key, begin[static_cast<std::ptrdiff_t>(next[home]++)]);
        }
    }
    std::size_t start = 0;
    for (std::size_t bucket = 0; bucket < 256; ++bucket) {
        if (count[bucket] > 1)
            RadixSort(begin + static_cast<std::ptrdiff_t>(start), begin + static_cast<std::ptrdiff_t>(limit[bucket]),
                      depth + 1);
        start = limit[bucket];
    }
}
// Orders keys whose paths agree, folded, in their first offset bytes: by the
// next twenty-four, then the runs that agree in those too by the ones after.
// Equal paths keep their order, and a path comes before the longer ones it starts.
template <typename Path>
void SortFrom(const Path& path, KeyIterator begin, KeyIterator end, std::size_t offset)
{
    if (offset >= KeyedBytes) {
        std::sort(begin, end, [&](const SortKey& a, const SortKey& b) {
            const auto rest = [&](const SortKey& key) {
                const auto whole = path(key.Index);
                return whole.substr(std::min(offset, whole.size()));
            };
            const auto left = rest(a);
            const auto right = rest(b);
            if (AsciiCaseLess(left, right))
                return true;
            // Equal rests may still end at different places before offset, where
            // the keys' zeros hid trailing NUL bytes: the shorter path first.
            return !AsciiCaseLess(right, left) && std::tie(a.Size, a.Index) < std::tie(b.Size, b.Index);
        });
        return;
    }
    if (offset > 0) {
        for (auto key = begin; key != end; ++key)
            SetKey(*key, path(key->Index), offset);
    }
    const auto byKey = [](const SortKey& a, const SortKey& b) {
        return std::tie(a.High, a.Middle, a.Low) < std::tie(b.High, b.Middle, b.Low);
    };
    // Within equal bytes the shorter path first, which is only right for the
    // runs that end here; the others are ordered again below.
    RadixSort(begin, end, 0);
    const auto next = offset + KeyBytes;
    for (auto run = begin; run != end;) {
        const auto runEnd = std::find_if(run, end, [&](const SortKey& key) { return byKey(*run, key); });
        // Ordered by length within a run is right when none goes on past these bytes.
        if (runEnd - run > 1 && std::any_of(run, runEnd, [&](const SortKey& key) { return key.Size > next; }))
            SortFrom(path, run, runEnd, next);
        run = runEnd;
    }
}

} // namespace

PathCatalogue::PathCatalogue(const AvailablePathVector& entries)
{
    std::size_t bytes = 0;
    for (const auto& entry : entries)
        bytes += 1 + entry.NetworkPath.size() + entry.Description.size();
    Reserve(bytes, entries.size());
    for (const auto& entry : entries)
        push_back(entry);
}

CatalogueEntry PathCatalogue::operator[](std::size_t index) const
{
    const auto& record = Records[index];
    const std::string_view bytes(Bytes);
    return {bytes.substr(record.Offset + 1, record.PathSize),
            bytes.substr(record.Offset + 1 + record.PathSize, record.DescriptionSize),
            static_cast<std::uint8_t>(Bytes[record.Offset])};
}

AvailablePathVector PathCatalogue::Entries() const
{
    AvailablePathVector entries;
    entries.reserve(size());
    for (std::size_t i = 0; i < size(); ++i)
        entries.push_back((*this)[i].Copy());
    return entries;
}

PathCatalogue::Record PathCatalogue::Append(const AvailablePathStructur& entry)
{
    Record record;
    record.Offset = Bytes.size();
    record.PathSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(entry.NetworkPath.size(), Largest));
    record.DescriptionSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(entry.Description.size(), Largest));
    Bytes += static_cast<char>(entry.RequiresPW);
    Bytes.append(entry.NetworkPath, 0, record.PathSize);
    Bytes.append(entry.Description, 0, record.DescriptionSize);
    return record;
}

void PathCatalogue::push_back(const AvailablePathStructur& entry)
{
    InOrder = InOrder && Records.empty();
    Records.push_back(Append(entry));
}

void PathCatalogue::Forget(const Record& record)
{
    Garbage += 1 + std::size_t{record.PathSize} + record.DescriptionSize;
}

void PathCatalogue::Replace(std::size_t index, const AvailablePathStructur& entry)
{
    Forget(Records[index]);
    Records[index] = Append(entry);
    InOrder = InOrder && Records.size() == 1;
    CompactWhenMostlyGarbage();
}

void PathCatalogue::Erase(std::size_t index)
{
    Forget(Records[index]);
    Records.erase(Records.begin() + static_cast<std::ptrdiff_t>(index));
    CompactWhenMostlyGarbage();
}

void PathCatalogue::Truncate(std::size_t count)
{
    while (Records.size() > count) {
        Forget(Records.back());
        Records.pop_back();
    }
    CompactWhenMostlyGarbage();
}

void PathCatalogue::clear()
{
    Bytes.clear();
    Records.clear();
    Garbage = 0;
    InOrder = true;
}

void PathCatalogue::CompactWhenMostlyGarbage()
{
    if (Garbage > Bytes.size() / 2)
        Compact();
}

void PathCatalogue::Compact()
{
    if (Garbage == 0)
        return;
    std::string live;
    live.reserve(Bytes.size() - Garbage);
    for (auto& record : Records) {
        const auto size = 1 + std::size_t{record.PathSize} + record.DescriptionSize;
        const auto offset = live.size();
        live.append(Bytes, record.Offset, size);
        record.Offset = offset;
    }
    Bytes = std::move(live);
    Garbage = 0;
}

std::size_t PathCatalogue::BytesHeld() const
{
    return Bytes.capacity() + Records.capacity() * sizeof(Record);
}

void PathCatalogue::Reserve(std::size_t bytes, std::size_t entries)
{
    // Only a head start: without the room the buffer grows as bytes come.
    try {
        Bytes.reserve(Bytes.size() + bytes);
        Records.reserve(Records.size() + entries);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

std::string_view PathCatalogue::PathOf(const Record& record) const
{
    return std::string_view(Bytes).substr(record.Offset + 1, record.PathSize);
}

void PathCatalogue::Sort()
{
    if (InOrder)
        return;
    const auto less = [this](const Record& a, const Record& b) { return AsciiCaseLess(PathOf(a), PathOf(b)); };
    // A catalogue as this program saves it is in order already.
    if (std::is_sorted(Records.begin(), Records.end(), less)) {
        InOrder = true;
        return;
    }
    // Small keys of folded bytes instead of folded copies of the paths.
    std::vector<SortKey> keys(Records.size());
    for (std::size_t i = 0; i < Records.size(); ++i) {
        keys[i].Index = static_cast<std::uint32_t>(i);
        keys[i].Size = Records[i].PathSize;
        SetKey(keys[i], PathOf(Records[i]), 0);
    }
    SortFrom([this](std::uint32_t index) { return PathOf(Records[index]); }, keys.begin(), keys.end(), 0);
    // The records moved into place along the permutation's cycles, without
    // a second list of them.
    constexpr auto Placed = ~std::uint32_t{0};
    for (std::size_t start = 0; start < keys.size(); ++start) {
        if (keys[start].Index == Placed || keys[start].Index == start)
            continue;
        const auto held = Records[start];
        auto at = start;
        while (keys[at].Index != start) {
            const auto from = keys[at].Index;
            Records[at] = Records[from];
            keys[at].Index = Placed;
            at = from;
        }
        Records[at] = held;
        keys[at].Index = Placed;
    }
    // Only now: keys that could not be had leave it as unsorted as it was.
    InOrder = true;
}

void PathCatalogue::BeginEntry(std::uint8_t requiresPW)
{
    Pending = {};
    Pending.Offset = Bytes.size();
    Bytes += static_cast<char>(requiresPW);
}

bool PathCatalogue::AppendText(std::string_view piece)
{
    for (auto cr = piece.find('\r'); cr != std::string_view::npos; cr = piece.find('\r')) {
        Bytes.append(piece.substr(0, cr));
        piece.remove_prefix(cr + 1);
    }
    Bytes.append(piece);
    // The path's size is known once it ended: what came since belongs to the description.
    const auto start = Pending.Offset + 1 + Pending.PathSize;
    if (Bytes.size() - start <= Largest)
        return true;
    Bytes.resize(Pending.Offset);
    return false;
}

void PathCatalogue::EndPath()
{
    Pending.PathSize = static_cast<std::uint32_t>(Bytes.size() - Pending.Offset - 1);
}

void PathCatalogue::EndEntry()
{
    InOrder = InOrder && Records.empty();
    Pending.DescriptionSize = static_cast<std::uint32_t>(Bytes.size() - Pending.Offset - 1 - Pending.PathSize);
    Records.push_back(Pending);
}

namespace {

template <typename Entries>
bool SameEntries(const PathCatalogue& catalogue, const Entries& entries)
{
    if (catalogue.size() != entries.size())
        return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!(catalogue[i] == entries[i]))
            return false;
    }
    return true;
}

} // namespace

bool operator==(const PathCatalogue& catalogue, const AvailablePathVector& entries)
{
    return SameEntries(catalogue, entries);
}

bool operator==(const PathCatalogue& left, const PathCatalogue& right)
{
    return SameEntries(left, right);
}
