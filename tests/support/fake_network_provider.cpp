// A network provider for Windows' own connection calls, as a network's
// software installs one. The console test registers it in the emulator: it
// takes the paths of the server "corvane-fake" alone, records each call it
// gets in the file named by CORVANE_FAKE_NET_LOG (UTF-8, one line a call),
// and answers with the status in CORVANE_FAKE_NET_STATUS (0 when unset).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// The provider interface's numbers (npapi.h).
constexpr DWORD SpecVersion = 0x00000001;
constexpr DWORD SpecVersion51 = 0x00050001;
constexpr DWORD NetType = 0x00000002;
constexpr DWORD DriverVersion = 0x00000003;
constexpr DWORD Connection = 0x00000006;
constexpr DWORD Start = 0x0000000C;
constexpr DWORD CancelConnection = 0x00000002;
constexpr DWORD AddConnection3 = 0x00000008;
constexpr DWORD LanmanNet = 0x00020000;
constexpr DWORD BadNetName = 67;
constexpr DWORD NotConnected = 2250;

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

std::string Utf8(const wchar_t* text)
{
    if (!text)
        return "(none)";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

void Record(const std::string& line)
{
    const auto log = Variable(L"CORVANE_FAKE_NET_LOG");
    if (log.empty())
        return;
    if (FILE* file = _wfopen(log.c_str(), L"ab")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

DWORD Status()
{
    return static_cast<DWORD>(std::wcstoul(Variable(L"CORVANE_FAKE_NET_STATUS").c_str(), nullptr, 10));
}

bool Ours(const wchar_t* remote)
{
    constexpr wchar_t Server[] = L"\\\\corvane-fake\\";
    return remote && _wcsnicmp(remote, Server, std::wcslen(Server)) == 0;
}

} // namespace

extern "C" {

__declspec(dllexport) DWORD APIENTRY NPGetCaps(DWORD index)
{
    switch (index) {
    case SpecVersion:
        return SpecVersion51;
    case NetType:
        return LanmanNet;
    case DriverVersion:
    case Start:
        return 1;
    case Connection:
        return AddConnection3 | CancelConnection;
    default:
        return 0;
    }
}

__declspec(dllexport) DWORD APIENTRY NPAddConnection3(HWND, NETRESOURCEW* resource, wchar_t* password, wchar_t* user,
                                                      DWORD flags)
{
    if (!resource || !Ours(resource->lpRemoteName))
        return BadNetName;
    Record("add local=" + Utf8(resource->lpLocalName) + " remote=" + Utf8(resource->lpRemoteName) + " user="
           + Utf8(user) + " password=" + Utf8(password) + " flags=" + std::to_string(flags));
    return Status();
}

__declspec(dllexport) DWORD APIENTRY NPCancelConnection(wchar_t* name, BOOL force)
{
    if (Variable(L"CORVANE_FAKE_NET_LOG").empty())
        return NotConnected;
    Record("cancel " + Utf8(name) + " force=" + std::to_string(force));
    return Status();
}
}
