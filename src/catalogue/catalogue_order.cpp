#include "catalogue_order.h"

bool CatalogueLess(std::string_view left, std::string_view right)
{
    return AsciiCaseLess(left, right);
}

void SortCatalogue(PathCatalogue& catalogue)
{
    catalogue.Sort();
}

void SortCatalogue(AvailablePathVector& list)
{
    PathCatalogue catalogue(list);
    catalogue.Sort();
    list = catalogue.Entries();
}
