#include "catalogue_file.h"

#include "atomic_file.h"

#include <algorithm>

namespace {

// The records of a catalogue's bytes, handed over in pieces of any size: a
// big file is parsed as it is read, never held whole. Text mode's CRs are
// taken out of each field as it is copied.
class CatalogueParser {
public:
    // lineEnds: how many LFs come before a Ctrl-Z, to reserve room for the
    // records without trusting the header's count.
    CatalogueParser(AvailablePathVector& list, std::int64_t lineEnds) : List(list), LineEnds(lineEnds) {}

    void Feed(std::string_view bytes)
    {
        if (Ended)
            return;
        const auto text = UpToCtrlZ(bytes);
        Ended = text.size() < bytes.size();
        bytes = text;
        while (!Stopped) {
            const auto lineFeed = bytes.find('\n');
            if (lineFeed == std::string_view::npos)
                break;
            if (Carry.empty()) {
                TakeLine(bytes.substr(0, lineFeed), false);
            } else {
                Carry.append(bytes.substr(0, lineFeed));
                TakeLine(Carry, false);
                Carry.clear();
            }
            bytes.remove_prefix(lineFeed + 1);
        }
        if (!Stopped)
            Carry.append(bytes);
    }

    CatalogueReadResult Finish()
    {
        // A text of n LFs holds n + 1 lines: what follows the last LF is one,
        // and a record whose path line is the last has an empty description.
        if (!Stopped)
            TakeLine(Carry, true);
        if (Next == Expected::Description)
            Push({});
        if (Next != Expected::Header && Records != Result.HeaderCount)
            Result.Damaged = true;
        Result.Status = FileReadStatus::Read;
        return Result;
    }

private:
    enum class Expected { Header, Path, Description };

    void TakeLine(std::string_view line, bool last)
    {
        switch (Next) {
        case Expected::Header:
            if (const auto count = LeadingInteger(TextModeLine(line))) {
                Result.HeaderCount = *count;
                // Room for the records the count promises, but never for
                // more than the text holds: a record takes two lines.
                List.reserve(List.size()
                             + static_cast<std::size_t>(std::clamp<std::int64_t>(*count, 0, LineEnds / 2 + 1)));
                Next = Expected::Path;
            } else {
                Result.Damaged = true;
                Stop();
            }
            break;
        case Expected::Path:
            if (const auto comma = line.find(','); comma != std::string_view::npos) {
                Pending.RequiresPW = LeadingInteger(TextModeLine(line.substr(0, comma))).value_or(0) != 0 ? 1 : 0;
                Pending.NetworkPath = TextModeLine(line.substr(comma + 1));
                Next = Expected::Description;
            } else {
                // A line end after the last record is no record, and no damage.
                if (!last || line.find_first_not_of('\r') != std::string_view::npos)
                    Result.Damaged = true;
                Stop();
            }
            break;
        case Expected::Description:
            Push(TextModeLine(line));
            break;
        }
    }

    void Push(std::string description)
    {
        Pending.Description = std::move(description);
        List.push_back(std::move(Pending));
        Pending = {};
        ++Records;
        Next = Expected::Path;
    }

    // The count is only a promise: every whole record before a line that is
    // no record is taken.
    void Stop()
    {
        Stopped = true;
        std::string().swap(Carry);
    }

    AvailablePathVector& List;
    std::int64_t LineEnds;
    CatalogueReadResult Result;
    Expected Next = Expected::Header;
    AvailablePathStructur Pending;
    std::int64_t Records = 0;
    std::string Carry;
    bool Ended = false;
    bool Stopped = false;
};

CatalogueReadResult NotRead(FileReadStatus status)
{
    CatalogueReadResult result;
    result.Status = status;
    return result;
}

std::int64_t LineEndsOf(std::string_view bytes)
{
    const auto text = UpToCtrlZ(bytes);
    return static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

CatalogueReadResult ParseCatalogue(std::string_view bytes, AvailablePathVector& list)
{
    CatalogueParser parser(list, LineEndsOf(bytes));
    parser.Feed(bytes);
    auto result = parser.Finish();
    if (result.Damaged)
        result.OriginalBytes = bytes;
    return result;
}

CatalogueReadResult ReadCatalogueFile(const std::filesystem::path& path, AvailablePathVector& list)
{
    // Once to count the lines, once to parse them: the file's blocks pass
    // through one small buffer, where holding megabytes of it would cost more.
    std::int64_t lineEnds = 0;
    bool ended = false;
    const auto counted = ReadFileBlocks(path, [&](std::string_view block) {
        if (ended)
            return;
        const auto text = UpToCtrlZ(block);
        ended = text.size() < block.size();
        lineEnds += std::count(text.begin(), text.end(), '\n');
    });
    if (counted != FileReadStatus::Read)
        return NotRead(counted);
    const auto before = list.size();
    CatalogueParser parser(list, lineEnds);
    auto result = ReadFileBlocks(path, [&](std::string_view block) { parser.Feed(block); }) == FileReadStatus::Read
                    ? parser.Finish()
                    : NotRead(FileReadStatus::Unreadable);
    if (!result.Damaged && result.Status == FileReadStatus::Read)
        return result;
    // A damaged file is kept as it was read, so it is read whole once more
    // and the records taken from those very bytes.
    list.resize(before);
    auto file = ReadFileBytes(path);
    if (file.Status != FileReadStatus::Read)
        return NotRead(file.Status);
    return ParseCatalogue(file.Bytes, list);
}

std::string FormatCatalogue(const AvailablePathVector& list)
{
    std::string bytes = std::to_string(list.size()) + " 2.0";
    for (const auto& record : list) {
        bytes += "\r\n";
        bytes += record.RequiresPW != 0 ? '1' : '0';
        bytes += ',';
        bytes += record.NetworkPath;
        bytes += "\r\n";
        bytes += record.Description;
    }
    return bytes;
}

bool WriteCatalogueFile(const std::filesystem::path& path, const AvailablePathVector& list)
{
    return SaveFileAtomically(path, FormatCatalogue(list));
}
