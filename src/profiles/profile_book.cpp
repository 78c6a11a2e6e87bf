#include "profile_book.h"

#include "platform/path_style.h"
#include "store/atomic_file.h"

namespace fs = std::filesystem;

namespace {

fs::path ConfigurationFile(const fs::path& data)
{
    return data / TextPath(std::string(ConfigFileName));
}

} // namespace

ProfileBook::ProfileBook(fs::path dataDirectory) : Data(std::move(dataDirectory)) {}

const StoredFile& ProfileBook::Read()
{
    Configuration = {};
    auto file = ReadFileBytes(ConfigurationFile(Data));
    AtStart = {file.Status, false, {}};
    if (file.Status != FileReadStatus::Read)
        return AtStart;
    Configuration = ParseConfiguration(file.Bytes, &AtStart.Damaged);
    if (AtStart.Damaged)
        AtStart.OriginalBytes = std::move(file.Bytes);
    return AtStart;
}

bool ProfileBook::Write()
{
    return AtStart.Write(ConfigurationFile(Data), FormatConfiguration(Configuration));
}

std::string ProfileBook::Name(std::int32_t index) const
{
    if (index <= 0 || index >= Count())
        return std::string(DefaultProfileName);
    return Configuration.Names[static_cast<std::size_t>(index) - 1];
}

bool ProfileBook::Has(const std::string& name) const
{
    for (std::int32_t index = 0; index < Count(); ++index) {
        if (SameFileName(Name(index), name))
            return true;
    }
    return false;
}

std::int32_t ProfileBook::Add(std::string name)
{
    Configuration.Names.push_back(std::move(name));
    return Count() - 1;
}

void ProfileBook::Remove(std::int32_t index)
{
    if (index <= 0 || index >= Count())
        return;
    // A name that is no file name has no file to delete, here or elsewhere.
    if (const auto file = File(index)) {
        std::error_code ignored;
        fs::remove(*file, ignored);
    }
    Configuration.Names.erase(Configuration.Names.begin() + (index - 1));
    Configuration.ProfileIndex = 0;
}

ProfileLocation ProfileBook::Locate(std::int32_t index) const
{
    if (index <= 0 || index >= Count())
        return {Data, std::string(DefaultProfileFileName)};
    return {ProfileFolder(), Name(index) + ".pro"};
}

std::string ProfileBook::FileText(std::int32_t index) const
{
    const auto location = Locate(index);
    return PathText(location.Folder / "") + location.FileName;
}

std::optional<fs::path> ProfileBook::File(std::int32_t index) const
{
    if (index > 0 && index < Count() && !IsSafeProfileName(Name(index)))
        return std::nullopt;
    const auto location = Locate(index);
    return location.Folder / TextPath(location.FileName);
}

std::optional<std::vector<std::string>> ProfileBook::ReadGroup(std::int32_t index) const
{
    const auto file = File(index);
    if (!file)
        return std::nullopt;
    const auto bytes = ReadFileBytes(*file);
    if (bytes.Status != FileReadStatus::Read)
        return std::nullopt;
    return ParseProfile(bytes.Bytes);
}

bool ProfileBook::SaveGroup(std::int32_t index, const std::vector<std::string>& lines) const
{
    const auto file = File(index);
    return file && SaveFileAtomically(*file, FormatProfile(lines));
}
