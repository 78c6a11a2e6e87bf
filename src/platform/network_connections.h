#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The calls with which the system itself attaches and detaches a network
// drive (Windows' WNetAddConnection2W and WNetCancelConnection2W). Texts are
// the program's 8-bit texts; the system's side converts them.
class NetworkConnections {
public:
    static constexpr std::uint32_t UpdateProfile = 0x1;  // CONNECT_UPDATE_PROFILE: remembered for the next login

    virtual ~NetworkConnections() = default;
    // Attaches remote at local ("E:"). No user or no password: the system's
    // default for it. Returns the system error code (0 when done).
    virtual std::uint32_t Add(const std::string& local, const std::string& remote, const std::optional<std::string>& user,
                              const std::optional<std::string>& password, std::uint32_t flags) = 0;
    // Detaches local; force also when files are open there. The error code.
    virtual std::uint32_t Cancel(const std::string& local, std::uint32_t flags, bool force) = 0;
    // The system's own text for the outcome of the last call that returned
    // code, in the user's language (a provider's text for its own errors).
    virtual std::string ErrorText(std::uint32_t code) = 0;
    // The remote name attached at local, or remembered there for a server
    // that has not answered since; nothing when neither.
    virtual std::optional<std::string> RemoteOf(const std::string& local) = 0;
    // The connections remembered for the next login: local and remote names.
    virtual std::vector<std::pair<std::string, std::string>> RememberedConnections() = 0;
};

// The system's store of credentials that its own reconnection at login uses
// (Windows' Credential Manager). What this program keeps there carries its
// mark; a credential of anyone else's is never written over or removed.
class CredentialStore {
public:
    enum class Keeper { Nobody, Us, Someone };

    virtual ~CredentialStore() = default;
    // Who keeps the domain password for server.
    virtual Keeper KeeperOf(const std::string& server) = 0;
    // Keeps user and password, with the mark, as the domain password for
    // server, as "Remember my credentials" does. The system's error code.
    virtual std::uint32_t Keep(const std::string& server, const std::string& user, const std::string& password) = 0;
    // Forgets server's domain password when it carries the mark.
    virtual void Forget(const std::string& server) = 0;
};

std::unique_ptr<NetworkConnections> MakeSystemNetworkConnections();
std::unique_ptr<CredentialStore> MakeSystemCredentialStore();

// Carries out the argument lists of "net use" through connections instead
// of starting a program: the status is the call's error code and the output
// the system's text for it; a password never stands on any command line.
// A connection remembered for the next login keeps its credentials in store,
// unless someone else keeps some for its server, until the detach of the last
// remembered connection to its server. What could not be kept is the note.
std::unique_ptr<CommandRunner> MakeConnectionRunner(std::unique_ptr<NetworkConnections> connections,
                                                    std::unique_ptr<CredentialStore> store);
