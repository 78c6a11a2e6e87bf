#pragma once

#include "platform/platform.h"
#include "store/catalogue_file.h"

#include <cstdint>
#include <string>
#include <vector>

// One letter of the drive table.
struct DrivePathStructur {
    std::string DriveName;  // "A:" to "Z:"
    std::uint8_t Free = 1;       // may be offered for a new group line
    std::uint8_t Connected = 0;  // a drive is at the letter
    std::int32_t DriveType = 0;  // the platform's code, carried along
    std::int32_t DriveLetter = 0;

    friend bool operator==(const DrivePathStructur&, const DrivePathStructur&) = default;
};

using DrivePathVector = std::vector<DrivePathStructur>;

// The 26 letters A to Z as the inventory finds them.
DrivePathVector BuildDriveTable(DriveInventory& drives);

// Marks letter as free or not and, unless connected is -1, connected or not.
// The result is the updated entry's Connected, which the Detach buttons follow;
// 0 when no entry has the letter.
std::uint8_t UpdateDriveEntry(DrivePathVector& table, DriveInventory& drives, std::int32_t letter,
                              std::uint8_t free, std::int32_t connected);

std::uint8_t IsDriveConnected(const DrivePathVector& table, std::int32_t letter);

// The flag of the last catalogue entry with exactly this path; 0 when none has it.
std::uint8_t PathRequiresPW(const PathCatalogue& catalogue, std::string_view path);

// The letters offered for a new group line, "A:" to "Z:" in order.
std::vector<std::string> FreeDriveNames(const DrivePathVector& table);
