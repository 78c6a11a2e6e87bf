#include "drives_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::filesystem::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return home;
    if (const auto* user = getpwuid(geteuid()); user && user->pw_dir && *user->pw_dir == '/')
        return user->pw_dir;
    return "/";
}

std::filesystem::path DefaultDrivesFolderPath()
{
    return HomeFolder() / "Drives";
}

std::filesystem::path DrivesFolderPath()
{
    if (const char* chosen = std::getenv("CORVANE_DRIVES_DIR"); chosen && *chosen)
        return chosen;
    return DefaultDrivesFolderPath();
}
