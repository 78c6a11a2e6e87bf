#include "catalogue_order.h"

#include <algorithm>
#include <cstdint>
#include <vector>

bool CatalogueLess(std::string_view left, std::string_view right)
{
    return AsciiCaseLess(left, right);
}

namespace {

// A path's first sixteen bytes, folded, as two numbers that compare as the
// bytes do; shorter paths are filled with zero bytes. Two paths whose keys
// differ are in the keys' order, and only equal keys need the paths.
struct SortKey {
    std::uint64_t High = 0;
    std::uint64_t Low = 0;
    std::uint32_t Index = 0;
};

SortKey MakeKey(std::string_view path, std::uint32_t index)
{
    SortKey key;
    key.Index = index;
    for (std::size_t i = 0; i < 16; ++i) {
        const auto byte = i < path.size() ? static_cast<unsigned char>(AsciiUpper(path[i])) : 0u;
        auto& half = i < 8 ? key.High : key.Low;
        half = half << 8 | byte;
    }
    return key;
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
    // sorted without a second copy of itself. Equal paths keep their order.
    std::vector<SortKey> keys;
    keys.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        keys.push_back(MakeKey(list[i].NetworkPath, static_cast<std::uint32_t>(i)));
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        if (a.High != b.High)
            return a.High < b.High;
        if (a.Low != b.Low)
            return a.Low < b.Low;
        const auto& left = list[a.Index].NetworkPath;
        const auto& right = list[b.Index].NetworkPath;
        if (CatalogueLess(left, right))
            return true;
        return !CatalogueLess(right, left) && a.Index < b.Index;
    });
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
