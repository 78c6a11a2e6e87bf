#include "catalogue_preload.h"

CataloguePreload::CataloguePreload(std::filesystem::path file) : File(std::move(file))
{
    Loading = std::async(std::launch::async, [file = File] {
        Loaded loaded;
        loaded.Read = ReadCatalogueFile(file, loaded.Catalogue);
        loaded.Catalogue.Sort();
        return loaded;
    });
}

CataloguePreload::~CataloguePreload() = default;

CatalogueReadResult CataloguePreload::Take(const std::filesystem::path& file, PathCatalogue& catalogue)
{
    if (file != File || !Loading.valid() || !catalogue.empty())
        return ReadCatalogueFile(file, catalogue);
    auto loaded = Loading.get();
    catalogue = std::move(loaded.Catalogue);
    return std::move(loaded.Read);
}
