#pragma once

#include "store/profile_files.h"
#include "store/stored_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Where a profile's group lies: the default profile (index 0) beside the
// other files, a named one in their Profile folder.
struct ProfileLocation {
    std::filesystem::path Folder;
    std::string FileName;
};

// The profiles of one data folder, as both programs know them: their names,
// which one is current, and each one's group file.
class ProfileBook {
public:
    explicit ProfileBook(std::filesystem::path dataDirectory);

    // Reads the configuration; a missing or unreadable file, or an index
    // that names no profile, leaves the default profile current. How the
    // file was found decides how Write treats it.
    const StoredFile& Read();
    // Writes the configuration; false when it was not written.
    bool Write();

    const std::filesystem::path& DataDirectory() const { return Data; }
    std::filesystem::path ProfileFolder() const { return Data / "Profile"; }

    // The profiles, the default one included.
    std::int32_t Count() const { return static_cast<std::int32_t>(Configuration.Names.size()) + 1; }
    std::int32_t Current() const { return Configuration.ProfileIndex; }
    void SetCurrent(std::int32_t index) { Configuration.ProfileIndex = index; }
    std::string Name(std::int32_t index) const;
    // Whether name would share its file with a profile there is.
    bool Has(const std::string& name) const;
    // The new profile's index.
    std::int32_t Add(std::string name);
    // Takes a named profile out with its file; the default one becomes current.
    void Remove(std::int32_t index);

    ProfileLocation Locate(std::int32_t index) const;
    // The profile's file as the user reads it.
    std::string FileText(std::int32_t index) const;
    // The group lines; nothing when the file is missing or unreadable, or
    // when the profile's name would reach out of its folder.
    std::optional<std::vector<std::string>> ReadGroup(std::int32_t index) const;
    bool SaveGroup(std::int32_t index, const std::vector<std::string>& lines) const;

private:
    std::optional<std::filesystem::path> File(std::int32_t index) const;

    std::filesystem::path Data;
    ProfileConfiguration Configuration;
    StoredFile AtStart;
};
