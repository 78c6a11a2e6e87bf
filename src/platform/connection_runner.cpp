#include "platform/network_connections.h"

#include <algorithm>
#include <string_view>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

constexpr std::uint32_t InvalidParameter = 87;  // ERROR_INVALID_PARAMETER

// The server of \\server\share[\...]; empty for anything else.
std::string ServerOf(std::string_view remote)
{
    if (!remote.starts_with("\\\\"))
        return {};
    remote.remove_prefix(2);
    return std::string(remote.substr(0, remote.find('\\')));
}

class ConnectionRunner final : public CommandRunner {
public:
    ConnectionRunner(std::unique_ptr<NetworkConnections> connections, std::unique_ptr<CredentialStore> store)
        : Connections(std::move(connections)), Store(std::move(store))
    {
    }

    // net use E: /DELETE
    // net use E: <path> [<password> /USER:<user>] /PERSISTENT:YES|NO
    CommandResult Run(const std::vector<std::string>& arguments) override
    {
        const auto size = arguments.size();
        if (size < 4 || !EqualsIgnoringCase(arguments[1], "use"))
            return Outcome(InvalidParameter);
        const auto& local = arguments[2];
        if (size == 4 && EqualsIgnoringCase(arguments[3], "/DELETE"))
            return Detach(local);
        const auto& persistence = arguments.back();
        const bool remember = EqualsIgnoringCase(persistence, "/PERSISTENT:YES");
        if ((size != 5 && size != 7) || (!remember && !EqualsIgnoringCase(persistence, "/PERSISTENT:NO")))
            return Outcome(InvalidParameter);
        std::optional<std::string> user, password;
        if (size == 7) {
            if (arguments[5].size() < 6 || !EqualsIgnoringCase(std::string_view(arguments[5]).substr(0, 6), "/USER:"))
                return Outcome(InvalidParameter);
            // An empty password is one; only an empty user name means the user's own.
            password = arguments[4];
            if (arguments[5].size() > 6)
                user = arguments[5].substr(6);
        }
        const auto code = Connections->Add(local, arguments[3], user, password,
                                           remember ? NetworkConnections::UpdateProfile : 0);
        // Windows remembers the connection, not its password: without this its
        // reconnection at the next login would have to ask.
        if (code == 0 && remember && user && !ServerOf(arguments[3]).empty())
            Store->Keep(ServerOf(arguments[3]), *user, *password);
        return Outcome(code);
    }

private:
    CommandResult Detach(const std::string& local)
    {
        const auto remembered = [&](auto&& matches) {
            const auto connections = Connections->RememberedConnections();
            return std::any_of(connections.begin(), connections.end(), matches);
        };
        const auto remote = Connections->RemoteOf(local);
        const auto server = remote ? ServerOf(*remote) : std::string();
        const bool wasRemembered = remembered([&](const auto& connection) { return EqualsIgnoringCase(connection.first, local); });
        const auto code = Connections->Cancel(local, NetworkConnections::UpdateProfile, false);
        if (code == 0 && wasRemembered && !server.empty()
            && !remembered([&](const auto& connection) { return EqualsIgnoringCase(ServerOf(connection.second), server); }))
            Store->Forget(server);
        return Outcome(code);
    }

    CommandResult Outcome(std::uint32_t code)
    {
        return {static_cast<int>(code), code == 0 ? std::string() : Connections->ErrorText(code)};
    }

    std::unique_ptr<NetworkConnections> Connections;
    std::unique_ptr<CredentialStore> Store;
};

} // namespace

std::unique_ptr<CommandRunner> MakeConnectionRunner(std::unique_ptr<NetworkConnections> connections,
                                                    std::unique_ptr<CredentialStore> store)
{
    return std::make_unique<ConnectionRunner>(std::move(connections), std::move(store));
}
