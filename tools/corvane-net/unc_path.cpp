#include "unc_path.h"

#include <glib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// RFC 3986: everything but the unreserved characters is escaped, so no
// text can be read as a user, a port, a query or another folder.
std::string PercentEncoded(std::string_view text)
{
    const std::string copy(text);
    const std::unique_ptr<char, decltype(&g_free)> encoded(g_uri_escape_string(copy.c_str(), nullptr, FALSE), g_free);
    return encoded.get();
}

} // namespace

std::optional<UncPath> ParseUnc(std::string_view path)
{
    if (!path.starts_with("\\\\"))
        return std::nullopt;
    path.remove_prefix(2);
    std::vector<std::string> parts;
    while (!path.empty()) {
        const auto end = std::min(path.find('\\'), path.size());
        if (end > 0)  // doubled or trailing backslashes name nothing
            parts.emplace_back(path.substr(0, end));
        else if (parts.empty())
            return std::nullopt;  // "\\\share": no server
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    if (parts.size() < 2)
        return std::nullopt;
    // Windows names are Unicode: bytes that are no UTF-8 name no share (the server is IsHostName's).
    for (auto part = parts.begin() + 1; part != parts.end(); ++part) {
        if (part->find('\0') != std::string::npos || !g_utf8_validate(part->data(), static_cast<gssize>(part->size()), nullptr))
            return std::nullopt;
    }
    for (auto part = parts.begin() + 1; part != parts.end(); ++part) {
        if (*part == "." || *part == ".." || part->find('/') != std::string::npos)
            return std::nullopt;
    }
    UncPath unc{parts[0], parts[1], {parts.begin() + 2, parts.end()}};
    return unc;
}

bool IsHostName(std::string_view server)
{
    // Names in other scripts go as IDNA; text that is not UTF-8 names no host.
    const std::string name(server);
    if (name.empty() || name.find('\0') != std::string::npos || !g_utf8_validate(name.data(), -1, nullptr))
        return false;
    const std::unique_ptr<char, decltype(&g_free)> ascii(g_hostname_to_ascii(name.c_str()), g_free);
    if (!ascii || *ascii.get() == '.' || *ascii.get() == '-')
        return false;
    return std::all_of(ascii.get(), ascii.get() + std::strlen(ascii.get()), [](char c) {
        return g_ascii_isalnum(c) || c == '-' || c == '.' || c == '_';
    });
}

std::string ShareUri(const UncPath& path, std::string_view user)
{
    std::string login;
    if (!user.empty()) {
        const auto slash = user.find('\\');
        login = slash == std::string_view::npos
                  ? PercentEncoded(user)
                  : PercentEncoded(user.substr(0, slash)) + ";" + PercentEncoded(user.substr(slash + 1));
        login += '@';
    }
    return "smb://" + login + PercentEncoded(path.Server) + "/" + PercentEncoded(path.Share);
}

std::string ShareKey(const UncPath& path)
{
    std::string key = path.Server + '\\' + path.Share;
    std::transform(key.begin(), key.end(), key.begin(), [](char c) { return g_ascii_tolower(c); });
    return key;
}
