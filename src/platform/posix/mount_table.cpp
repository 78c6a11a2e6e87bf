#include "mount_table.h"

#include <vector>

namespace {

// Blanks, tabs, line ends and backslashes stand as \ooo in the table.
std::string Unescaped(std::string_view field)
{
    std::string text;
    for (std::size_t at = 0; at < field.size(); ++at) {
        const auto octal = [&](std::size_t i) { return field[i] >= '0' && field[i] <= '7'; };
        if (field[at] == '\\' && at + 3 < field.size() && octal(at + 1) && octal(at + 2) && octal(at + 3)) {
            text += static_cast<char>((field[at + 1] - '0') * 64 + (field[at + 2] - '0') * 8 + (field[at + 3] - '0'));
            at += 3;
        } else {
            text += field[at];
        }
    }
    return text;
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const auto start = line.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        line.remove_prefix(start);
        const auto end = std::min(line.find(' '), line.size());
        fields.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
    return fields;
}

bool Holds(std::string_view mountPoint, std::string_view path)
{
    if (mountPoint == "/")
        return path.starts_with('/');
    return path.starts_with(mountPoint) && (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

} // namespace

std::string FileSystemTypeAt(std::string_view mountinfo, std::string_view path)
{
    std::string type;
    std::size_t longest = 0;
    while (!mountinfo.empty()) {
        const auto end = std::min(mountinfo.find('\n'), mountinfo.size());
        const auto fields = Fields(mountinfo.substr(0, end));
        mountinfo.remove_prefix(std::min(end + 1, mountinfo.size()));
        // id parent major:minor root mount-point options [optional...] - type source options
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-")
            ++separator;
        if (fields.size() < 5 || separator + 1 >= fields.size())
            continue;
        const auto mountPoint = Unescaped(fields[4]);
        // The later of two mounts on one point hides the earlier.
        if (Holds(mountPoint, path) && mountPoint.size() >= longest) {
            longest = mountPoint.size();
            type = std::string(fields[separator + 1]);
        }
    }
    return type;
}
