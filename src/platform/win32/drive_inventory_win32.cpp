#include "platform/system_services.h"

#include "base/ascii.h"
#include "platform/network_connections.h"
#include "text_code_page.h"

#include <winsock2.h>

#include <windows.h>

#include <ws2ipdef.h>

#include <iphlpapi.h>
#include <netioapi.h>
#include <winnetwk.h>

#include <optional>
#include <string>

namespace {

class Win32DriveInventory final : public DriveInventory {
public:
    // A letter remembered for a server that did not answer at login has no
    // drive, but it is taken all the same: nothing else can be attached there.
    std::uint32_t PresentDrives() override
    {
        std::uint32_t present = GetLogicalDrives();
        for (const auto& [local, remote] : MakeSystemNetworkConnections()->RememberedConnections()) {
            if (const auto letter = DeviceLetter(local))
                present |= 1U << (*letter - 'A');
        }
        return present;
    }

    std::int32_t DriveType(char letter) override
    {
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
        const UINT type = GetDriveTypeW(root);
        return static_cast<std::int32_t>(type == DRIVE_NO_ROOT_DIR && RemoteAt(letter) ? DRIVE_REMOTE : type);
    }

    // The system's word on addresses of either family that come and go, on its own threads.
    std::shared_ptr<void> WatchNetwork(std::function<void()> changed) override
    {
        struct Watch {
            std::function<void()> Changed;
            HANDLE Notification = nullptr;
            ~Watch()
            {
                if (Notification != nullptr)
                    CancelMibChangeNotify2(Notification);  // waits for a call under way
            }
        };
        auto watch = std::make_shared<Watch>();
        watch->Changed = std::move(changed);
        const auto told = [](void* context, MIB_UNICASTIPADDRESS_ROW*, MIB_NOTIFICATION_TYPE type) {
            if (type != MibInitialNotification)
                static_cast<Watch*>(context)->Changed();
        };
        NotifyUnicastIpAddressChange(AF_UNSPEC, told, watch.get(), FALSE, &watch->Notification);
        return watch;
    }

    DriveConnection ConnectionAt(char letter) override
    {
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
        DriveConnection connection;
        connection.RemotePath = RemoteAt(letter);
        connection.Present = connection.RemotePath || GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR;
        // A stalled server holds this here, and nowhere else.
        connection.Answers = connection.Present && GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES;
        return connection;
    }

private:
    // Attached there, or remembered there for a server that has not answered since.
    static std::optional<std::string> RemoteAt(char letter)
    {
        return MakeSystemNetworkConnections()->RemoteOf(std::string{letter, ':'});
    }
};

} // namespace

std::unique_ptr<DriveInventory> MakeSystemDriveInventory()
{
    return std::make_unique<Win32DriveInventory>();
}
