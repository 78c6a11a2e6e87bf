#include "catalogue_order.h"

#include <algorithm>

namespace {

unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
}

} // namespace

bool CatalogueLess(std::string_view left, std::string_view right)
{
    const auto common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto a = Folded(left[i]);
        const auto b = Folded(right[i]);
        if (a != b)
            return a < b;
    }
    return left.size() < right.size();
}

void SortCatalogue(AvailablePathVector& list)
{
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return CatalogueLess(a.NetworkPath, b.NetworkPath);
    });
}
