#include "platform/network_connections.h"
#include "platform/system_services.h"

#include <windows.h>

#include <shellapi.h>

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
