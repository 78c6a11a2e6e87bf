#include "platform/system_services.h"

#include "text_code_page.h"

#include <windows.h>

#include <winnetwk.h>

namespace {

class Win32DriveInventory final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override { return GetLogicalDrives(); }

    std::int32_t DriveType(char letter) override
    {
        const char root[] = {letter, ':', '\0'};
        return static_cast<std::int32_t>(GetDriveTypeA(root));
    }

    DriveConnection ConnectionAt(char letter) override
    {
        const wchar_t device[] = {static_cast<wchar_t>(letter), L':', L'\0'};
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
        DriveConnection connection;
        wchar_t remote[4096];
        DWORD length = 4096;
        if (WNetGetConnectionW(device, remote, &length) == NO_ERROR)
            connection.RemotePath = Narrow(remote, CP_ACP);
        connection.Present = connection.RemotePath || GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR;
        // A stalled server holds this here, and nowhere else.
        connection.Answers = connection.Present && GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES;
        return connection;
    }
};

} // namespace

std::unique_ptr<DriveInventory> MakeSystemDriveInventory()
{
    return std::make_unique<Win32DriveInventory>();
}
