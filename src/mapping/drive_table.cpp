#include "drive_table.h"

#include <algorithm>

namespace {

std::string DriveNameOf(std::int32_t letter)
{
    return {static_cast<char>(letter), ':'};
}

} // namespace

DrivePathVector BuildDriveTable(DriveInventory& drives)
{
    DrivePathVector table;
    table.reserve(26);
    const auto mask = drives.PresentDrives();
    for (std::int32_t i = 0; i < 26; ++i) {
        DrivePathStructur entry;
        entry.DriveLetter = 'A' + i;
        entry.DriveName = DriveNameOf(entry.DriveLetter);
        const std::uint32_t bit = 1U << i;
        if ((mask & bit) == bit) {
            entry.Free = 0;
            entry.Connected = 1;
            entry.DriveType = drives.DriveType(static_cast<char>(entry.DriveLetter));
        }
        table.push_back(std::move(entry));
    }
    return table;
}

std::uint8_t UpdateDriveEntry(DrivePathVector& table, DriveInventory& drives, std::int32_t letter,
                              std::uint8_t free, std::int32_t connected)
{
    const auto entry = std::find_if(table.begin(), table.end(),
                                    [letter](const auto& candidate) { return candidate.DriveLetter == letter; });
    if (entry == table.end())
        return 0;
    entry->Free = free;
    if (free != 0)
        entry->DriveName = DriveNameOf(letter);
    if (connected != -1) {
        entry->Connected = connected != 0 ? 1 : 0;
        entry->DriveType = drives.DriveType(static_cast<char>(letter));
    }
    return entry->Connected;
}

std::uint8_t IsDriveConnected(const DrivePathVector& table, std::int32_t letter)
{
    std::uint8_t connected = 0;
    for (const auto& entry : table) {
        if (entry.DriveLetter == letter)
            connected = entry.Connected;
    }
    return connected;
}

std::uint8_t PathRequiresPW(const PathCatalogue& catalogue, std::string_view path)
{
    std::uint8_t flag = 0;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (const auto entry = catalogue[i]; entry.NetworkPath == path)
            flag = entry.RequiresPW;
    }
    return flag;
}

std::vector<std::string> FreeDriveNames(const DrivePathVector& table)
{
    std::vector<std::string> names;
    for (const auto& entry : table) {
        if (entry.Free != 0)
            names.push_back(entry.DriveName);
    }
    return names;
}
