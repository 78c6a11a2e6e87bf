#pragma once

#include "store/catalogue_file.h"

#include <filesystem>
#include <future>

// The catalogue file read and put in order on a thread of its own, started
// before the widgets are: with many entries that is most of a start, and the
// toolkit takes as long to start meanwhile.
class CataloguePreload {
public:
    explicit CataloguePreload(std::filesystem::path file);
    ~CataloguePreload();
    CataloguePreload(const CataloguePreload&) = delete;
    CataloguePreload& operator=(const CataloguePreload&) = delete;

    // What ReadCatalogueFile(file, catalogue) gives, for an empty catalogue:
    // the preloaded one when it is of this file and not taken yet, else read now.
    CatalogueReadResult Take(const std::filesystem::path& file, PathCatalogue& catalogue);

private:
    struct Loaded {
        PathCatalogue Catalogue;
        CatalogueReadResult Read;
    };

    std::filesystem::path File;
    std::future<Loaded> Loading;
};
