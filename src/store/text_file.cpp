#include "text_file.h"

#include "base/ascii.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <system_error>

namespace {

constexpr char CtrlZ = 26;

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// No stored file comes near this; a file beyond it is no file of ours.
constexpr std::uint64_t LargestStoredFile = std::uint64_t{256} << 20;

} // namespace

FileBytes ReadFileBytes(const std::filesystem::path& path)
{
    FileBytes file;
    // Room for the file as it is now; whatever it grows by meanwhile is read too.
    std::error_code error;
    if (const auto size = std::filesystem::file_size(path, error); !error && size <= LargestStoredFile)
        file.Bytes.reserve(static_cast<std::size_t>(size));
    file.Status = ReadFileBlocks(path, [&](std::string_view block) { file.Bytes.append(block); });
    if (file.Status != FileReadStatus::Read)
        file.Bytes = {};
    return file;
}

FileReadStatus ReadFileBlocks(const std::filesystem::path& path, const std::function<void(std::string_view)>& take)
{
    return ReadPlainFileBlocks(path, LargestStoredFile, take);
}

std::string_view UpToCtrlZ(std::string_view bytes)
{
    return bytes.substr(0, bytes.find(CtrlZ));
}

std::string TextModeLine(std::string_view line)
{
    const auto first = line.find('\r');
    if (first == std::string_view::npos)
        return std::string(line);
    if (first + 1 == line.size())
        return std::string(line.substr(0, first));
    std::string text;
    text.reserve(line.size());
    std::copy_if(line.begin(), line.end(), std::back_inserter(text), [](char c) { return c != '\r'; });
    return text;
}

std::string FromTextMode(std::string_view bytes)
{
    bytes = UpToCtrlZ(bytes);
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const auto carriageReturn = bytes.find('\r');
        text.append(bytes.substr(0, carriageReturn));
        if (carriageReturn == std::string_view::npos)
            break;
        bytes.remove_prefix(carriageReturn + 1);
    }
    return text;
}

std::string_view LineReader::Next()
{
    if (AtEnd())
        return {};
    const auto end = Text.find('\n', Position);
    const auto stop = end == std::string_view::npos ? Text.size() : end;
    const auto line = Text.substr(Position, stop - Position);
    Position = stop + 1;
    return line;
}

std::optional<std::int32_t> LeadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // A second sign, which from_chars would take, makes no number.
    if (i == text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;

    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    if (std::from_chars(text.data() + i, text.data() + text.size(), value).ec != std::errc() || value > Limit)
        value = Limit;
    return static_cast<std::int32_t>(negative ? -value : std::min(value, Limit - 1));
}

bool AsciiCaseLess(std::string_view left, std::string_view right)
{
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return static_cast<unsigned char>(AsciiUpper(a)) < static_cast<unsigned char>(AsciiUpper(b));
    });
}
