#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A Windows network path, \\server\share[\folder...], taken apart.
struct UncPath {
    std::string Server;
    std::string Share;
    std::vector<std::string> Folders;  // below the share, never "." or ".."
};

// Nothing when the text is no UNC path of a server and a share, or when a
// folder below the share would climb out of it.
std::optional<UncPath> ParseUnc(std::string_view path);

// Whether a server name can name a host: a host name, an IPv4 address or a
// name in another script. Anything else would be read as more than a host
// ("bob@srv" as a user and a host).
bool IsHostName(std::string_view server);

// The smb:// location of the share itself, every component percent-encoded,
// and the user (DOMAIN\\user or user) to log in as, if any, in it.
std::string ShareUri(const UncPath& path, std::string_view user = {});

// Two paths with the same key lie on the same share (server and share names
// compare without regard to ASCII case, as SMB compares them).
std::string ShareKey(const UncPath& path);
