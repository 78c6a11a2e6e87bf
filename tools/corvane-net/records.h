#pragma once

#include <filesystem>
#include <optional>
#include <string>

// What the carrier remembers of a letter it made, in ".X.corvane" beside the
// letter's link. Never a password.
struct LetterRecord {
    bool Persistent = false;
    std::string Path;                 // as the attach was given it
    std::optional<std::string> User;  // as given, domain included
    std::string Target;               // what the link points at
    bool Mounted = false;             // the carrier mounted the share the link lies on
};

std::filesystem::path LinkOf(const std::filesystem::path& drives, char letter);

// Nothing when there is no record, when a link or anything but a plain file
// stands in its place, or when it does not read as a record.
std::optional<LetterRecord> ReadRecord(const std::filesystem::path& drives, char letter);

// Replaces the record as a whole; a link in its place is replaced, never followed.
bool WriteRecord(const std::filesystem::path& drives, char letter, const LetterRecord& record);

void RemoveRecord(const std::filesystem::path& drives, char letter);

// Writes a file beside its final place and renames it there: the place holds
// the old or the new bytes, and a link standing there is replaced, not followed.
bool ReplaceFile(const std::filesystem::path& file, const std::string& bytes);
