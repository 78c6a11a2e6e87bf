#include "platform/network_connections.h"
#include "platform/program_runner.h"
#include "platform/system_services.h"
#include "platform/windows_command_line.h"
#include "text_code_page.h"

#include <windows.h>

#include <shellapi.h>

namespace {

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : Value(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE* Out() { return &Value; }
    HANDLE Get() const { return Value; }
    void Close()
    {
        if (Value && Value != INVALID_HANDLE_VALUE)
            CloseHandle(Value);
        Value = nullptr;
    }

private:
    HANDLE Value = nullptr;
};

} // namespace

// The program by its full path, never searched for, and no console window.
CommandResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> line{program.string()};
    line.insert(line.end(), arguments.begin() + 1, arguments.end());
    auto commandLine = Widen(WindowsCommandLine(line), CP_ACP);

    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle outputRead, outputWrite, inputRead, inputWrite;
    if (!CreatePipe(outputRead.Out(), outputWrite.Out(), &inherited, 0)
        || !CreatePipe(inputRead.Out(), inputWrite.Out(), &inherited, 0))
        return {};
    SetHandleInformation(outputRead.Get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inputWrite.Get(), HANDLE_FLAG_INHERIT, 0);
    inputWrite.Close();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead.Get();
    startup.hStdOutput = outputWrite.Get();
    startup.hStdError = outputWrite.Get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return {};
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    outputWrite.Close();
    inputRead.Close();

    std::string raw;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(outputRead.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        raw.append(buffer, got);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(processHandle.Get(), &exitCode);

    // Console programs print in the OEM code page; the program's texts are ANSI.
    return {static_cast<int>(exitCode), Narrow(Widen(raw, GetOEMCP()), CP_ACP)};
}

namespace {

class Win32ShellOpener final : public ShellOpener {
public:
    void Open(const std::string& address) override
    {
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
};

} // namespace

std::unique_ptr<CommandRunner> MakeSystemCommandRunner(const std::filesystem::path&)
{
    // The calls net.exe makes, made here: no program is started, and the
    // password stands on no command line.
    return MakeConnectionRunner(MakeSystemNetworkConnections(), MakeSystemCredentialStore());
}

std::unique_ptr<ShellOpener> MakeSystemShellOpener()
{
    return std::make_unique<Win32ShellOpener>();
}
