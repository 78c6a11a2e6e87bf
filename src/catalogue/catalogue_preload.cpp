#include "catalogue_preload.h"

CataloguePreload::CataloguePreload(std::filesystem::path file) : File(std::move(file))
{
    Loading = std::async(std::launch::async, [file = File] {
        Loaded loaded;
        loaded.Before = VersionOf(file);
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
    if (VersionOf(file) != loaded.Before)
        return ReadCatalogueFile(file, catalogue);
    catalogue = std::move(loaded.Catalogue);
    return std::move(loaded.Read);
}

CataloguePreload::Version CataloguePreload::VersionOf(const std::filesystem::path& file)
{
    Version version;
    version.Size = std::filesystem::file_size(file, version.SizeError);
    version.Time = std::filesystem::last_write_time(file, version.TimeError);
    return version;
}
