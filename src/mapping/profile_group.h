#pragma once

#include "store/profile_files.h"
#include "store/text_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The configuration file as it was read.
struct StoredConfiguration {
    FileReadStatus Status = FileReadStatus::Missing;
    bool Damaged = false;  // its first line holds no count
    std::string Bytes;     // a damaged file as it was read, to be kept aside
    ProfileConfiguration Configuration;
};

// Reads the configuration at path; a missing or unreadable file gives the
// default profile alone.
StoredConfiguration ReadConfigurationFile(const std::filesystem::path& path);

// Where a profile's group lies: the default profile (index 0) beside the
// other files, a named one in their Profile folder.
struct ProfileLocation {
    std::filesystem::path Folder;
    std::string FileName;
};
ProfileLocation LocateProfile(const std::filesystem::path& dataDirectory, const ProfileConfiguration& configuration,
                              std::int32_t index);

// The group lines of the profile file fileName in folder; nothing when the
// file is missing or unreadable, or when its name would reach out of folder.
std::optional<std::vector<std::string>> ReadProfileGroup(const std::filesystem::path& folder,
                                                         const std::string& fileName);
