#include "unc_path.h"

#include <algorithm>

namespace {

bool IsAsciiAlphanumeric(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// RFC 3986: everything but the unreserved characters is escaped, so no
// text can be read as a user, a port, a query or another folder.
std::string PercentEncoded(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        if (IsAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 0xF];
        }
    }
    return encoded;
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
    for (auto part = parts.begin() + 1; part != parts.end(); ++part) {
        if (*part == "." || *part == ".." || part->find('/') != std::string::npos)
            return std::nullopt;
    }
    UncPath unc{parts[0], parts[1], {parts.begin() + 2, parts.end()}};
    return unc;
}

bool IsHostName(std::string_view server)
{
    if (server.empty() || server.front() == '.' || server.front() == '-')
        return false;
    return std::all_of(server.begin(), server.end(), [](char c) {
        return IsAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
    });
}

std::string ShareUri(const UncPath& path)
{
    return "smb://" + PercentEncoded(path.Server) + "/" + PercentEncoded(path.Share);
}

std::string ShareKey(const UncPath& path)
{
    std::string key = path.Server + '\\' + path.Share;
    std::transform(key.begin(), key.end(), key.begin(), AsciiLower);
    return key;
}
