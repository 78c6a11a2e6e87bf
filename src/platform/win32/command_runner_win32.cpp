#include "platform/network_connections.h"
#include "platform/system_services.h"

std::unique_ptr<CommandRunner> MakeSystemCommandRunner(const std::filesystem::path&)
{
    // The calls net.exe makes, made here: no program is started, and the
    // password stands on no command line.
    return MakeConnectionRunner(MakeSystemNetworkConnections(), MakeSystemCredentialStore());
}
