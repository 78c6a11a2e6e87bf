#include "catalogue_order.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

bool CatalogueLess(std::string_view left, std::string_view right)
{
    return AsciiCaseLess(left, right);
}

namespace {

// Sixteen bytes of a path from an offset, folded, as two numbers that compare
// as the bytes do; a path that ends sooner is filled with zero bytes. Two
// paths whose keys differ are in the keys' order.
struct SortKey {
    std::uint64_t High = 0;
    std::uint64_t Low = 0;
    std::uint32_t Index = 0;
    std::uint32_t Size = 0;
};

constexpr std::size_t KeyBytes = 16;
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
    key.Low = FoldedWord(bytes.data() + 8);
}

using KeyIterator = std::vector<SortKey>::iterator;

// Orders keys whose paths agree, folded, in their first offset bytes: by the
// next sixteen, then the runs that agree in those too by the sixteen after.
// Equal paths keep their order, and a path comes before the longer ones it starts.
void SortFrom(const AvailablePathVector& list, KeyIterator begin, KeyIterator end, std::size_t offset)
{
    if (offset >= KeyedBytes) {
        std::sort(begin, end, [&](const SortKey& a, const SortKey& b) {
            const auto rest = [&](const SortKey& key) {
                const std::string_view path = list[key.Index].NetworkPath;
                return path.substr(std::min(offset, path.size()));
            };
            const auto left = rest(a);
            const auto right = rest(b);
            if (AsciiCaseLess(left, right))
                return true;
            return !AsciiCaseLess(right, left) && a.Index < b.Index;
        });
        return;
    }
    if (offset > 0) {
        for (auto key = begin; key != end; ++key)
            SetKey(*key, list[key->Index].NetworkPath, offset);
    }
    const auto byKey = [](const SortKey& a, const SortKey& b) {
        return std::tie(a.High, a.Low) < std::tie(b.High, b.Low);
    };
    // Within equal bytes the shorter path first, which is only right for the
    // runs that end here; the others are ordered again below.
    std::sort(begin, end, [](const SortKey& a, const SortKey& b) {
        return std::tie(a.High, a.Low, a.Size, a.Index) < std::tie(b.High, b.Low, b.Size, b.Index);
    });
    const auto next = offset + KeyBytes;
    for (auto run = begin; run != end;) {
        const auto runEnd = std::find_if(run, end, [&](const SortKey& key) { return byKey(*run, key); });
        // Ordered by length within a run is right when none goes on past these bytes.
        if (runEnd - run > 1 && std::any_of(run, runEnd, [&](const SortKey& key) { return key.Size > next; }))
            SortFrom(list, run, runEnd, next);
        run = runEnd;
    }
}

} // namespace

void SortCatalogue(AvailablePathVector& list)
{
    const auto less = [](const auto& a, const auto& b) { return CatalogueLess(a.NetworkPath, b.NetworkPath); };
    // A catalogue as this program saves it is in order already.
    if (std::is_sorted(list.begin(), list.end(), less))
        return;
    // Small keys instead of folded copies of the paths, and the records
    // moved into place along the permutation's cycles: a big catalogue is
    // sorted without a second copy of itself.
    std::vector<SortKey> keys(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        keys[i].Index = static_cast<std::uint32_t>(i);
        keys[i].Size = static_cast<std::uint32_t>(std::min<std::size_t>(list[i].NetworkPath.size(), UINT32_MAX));
        SetKey(keys[i], list[i].NetworkPath, 0);
    }
    SortFrom(list, keys.begin(), keys.end(), 0);
    constexpr auto Placed = ~std::uint32_t{0};
    for (std::size_t start = 0; start < keys.size(); ++start) {
        if (keys[start].Index == Placed || keys[start].Index == start) {
            keys[start].Index = Placed;
            continue;
        }
        auto held = std::move(list[start]);
        auto at = start;
        while (keys[at].Index != start) {
            const auto from = keys[at].Index;
            list[at] = std::move(list[from]);
            keys[at].Index = Placed;
            at = from;
        }
        list[at] = std::move(held);
        keys[at].Index = Placed;
    }
}
