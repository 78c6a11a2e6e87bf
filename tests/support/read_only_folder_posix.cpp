#include "support/read_only_folder.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace {

std::string Failed(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno) + " (needs the superuser and mount namespaces)";
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const std::filesystem::path& folder) : Folder(folder)
{
    static bool ownNamespace = false;
    if (!ownNamespace) {
        if (unshare(CLONE_NEWNS) != 0) {
            Why = Failed("unshare");
            return;
        }
        // Nothing mounted here may reach the rest of the system.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            Why = Failed("making / private");
            return;
        }
        ownNamespace = true;
    }
    if (mount(Folder.c_str(), Folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        Why = Failed("bind mount");
        return;
    }
    if (mount(nullptr, Folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        Why = Failed("read-only remount");
        umount2(Folder.c_str(), MNT_DETACH);
    }
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (Made())
        umount2(Folder.c_str(), MNT_DETACH);
}
