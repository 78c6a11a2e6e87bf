#include "platform/system_services.h"

#include "base/ascii.h"
#include "base/ask_within.h"
#include "platform/network_connections.h"
#include "text_code_page.h"

#include <winsock2.h>

#include <windows.h>

#include <ws2ipdef.h>

#include <iphlpapi.h>
#include <netioapi.h>
#include <winnetwk.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace {

// Starts the system's command interpreter on the one question whether the
// root of letter answers; its process, or nothing when it could not start.
// Nothing of this program's is handed to it, and no window is shown.
HANDLE StartRootQuestion(char letter)
{
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring program = std::wstring(system, length) + L"\\cmd.exe";
    // /d: no AutoRun command of the registry runs first. "cd" into the root
    // ends with 0 where the root can be entered, an empty one too.
    std::wstring line = L"cmd.exe /d /c cd /d X:\\";
    line[line.find(L"X:")] = static_cast<wchar_t>(letter);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Whether the root of letter can be read within limit. The question is asked
// by a process of its own that nothing waits for past the limit: a root on a
// stalled server holds that process in the redirector, never this one, which
// can end when its window has gone. While a letter's last question has not
// come back, no other is started for it; that one is waited for instead.
bool RootAnswersWithin(char letter, std::chrono::milliseconds limit)
{
    // The letter stands on the interpreter's command line: a letter and nothing else.
    if (DriveLetterIndex(letter) < 0)
        return false;
    letter = AsciiUpper(letter);
    // Both outlive every thread that may still ask, past the program's end.
    static auto* const guard = new std::mutex;
    static auto* const pending = new std::map<char, HANDLE>;
    HANDLE process = nullptr;
    {
        const std::lock_guard lock(*guard);
        if (const auto found = pending->find(letter); found != pending->end()) {
            process = found->second;
            pending->erase(found);
        }
    }
    // A question that came back meanwhile is old news: a new one is asked.
    if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
        CloseHandle(process);
        process = nullptr;
    }
    if (!process)
        process = StartRootQuestion(letter);
    if (!process)
        return false;
    if (WaitForSingleObject(process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0) {
        DWORD code = 1;
        const bool answered = GetExitCodeProcess(process, &code) && code == 0;
        CloseHandle(process);
        return answered;
    }
    const std::lock_guard lock(*guard);
    if (!pending->emplace(letter, process).second)
        CloseHandle(process);
    return false;
}

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
        connection.Answers = connection.Present && RootAnswersWithin(letter, AnswerTimeLimit);
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
