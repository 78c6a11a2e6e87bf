#pragma once

#include "platform/platform.h"
#include "platform/share_lister.h"

#include <filesystem>
#include <memory>

// The services of the system the program was built for.
std::unique_ptr<DriveInventory> MakeSystemDriveInventory();
// Runs the network command: on Windows the system's own calls for it (see
// MakeConnectionRunner), else the carrier that ships beside the program in
// exeDirectory, which is given "*" in the password's place and reads the
// password from its standard input.
std::unique_ptr<CommandRunner> MakeSystemCommandRunner(const std::filesystem::path& exeDirectory);
// Lists a server's disk shares: through GVfs, or the system's share calls on Windows.
std::unique_ptr<ShareLister> MakeSystemShareLister();
