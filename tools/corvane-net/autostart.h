#pragma once

#include <filesystem>

// The desktop's autostart entry that runs "corvane-net restore" at login:
// $XDG_CONFIG_HOME/autostart (default ~/.config/autostart).
std::filesystem::path AutostartEntry();

// Installs the entry when wanted and it is not there as it should be, and
// removes it when not wanted. Its command is this very program.
bool KeepAutostart(bool wanted);
