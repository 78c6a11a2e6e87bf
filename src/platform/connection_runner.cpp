#include "platform/network_connections.h"

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

class ConnectionRunner final : public CommandRunner {
public:
    explicit ConnectionRunner(std::unique_ptr<NetworkConnections> connections) : Connections(std::move(connections)) {}

    // net use E: /DELETE
    // net use E: <path> [<password> /USER:<user>] /PERSISTENT:YES|NO
    CommandResult Run(const std::vector<std::string>& arguments) override
    {
        const auto size = arguments.size();
        if (size < 4 || !EqualsIgnoringCase(arguments[1], "use"))
            return Outcome(InvalidParameter);
        const auto& local = arguments[2];
        if (size == 4 && EqualsIgnoringCase(arguments[3], "/DELETE"))
            return Outcome(Connections->Cancel(local, NetworkConnections::UpdateProfile, false));
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
        return Outcome(Connections->Add(local, arguments[3], user, password,
                                        remember ? NetworkConnections::UpdateProfile : 0));
    }

private:
    CommandResult Outcome(std::uint32_t code)
    {
        return {static_cast<int>(code), code == 0 ? std::string() : Connections->ErrorText(code)};
    }

    std::unique_ptr<NetworkConnections> Connections;
};

} // namespace

std::unique_ptr<CommandRunner> MakeConnectionRunner(std::unique_ptr<NetworkConnections> connections)
{
    return std::make_unique<ConnectionRunner>(std::move(connections));
}
