#include "catalogue_file.h"

#include "atomic_file.h"

#include <algorithm>

CatalogueReadResult ParseCatalogue(std::string_view bytes, AvailablePathVector& list)
{
    CatalogueReadResult result;
    result.Status = FileReadStatus::Read;

    // A catalogue may be megabytes: its CRs go as each field is copied out,
    // never through a copy of the whole text.
    const auto text = UpToCtrlZ(bytes);
    LineReader lines(text);
    const auto count = LeadingInteger(TextModeLine(lines.Next()));
    if (!count) {
        result.Damaged = true;
        result.OriginalBytes = bytes;
        return result;
    }
    result.HeaderCount = *count;
    // Room for the records the count promises, but never for more than the
    // text holds: a record takes two lines.
    const auto lineEnds = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n'));
    list.reserve(list.size() + static_cast<std::size_t>(std::clamp<std::int64_t>(*count, 0, lineEnds / 2 + 1)));

    // The count is only a promise: every whole record the text holds is
    // taken, and a count that does not match them marks the file damaged.
    std::int64_t records = 0;
    while (!lines.AtEnd()) {
        const auto pathLine = lines.Next();
        const auto comma = pathLine.find(',');
        if (comma == std::string_view::npos) {
            // A line end after the last record is no record, and no damage.
            if (pathLine.find_first_not_of('\r') != std::string_view::npos || !lines.AtEnd())
                result.Damaged = true;
            break;
        }
        AvailablePathStructur record;
        record.RequiresPW = LeadingInteger(TextModeLine(pathLine.substr(0, comma))).value_or(0) != 0 ? 1 : 0;
        record.NetworkPath = TextModeLine(pathLine.substr(comma + 1));
        record.Description = TextModeLine(lines.Next());
        list.push_back(std::move(record));
        ++records;
    }
    if (records != result.HeaderCount)
        result.Damaged = true;
    if (result.Damaged)
        result.OriginalBytes = bytes;
    return result;
}

CatalogueReadResult ReadCatalogueFile(const std::filesystem::path& path, AvailablePathVector& list)
{
    auto file = ReadFileBytes(path);
    if (file.Status != FileReadStatus::Read) {
        CatalogueReadResult result;
        result.Status = file.Status;
        return result;
    }
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
