#include "platform/system_services.h"

#include <windows.h>

namespace {

class Win32DriveInventory final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override { return GetLogicalDrives(); }

    std::int32_t DriveType(char letter) override
    {
        const char root[] = {letter, ':', '\0'};
        return static_cast<std::int32_t>(GetDriveTypeA(root));
    }
};

} // namespace

std::unique_ptr<DriveInventory> MakeSystemDriveInventory()
{
    return std::make_unique<Win32DriveInventory>();
}
