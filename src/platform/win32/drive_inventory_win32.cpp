#include "platform/system_services.h"

#include "text_code_page.h"

#include <windows.h>

#include <winnetwk.h>

#include <iphlpapi.h>

#include <thread>

namespace {

class Win32DriveInventory final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override { return GetLogicalDrives(); }

    std::int32_t DriveType(char letter) override
    {
        const char root[] = {letter, ':', '\0'};
        return static_cast<std::int32_t>(GetDriveTypeA(root));
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
