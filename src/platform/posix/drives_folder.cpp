#include "drives_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::filesystem::path DrivesFolder()
{
    if (const char* chosen = std::getenv("CORVANE_DRIVES_DIR"); chosen && *chosen)
        return chosen;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        if (const auto* user = getpwuid(getuid()))
            home = user->pw_dir;
    }
    return std::filesystem::path(home ? home : "/") / "Drives";
}
