#pragma once

#include <filesystem>
#include <string>

// The desktop's autostart entry that runs "corvane-net restore --watch" for a
// drives folder at login, in $XDG_CONFIG_HOME/autostart (default ~/.config/autostart):
// corvane-net-restore.desktop for ~/Drives, a name of its own for any other.
std::filesystem::path AutostartEntry(const std::filesystem::path& drives);

// Installs the entry when wanted, keeping keys the user set in it, and
// removes it when not. Its command is this very program. False, with the
// reason, when the entry cannot be written or the desktop would not run it.
bool KeepAutostart(const std::filesystem::path& drives, bool wanted, std::string& reason);
