#include "profile_group.h"

#include "platform/path_style.h"

namespace fs = std::filesystem;

StoredConfiguration ReadConfigurationFile(const fs::path& path)
{
    auto file = ReadFileBytes(path);
    StoredConfiguration stored;
    stored.Status = file.Status;
    if (file.Status != FileReadStatus::Read)
        return stored;
    stored.Configuration = ParseConfiguration(file.Bytes, &stored.Damaged);
    if (stored.Damaged)
        stored.Bytes = std::move(file.Bytes);
    return stored;
}

ProfileLocation LocateProfile(const fs::path& dataDirectory, const ProfileConfiguration& configuration,
                              std::int32_t index)
{
    if (index <= 0 || static_cast<std::size_t>(index) > configuration.Names.size())
        return {dataDirectory, std::string(DefaultProfileFileName)};
    return {dataDirectory / "Profile", configuration.Names[static_cast<std::size_t>(index) - 1] + ".pro"};
}

std::optional<std::vector<std::string>> ReadProfileGroup(const fs::path& folder, const std::string& fileName)
{
    if (!IsSafeProfileName(fileName))
        return std::nullopt;
    const auto file = ReadFileBytes(folder / TextPath(fileName));
    if (file.Status != FileReadStatus::Read)
        return std::nullopt;
    return ParseProfile(file.Bytes);
}
