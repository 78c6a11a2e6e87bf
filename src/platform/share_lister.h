#pragma once

#include "platform/secret.h"

class NetworkConnections;

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A login for a server's list of shares: DOMAIN\user or user, and its password.
struct ShareLogin {
    std::string User;
    Secret Password;
};

// What a server answered when asked for its disk shares.
struct ShareList {
    // 0 when it listed; else the system's error number, with its reason.
    int Status = 0;
    std::string Reason;
    // Refused to a guest: it may list them after a login.
    bool LoginNeeded = false;
    // The names, in the server's order: disk shares only, none hidden ($),
    // and only names the program's texts hold whole.
    std::vector<std::string> Names;
};

// How long a server is waited for: one that says nothing by then offers nothing.
inline constexpr std::chrono::seconds ShareListLimit{3};

// The longest share name offered; a longer one names no share a server makes.
inline constexpr std::size_t LongestShareName = 255;
// The most names a list holds: past this a server's answer is no list a user picks from.
inline constexpr std::size_t MostShares = 10000;

// The system's numbers for a list, as "net view" gives them.
namespace ShareStatus {
inline constexpr int Failed = 2;
inline constexpr int AccessDenied = 5;
inline constexpr int BadNetPath = 53;
inline constexpr int WrongPassword = 86;
} // namespace ShareStatus

// What a server that said nothing within the limit gave.
ShareList NoAnswerInTime();

// Whether a share name is one to offer: not hidden (ending in '$'), no
// control character or path separator, not longer than LongestShareName.
bool IsOfferedShareName(const std::string& name);

class ShareLister {
public:
    virtual ~ShareLister() = default;
    // Asks server (a host name or an address; see NamesHostText) for its
    // disk shares, as a guest or with login. It waits for the server, at most
    // ShareListLimit: ask off the window's thread.
    virtual ShareList List(const std::string& server, const std::optional<ShareLogin>& login) = 0;
};

// The call with which Windows lists a server's shares (NetShareEnum at level 1).
class ShareEnumeration {
public:
    // Share types as the system gives them.
    static constexpr std::uint32_t DiskTree = 0;            // STYPE_DISKTREE
    static constexpr std::uint32_t TypeMask = 0xFF;         // STYPE_MASK
    static constexpr std::uint32_t Special = 0x80000000u;   // STYPE_SPECIAL: C$, ADMIN$, IPC$

    struct Entry {
        // Nothing when the program's texts cannot hold the name whole.
        std::optional<std::string> Name;
        std::uint32_t Type = DiskTree;
    };

    virtual ~ShareEnumeration() = default;
    // The shares of server; the system error code (0 when listed).
    virtual std::uint32_t Enumerate(const std::string& server, std::vector<Entry>& entries) = 0;
    // The system's own text for code, in the user's language.
    virtual std::string ErrorText(std::uint32_t code) = 0;
};

// Lists through shares; a login is first made the connection to the server's
// IPC$ through connections, and let go afterwards.
std::unique_ptr<ShareLister> MakeEnumeratingShareLister(std::unique_ptr<ShareEnumeration> shares,
                                                        std::unique_ptr<NetworkConnections> connections);
