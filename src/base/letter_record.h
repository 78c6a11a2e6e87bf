#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// What the carrier remembers of a letter it made, in ".X.corvane" beside the
// letter's link in the drives folder: one "key=value" a line. Never a password.
struct LetterRecord {
    bool Persistent = false;
    std::string Path;                 // as the attach was given it
    std::optional<std::string> User;  // as given, domain included
    std::string Target;               // what the link points at
    bool Mounted = false;             // the carrier mounted the share the link lies on
};

// A record is a few short lines; anything longer was not written by the carrier.
inline constexpr std::size_t LargestLetterRecord = 64 * 1024;

// The record's file name for letter: ".X.corvane".
std::string LetterRecordName(char letter);

// The record in its bytes; nothing when a value holds a line end (which
// would make another line of it) or a NUL.
std::optional<std::string> LetterRecordText(const LetterRecord& record);

// The record its bytes hold; nothing when a line is cut short or has no "=",
// or when the path or the target is missing. Keys it does not know are passed over.
std::optional<LetterRecord> ParseLetterRecord(std::string_view text);
