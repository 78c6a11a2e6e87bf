#pragma once

#include "platform/platform.h"

#include <filesystem>
#include <memory>

// The services of the system the program was built for.
std::unique_ptr<DriveInventory> MakeSystemDriveInventory();
// Runs the network command: on Windows the system's own calls for it (see
// MakeConnectionRunner), else the carrier that ships beside the program in
// exeDirectory, which is given "*" in the password's place and reads the
// password from its standard input.
std::unique_ptr<CommandRunner> MakeSystemCommandRunner(const std::filesystem::path& exeDirectory);
