#pragma once

#include <filesystem>

// The folder that stands for the drive letters: CORVANE_DRIVES_DIR, else ~/Drives.
std::filesystem::path DrivesFolder();
