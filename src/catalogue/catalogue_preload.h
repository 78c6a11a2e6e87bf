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
    // the preloaded one when it is of this file, not taken yet, and the file
    // is still as it was when the reading began; else read now. Another copy
    // may have saved it before this one held the folder's lock.
    CatalogueReadResult Take(const std::filesystem::path& file, PathCatalogue& catalogue);

private:
    // What tells one version of the file from the next; a save renames a new file over it.
    struct Version {
        std::error_code SizeError;
        std::uintmax_t Size = 0;
        std::error_code TimeError;
        std::filesystem::file_time_type Time;
        bool operator==(const Version&) const = default;
    };
    static Version VersionOf(const std::filesystem::path& file);

    struct Loaded {
        Version Before;
        PathCatalogue Catalogue;
        CatalogueReadResult Read;
    };

    std::filesystem::path File;
    std::future<Loaded> Loading;
};
