#pragma once

#include "store/catalogue_file.h"

#include <string_view>

// The catalogue's order of paths: byte by byte, ASCII letters without case,
// every other byte as an unsigned value, a path before any longer one it starts.
bool CatalogueLess(std::string_view left, std::string_view right);

void SortCatalogue(PathCatalogue& catalogue);
void SortCatalogue(AvailablePathVector& list);
