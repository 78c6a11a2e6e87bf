#include "catalogue_order.h"

#include <algorithm>
#include <cstdint>
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

void SetKey(SortKey& key, std::string_view path, std::size_t offset)
{
    key.High = 0;
    key.Low = 0;
    for (std::size_t i = 0; i < KeyBytes; ++i) {
        const auto at = offset + i;
        const auto byte = at < path.size() ? static_cast<unsigned char>(AsciiUpper(path[at])) : 0u;
        auto& half = i < 8 ? key.High : key.Low;
        half = half << 8 | byte;
    }
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
