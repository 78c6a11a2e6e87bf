#include "base/letter_record.h"


namespace {

bool HoldsLineBreak(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

std::string LetterRecordName(char letter)
{
    return std::string(".") + letter + ".corvane";
}

std::optional<std::string> LetterRecordText(const LetterRecord& record)
{
    if (HoldsLineBreak(record.Path) || HoldsLineBreak(record.Target) || (record.User && HoldsLineBreak(*record.User)))
        return std::nullopt;
    std::string bytes = "persistent=" + std::string(record.Persistent ? "YES" : "NO") + "\npath=" + record.Path + "\n";
    if (record.User)
        bytes += "user=" + *record.User + "\n";
    bytes += "target=" + record.Target + "\n";
    if (record.Mounted)
        bytes += "mounted=YES\n";
    return bytes;
}

std::optional<LetterRecord> ParseLetterRecord(std::string_view text)
{
    LetterRecord record;
    bool havePath = false;
    bool haveTarget = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;  // cut short
        const auto line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const auto key = line.substr(0, equals);
        auto value = std::string(line.substr(equals + 1));
        if (key == "persistent") {
            record.Persistent = value == "YES";
        } else if (key == "path") {
            record.Path = std::move(value);
            havePath = true;
        } else if (key == "user") {
            record.User = std::move(value);
        } else if (key == "target") {
            record.Target = std::move(value);
            haveTarget = true;
        } else if (key == "mounted") {
            record.Mounted = value == "YES";
        }
    }
    if (!havePath || !haveTarget)
        return std::nullopt;
    return record;
}
