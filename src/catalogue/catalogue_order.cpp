#include "catalogue_order.h"

#include <algorithm>

bool CatalogueLess(std::string_view left, std::string_view right)
{
    return AsciiCaseLess(left, right);
}

void SortCatalogue(AvailablePathVector& list)
{
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
        return CatalogueLess(a.NetworkPath, b.NetworkPath);
    });
}
