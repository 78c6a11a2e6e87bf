#include "platform/system_services.h"

#include "platform/network_connections.h"
#include "text_code_page.h"

#include <windows.h>

#include <winnetwk.h>

#include <iphlpapi.h>

#include <optional>
#include <string>
#include <thread>

namespace {

class Win32DriveInventory final : public DriveInventory {
public:
    // A letter remembered for a server that did not answer at login has no
    // drive, but it is taken all the same: nothing else can be attached there.
    std::uint32_t PresentDrives() override
    {
        std::uint32_t present = GetLogicalDrives();
        for (const auto& [local, remote] : MakeSystemNetworkConnections()->RememberedConnections()) {
            if (local.size() != 2 || local[1] != ':')
                continue;
            const char upper = local[0] >= 'a' && local[0] <= 'z' ? static_cast<char>(local[0] - 'a' + 'A') : local[0];
            if (upper >= 'A' && upper <= 'Z')
                present |= 1U << (upper - 'A');
        }
        return present;
    }

    std::int32_t DriveType(char letter) override
    {
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
        const UINT type = GetDriveTypeW(root);
        return static_cast<std::int32_t>(type == DRIVE_NO_ROOT_DIR && RemoteAt(letter) ? DRIVE_REMOTE : type);
    }

    // The system's address notifications, waited for on a thread of their own.
    std::shared_ptr<void> WatchNetwork(std::function<void()> changed) override
    {
        struct Watch {
            HANDLE Stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            std::thread Waiter;
            ~Watch()
            {
                SetEvent(Stop);
                if (Waiter.joinable())
                    Waiter.join();
                CloseHandle(Stop);
            }
        };
        auto watch = std::make_shared<Watch>();
        watch->Waiter = std::thread([stop = watch->Stop, changed = std::move(changed)] {
            OVERLAPPED overlapped{};
            overlapped.hEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
            for (;;) {
                HANDLE handle = nullptr;
                const DWORD asked = NotifyAddrChange(&handle, &overlapped);
                if (asked != ERROR_IO_PENDING && asked != NO_ERROR)
                    break;
                const HANDLE events[] = {stop, overlapped.hEvent};
                if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                    CancelIPChangeNotify(&overlapped);
                    break;
                }
                changed();
            }
            CloseHandle(overlapped.hEvent);
        });
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
