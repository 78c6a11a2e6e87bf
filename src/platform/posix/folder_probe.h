#pragma once

#include "base/ask_within.h"

#include <chrono>
#include <filesystem>

// Whether a folder can be listed within limit. The listing is done by a
// process of its own that nothing waits for: a folder of a stalled server
// holds that process in the system, never this one, which ends when its
// work is done and leaves its output to nobody. While a folder's last
// listing has not come back, no other is started for it; that one is
// waited for instead.
bool FolderAnswersWithin(const std::filesystem::path& folder, std::chrono::milliseconds limit);
