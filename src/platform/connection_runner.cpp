#include "platform/network_connections.h"

#include "base/ascii.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::uint32_t InvalidParameter = 87;          // ERROR_INVALID_PARAMETER
constexpr std::uint32_t DeviceAlreadyRemembered = 1202;  // ERROR_DEVICE_ALREADY_REMEMBERED

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
        if (size < 4 || !EqualsIgnoringAsciiCase(arguments[1], "use"))
            return Outcome(InvalidParameter);
        const auto& local = arguments[2];
        if (size == 4 && EqualsIgnoringAsciiCase(arguments[3], "/DELETE"))
            return Detach(local);
        const auto& persistence = arguments.back();
        const bool remember = EqualsIgnoringAsciiCase(persistence, "/PERSISTENT:YES");
        if ((size != 5 && size != 7) || (!remember && !EqualsIgnoringAsciiCase(persistence, "/PERSISTENT:NO")))
            return Outcome(InvalidParameter);
        std::optional<std::string> user, password;
        if (size == 7) {
            if (!StartsWithIgnoringAsciiCase(arguments[5], "/USER:"))
                return Outcome(InvalidParameter);
            // An empty password is one; only an empty user name means the user's own.
            password = arguments[4];
            if (arguments[5].size() > 6)
                user = arguments[5].substr(6);
        }
        const auto& remote = arguments[3];
        const auto flags = remember ? NetworkConnections::UpdateProfile : 0;
        auto code = Connections->Add(local, remote, user, password, flags);
        // A letter remembered for this very path whose server did not answer at
        // login: its remembered entry gives way to the connection asked for.
        if (const auto remembered = Connections->RemoteOf(local); code == DeviceAlreadyRemembered && remembered
            && EqualsIgnoringAsciiCase(*remembered, remote)
            && Connections->Cancel(local, NetworkConnections::UpdateProfile, false) == 0)
            code = Connections->Add(local, remote, user, password, flags);
        auto outcome = Outcome(code);
        // Windows remembers the connection, not its password: without this its
        // reconnection at the next login would have to ask.
        if (const auto server = ServerOf(remote); code == 0 && remember && user && !server.empty())
            outcome.Note = KeepFor(server, *user, *password);
        return outcome;
    }

private:
    // Why the password could not be kept for server; empty when it was.
    std::string KeepFor(const std::string& server, const std::string& user, const std::string& password)
    {
        const std::string notKept = "The password was not kept for the next login: ";
        if (Store->KeeperOf(server) == CredentialStore::Keeper::Someone)
            return notKept + "a password for " + server + " is kept already, and it stays as it is.";
        // A bare name is the account on that server, as the system reads it when it connects.
        const bool qualified = user.find_first_of("\\@") != std::string::npos;
        const auto code = Store->Keep(server, qualified ? user : server + "\\" + user, password);
        return code == 0 ? std::string() : notKept + Connections->ErrorText(code);
    }

    CommandResult Detach(const std::string& local)
    {
        const auto remembered = [&](auto&& matches) {
            const auto connections = Connections->RememberedConnections();
            return std::any_of(connections.begin(), connections.end(), matches);
        };
        const auto remote = Connections->RemoteOf(local);
        const auto server = remote ? ServerOf(*remote) : std::string();
        const bool wasRemembered = remembered([&](const auto& connection) { return EqualsIgnoringAsciiCase(connection.first, local); });
        const auto code = Connections->Cancel(local, NetworkConnections::UpdateProfile, false);
        if (code == 0 && wasRemembered && !server.empty()
            && !remembered([&](const auto& connection) { return EqualsIgnoringAsciiCase(ServerOf(connection.second), server); }))
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
