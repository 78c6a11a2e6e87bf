#pragma once

#include <string>
#include <string_view>

// The system's rules for its 8-bit text (the user's locale; the ANSI code page
// on Windows): case and order of names as the system's own file dialogs have
// them. A byte sequence the system cannot read keeps its bytes.

std::string UpperCaseText(std::string_view text);
std::string LowerCaseText(std::string_view text);

// Bytes whose order is the system's order of texts ignoring case: comparing
// two keys byte for byte compares their texts. Texts that only the case sets
// apart have equal keys.
std::string SortKeyIgnoringCase(std::string_view text);

// Less than, equal to or greater than 0 as left sorts before, with or after
// right, ignoring case.
inline int CompareTextIgnoringCase(std::string_view left, std::string_view right)
{
    return SortKeyIgnoringCase(left).compare(SortKeyIgnoringCase(right));
}
