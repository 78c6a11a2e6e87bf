#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The bytes of a plain file owned by this user, opened relative to a folder
// held open (AT_FDCWD for the working folder). Nothing when the name is a
// link (never followed), a pipe or anything but a plain file, another user's,
// or larger than limit; a pipe planted there cannot stop the reader.
std::optional<std::string> ReadOwnPlainFile(int folder, const char* name, std::size_t limit);
