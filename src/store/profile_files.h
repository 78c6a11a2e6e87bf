#pragma once

#include "text_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view ConfigFileName = "Corvane2.cfg";
inline constexpr std::string_view DefaultProfileFileName = "Corvane2.pro";
inline constexpr std::string_view DefaultProfileName = "Default Network Mapping List";

// The configuration: the named profiles and which profile is current.
struct ProfileConfiguration {
    // 0 is the default profile, k the k-th name.
    std::int32_t ProfileIndex = 0;
    // The named profiles, in the order they were added; the default one is not among them.
    std::vector<std::string> Names;

    friend bool operator==(const ProfileConfiguration&, const ProfileConfiguration&) = default;
};

// Reads "index-count" and the names. A file that ends early keeps the names
// it holds, and an index that names no profile selects the default one. A
// first line without a count marks the file damaged (when damaged is given);
// then every line that can be a name is read as one.
ProfileConfiguration ParseConfiguration(std::string_view bytes, bool* damaged = nullptr);
std::string FormatConfiguration(const ProfileConfiguration& configuration);

// A profile file: the number of group lines, then the lines. A missing count
// counts 0, and a file that ends early keeps the lines it holds.
std::vector<std::string> ParseProfile(std::string_view bytes);
std::string FormatProfile(const std::vector<std::string>& lines);

// Whether a profile name can be a file name in the profile directory without
// reaching out of it.
bool IsSafeProfileName(std::string_view name);
