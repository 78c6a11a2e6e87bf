#pragma once

#include <filesystem>

// The user's home: HOME when it names an absolute folder, else the one the
// password database gives. An empty or relative HOME never makes the working
// folder stand in for it.
std::filesystem::path HomeFolder();

// ~/Drives, the drives folder when nothing else is chosen.
std::filesystem::path DefaultDrivesFolderPath();

// The folder that stands for the drive letters: CORVANE_DRIVES_DIR, else ~/Drives.
std::filesystem::path DrivesFolderPath();
