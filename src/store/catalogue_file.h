#pragma once

#include "text_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// One entry of the catalogue of network paths.
struct AvailablePathStructur {
    std::string NetworkPath;
    std::string Description;
    std::uint8_t RequiresPW = 0;

    friend bool operator==(const AvailablePathStructur&, const AvailablePathStructur&) = default;
};

using AvailablePathVector = std::vector<AvailablePathStructur>;

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

// Appends the records of a catalogue file's bytes to list.
CatalogueReadResult ParseCatalogue(std::string_view bytes, AvailablePathVector& list);

// Appends the records of the catalogue file at path to list.
CatalogueReadResult ReadCatalogueFile(const std::filesystem::path& path, AvailablePathVector& list);

// The bytes of a catalogue file holding list: CR LF line ends, none at the end.
std::string FormatCatalogue(const AvailablePathVector& list);

// Saves list to path; false when the file could not be written (the old one
// then stays whole).
bool WriteCatalogueFile(const std::filesystem::path& path, const AvailablePathVector& list);
