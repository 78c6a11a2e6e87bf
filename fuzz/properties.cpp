#include "properties.h"

#include "mapping/group_line.h"
#include "mapping/net_use.h"
#include "store/catalogue_file.h"
#include "store/profile_files.h"

#include <vector>

std::string CheckCatalogueRoundTrip(std::string_view bytes)
{
    PathCatalogue first;
    ParseCatalogue(bytes, first);
    const auto written = FormatCatalogue(first);
    PathCatalogue second;
    const auto reread = ParseCatalogue(written, second);
    if (reread.Damaged)
        return "the written catalogue reads as damaged";
    if (reread.HeaderCount != static_cast<std::int64_t>(first.size()))
        return "the written count differs from the records";
    if (!(second == first.Entries()))
        return "the records changed through a write and a read";
    if (FormatCatalogue(second) != written)
        return "a second write differs from the first";
    return {};
}

std::string CheckConfigurationRoundTrip(std::string_view bytes)
{
    const auto first = ParseConfiguration(bytes);
    if (first.ProfileIndex < 0 || static_cast<std::size_t>(first.ProfileIndex) > first.Names.size())
        return "the index names no profile";
    if (ParseConfiguration(FormatConfiguration(first)) != first)
        return "the configuration changed through a write and a read";
    return {};
}

std::string CheckProfileRoundTrip(std::string_view bytes)
{
    const auto first = ParseProfile(bytes);
    if (ParseProfile(FormatProfile(first)) != first)
        return "the group changed through a write and a read";
    return {};
}

std::string CheckNetUseArguments(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const bool persistent = (bytes[0] & 1) != 0;
    const bool withCredentials = (bytes[0] & 2) != 0;
    bytes.remove_prefix(1);
    // Fields are separated by NUL bytes, which no text of the program holds.
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const auto end = bytes.find('\0', start);
        fields.emplace_back(bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    fields.resize(3);
    const auto& line = fields[0];
    std::optional<Credentials> credentials;
    if (withCredentials)
        credentials = Credentials{fields[1], fields[2]};

    const auto arguments = AttachArguments(line, credentials, persistent);
    if (arguments.size() != (withCredentials ? 7u : 5u))
        return "wrong number of arguments";
    if (arguments[0] != "net" || arguments[1] != "use" || arguments[2] != std::string{GroupLineLetter(line), ':'}
        || arguments[3] != GroupLinePath(line))
        return "the drive or the path is not the group line's";
    if (arguments.back() != (persistent ? "/PERSISTENT:YES" : "/PERSISTENT:NO"))
        return "wrong persistence";
    if (line.size() >= 3 && line[1] == ':' && line[2] == ' ') {
        auto expected = "net use " + line;
        if (credentials)
            expected += " " + credentials->Password.Text() + " /USER:" + credentials->UserName;
        expected += persistent ? " /PERSISTENT:YES" : " /PERSISTENT:NO";
        if (JoinArguments(arguments) != expected)
            return "the joined arguments differ from the command line";
    }
    const auto detach = DetachArguments(GroupLineLetter(line));
    if (JoinArguments(detach) != std::string("net use ") + GroupLineLetter(line) + ": /DELETE")
        return "wrong detach line";
    return {};
}
