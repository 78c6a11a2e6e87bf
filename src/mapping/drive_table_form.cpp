#include "app/mainform.h"

#include "mapping/group_line.h"

#include <QPushButton>

void TMainPRGForm::BuildDriveTable()
{
    DrivePathList = ::BuildDriveTable(*Services.Drives);
}

void TMainPRGForm::RefreshDriveTable()
{
    for (const auto& line : GroupLines())
        UpdateDriveEntry(static_cast<unsigned char>(GroupLineLetter(line)), 0, -1);
}

void TMainPRGForm::UpdateDriveEntry(std::int32_t letter, std::uint8_t free, std::int32_t connected)
{
    // The Detach buttons follow the letter updated last, not the whole group.
    const bool attached = ::UpdateDriveEntry(DrivePathList, *Services.Drives, letter, free, connected) != 0;
    DetachAllBtn->setEnabled(attached);
    DetachOneBtn->setEnabled(attached);
}

std::uint8_t TMainPRGForm::IsDriveConnected(std::int32_t letter) const
{
    return ::IsDriveConnected(DrivePathList, letter);
}

std::uint8_t TMainPRGForm::PathRequiresPW(std::string_view path) const
{
    return ::PathRequiresPW(AvailablePathList, path);
}
