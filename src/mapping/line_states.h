#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>

// What a group line's letter is, seen from the line.
enum class LineState { Attached, NotAnswering, NotAttached, Taken };

// The state of a line binding a letter to path, from what stands at the
// letter; connection is nothing when its probe did not answer in time.
// Network paths compare without regard to ASCII case, as Windows compares them.
LineState StateOfLine(std::string_view path, const std::optional<DriveConnection>& connection);

// What a screen reader says of the state, and the image's meaning.
const char* LineStateText(LineState state);
