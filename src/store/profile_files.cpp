#include "profile_files.h"

namespace {

// Reads up to count lines, never past the end of the text.
std::vector<std::string> ReadLines(LineReader& lines, std::int64_t count)
{
    std::vector<std::string> read;
    for (std::int64_t i = 0; i < count && !lines.AtEnd(); ++i)
        read.emplace_back(lines.Next());
    return read;
}

} // namespace

ProfileConfiguration ParseConfiguration(std::string_view bytes, bool* damaged)
{
    const auto text = FromTextMode(bytes);
    LineReader lines(text);
    const auto first = lines.Next();
    const auto index = LeadingInteger(first);
    std::optional<std::int32_t> count;
    if (const auto hyphen = first.find('-', first.find_first_of("0123456789")); index && hyphen != std::string_view::npos)
        count = LeadingInteger(first.substr(hyphen + 1));

    ProfileConfiguration configuration;
    configuration.ProfileIndex = index.value_or(0);
    if (count) {
        configuration.Names = ReadLines(lines, std::int64_t{*count} - 1);
    } else {
        // No count to go by: every line that can be a name is one, the first
        // too when it holds no index.
        if (!index && !first.empty())
            configuration.Names.emplace_back(first);
        while (!lines.AtEnd()) {
            if (const auto name = lines.Next(); !name.empty())
                configuration.Names.emplace_back(name);
        }
    }
    if (damaged)
        *damaged = !count;

    if (configuration.ProfileIndex < 0
        || static_cast<std::size_t>(configuration.ProfileIndex) > configuration.Names.size())
        configuration.ProfileIndex = 0;
    return configuration;
}

std::string FormatConfiguration(const ProfileConfiguration& configuration)
{
    auto bytes = std::to_string(configuration.ProfileIndex) + "-" + std::to_string(configuration.Names.size() + 1);
    for (const auto& name : configuration.Names) {
        bytes += "\r\n";
        bytes += name;
    }
    return bytes;
}

std::vector<std::string> ParseProfile(std::string_view bytes)
{
    const auto text = FromTextMode(bytes);
    LineReader lines(text);
    return ReadLines(lines, LeadingInteger(lines.Next()).value_or(0));
}

std::string FormatProfile(const std::vector<std::string>& lines)
{
    auto bytes = std::to_string(lines.size());
    for (const auto& line : lines) {
        bytes += "\r\n";
        bytes += line;
    }
    return bytes;
}

bool IsSafeProfileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".."
        && name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}
