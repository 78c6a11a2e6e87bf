#pragma once

#include "path_catalogue.h"
#include "text_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

inline constexpr std::string_view CatalogueFileName = "Corvane2.net";

struct CatalogueReadResult {
    FileReadStatus Status = FileReadStatus::Missing;
    // The header's count.
    std::int32_t HeaderCount = 0;
    // The header holds no count, the count does not match the records, or a
    // line is no record; the whole records before the fault were kept.
    bool Damaged = false;
    // A damaged file as it was read, kept so that it can be saved aside.
    std::string OriginalBytes;
};

// Appends the records of a catalogue file's bytes to catalogue.
CatalogueReadResult ParseCatalogue(std::string_view bytes, PathCatalogue& catalogue);

// Appends the records of the catalogue file at path to catalogue, its bytes
// straight into the catalogue's buffer.
CatalogueReadResult ReadCatalogueFile(const std::filesystem::path& path, PathCatalogue& catalogue);

// The bytes of a catalogue file holding the entries: CR LF line ends, none at the end.
std::string FormatCatalogue(const PathCatalogue& catalogue);

// Saves the catalogue to path; false when the file could not be written (the
// old one then stays whole).
bool WriteCatalogueFile(const std::filesystem::path& path, const PathCatalogue& catalogue);
