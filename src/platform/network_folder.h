#pragma once

#include <optional>
#include <string>

// The network path (\\server\share\rest) of a folder that lies in a share the
// desktop has mounted, as the share's own location names it: on Linux a
// GVfs folder under /run/user/<uid>/gvfs/ works in no other login and on no
// Windows machine. Nothing for any other folder, and where the system's own
// folders give network paths already.
std::optional<std::string> NetworkPathOfFolder(const std::string& folder);
