#include "catalogue_order.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

bool CatalogueLess(std::string_view left, std::string_view right)
{
    return AsciiCaseLess(left, right);
}

void SortCatalogue(AvailablePathVector& list)
{
    const auto less = [](const auto& a, const auto& b) { return CatalogueLess(a.NetworkPath, b.NetworkPath); };
    // A catalogue as this program saves it is in order already.
    if (std::is_sorted(list.begin(), list.end(), less))
        return;
    // Each path folded once; then the order of the folded keys, equal ones in
    // their old order, and every record moved once.
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const auto& record : list)
        keys.push_back(AsciiCaseKey(record.NetworkPath));
    std::vector<std::size_t> order(list.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    AvailablePathVector sorted;
    sorted.reserve(list.size());
    for (const auto index : order)
        sorted.push_back(std::move(list[index]));
    list = std::move(sorted);
}
