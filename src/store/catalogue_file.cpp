#include "catalogue_file.h"

#include "atomic_file.h"

#include <algorithm>

namespace {

// The records of a catalogue's bytes, handed over in pieces of any size: a
// big file is parsed as it is read, never held whole, and each field's bytes
// go straight into the catalogue's buffer, text mode's CRs left out.
class CatalogueParser {
public:
    // textBytes: at least as many bytes as come before a Ctrl-Z, to take room
    // for the entries without trusting the header's count.
    CatalogueParser(PathCatalogue& catalogue, std::size_t textBytes) : Catalogue(catalogue), TextBytes(textBytes) {}

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
                // more than the text can hold: a record takes at least a
                // flag, a comma and two line ends.
                Catalogue.Reserve(TextBytes, static_cast<std::size_t>(std::clamp<std::int64_t>(
                                                 *count, 0, static_cast<std::int64_t>(TextBytes / 4))));
                Next = Expected::Path;
            } else {
                Result.Damaged = true;
                Stop();
            }
            break;
        case Expected::Path:
            if (const auto comma = line.find(','); comma != std::string_view::npos) {
                const auto flag = line.substr(0, comma);
                // Copied without its CRs only where it has any: mostly it is one digit.
                const auto number = flag.find('\r') == std::string_view::npos ? LeadingInteger(flag)
                                                                              : LeadingInteger(TextModeLine(flag));
                Catalogue.BeginEntry(number.value_or(0) != 0 ? 1 : 0);
                if (!Catalogue.AppendText(line.substr(comma + 1)))
                    return Refuse();
                Catalogue.EndPath();
                Next = Expected::Description;
            } else {
                // A line end after the last record is no record, and no damage.
                if (!last || line.find_first_not_of('\r') != std::string_view::npos)
                    Result.Damaged = true;
                Stop();
            }
            break;
        case Expected::Description:
            Push(line);
            break;
        }
    }

    void Push(std::string_view description)
    {
        if (!Catalogue.AppendText(description))
            return Refuse();
        Catalogue.EndEntry();
        ++Records;
        Next = Expected::Path;
    }

    // A field too long to hold: damage, and the records before it kept.
    void Refuse()
    {
        Result.Damaged = true;
        Next = Expected::Path;
        Stop();
    }

    // The count is only a promise: every whole record before a line that is
    // no record is taken.
    void Stop()
    {
        Stopped = true;
        std::string().swap(Carry);
    }

    PathCatalogue& Catalogue;
    std::size_t TextBytes;
    CatalogueReadResult Result;
    Expected Next = Expected::Header;
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

} // namespace

CatalogueReadResult ParseCatalogue(std::string_view bytes, PathCatalogue& catalogue)
{
    CatalogueParser parser(catalogue, UpToCtrlZ(bytes).size());
    parser.Feed(bytes);
    auto result = parser.Finish();
    if (result.Damaged)
        result.OriginalBytes = bytes;
    return result;
}

CatalogueReadResult ReadCatalogueFile(const std::filesystem::path& path, PathCatalogue& catalogue)
{
    // The file's blocks pass through one small buffer into the catalogue's,
    // which takes the file's size at once, where growing step by step would
    // copy it again and again.
    std::error_code unknown;
    const auto size = std::filesystem::file_size(path, unknown);
    const auto before = catalogue.size();
    CatalogueParser parser(catalogue, unknown ? 0 : static_cast<std::size_t>(size));
    const auto status = ReadFileBlocks(path, [&](std::string_view block) { parser.Feed(block); });
    if (status != FileReadStatus::Read) {
        // A file that failed half way holds nothing of it, not the half read.
        catalogue.Truncate(before);
        return NotRead(status);
    }
    auto result = parser.Finish();
    if (!result.Damaged)
        return result;
    // A damaged file is kept as it was read, so it is read whole once more
    // and the records taken from those very bytes.
    catalogue.Truncate(before);
    auto file = ReadFileBytes(path);
    if (file.Status != FileReadStatus::Read)
        return NotRead(file.Status);
    return ParseCatalogue(file.Bytes, catalogue);
}

std::string FormatCatalogue(const PathCatalogue& catalogue)
{
    std::string bytes = std::to_string(catalogue.size()) + " 2.0";
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const auto entry = catalogue[i];
        bytes += "\r\n";
        bytes += entry.RequiresPW != 0 ? '1' : '0';
        bytes += ',';
        bytes += entry.NetworkPath;
        bytes += "\r\n";
        bytes += entry.Description;
    }
    return bytes;
}

bool WriteCatalogueFile(const std::filesystem::path& path, const PathCatalogue& catalogue)
{
    return SaveFileAtomically(path, FormatCatalogue(catalogue));
}
