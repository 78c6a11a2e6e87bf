#include "platform/system_services.h"

#include "base/letter_record.h"

#include "drives_folder.h"
#include "folder_probe.h"
#include "mount_table.h"
#include "plain_file.h"

#include <gio/gio.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

namespace {

constexpr std::int32_t DriveFixed = 3;
constexpr std::int32_t DriveRemote = 4;

// The file system a link points into, found in the table of mounts by the
// link's text alone: a stalled server's folder is never looked into, so no
// start waits for it.
bool PointsIntoNetworkFileSystem(const std::filesystem::path& link)
{
    std::error_code error;
    auto target = std::filesystem::read_symlink(link, error);
    if (error)
        return false;
    if (target.is_relative())
        target = link.parent_path() / target;
    const auto mounts = ReadOwnPlainFile(AT_FDCWD, "/proc/self/mountinfo", 16 << 20);
    const auto type = mounts ? FileSystemTypeAt(*mounts, target.lexically_normal().string()) : std::string();
    // CIFS and SMB kernel mounts, NFS, and the FUSE file systems that carry GVfs and SSHFS mounts.
    return type == "cifs" || type == "smb3" || type == "smbfs" || type.starts_with("nfs") || type.starts_with("fuse.");
}

// A letter the carrier attached to a network path: its record says so even
// when the share has gone (after a log-out or a server restart) and the link
// dangles. Windows too keeps a lost network drive as a remote drive.
bool RecordedAsNetworkPath(const std::filesystem::path& drives, char letter)
{
    const auto record = drives / (std::string(".") + letter + ".corvane");
    const auto text = ReadOwnPlainFile(AT_FDCWD, record.c_str(), 4096);
    return text && (text->starts_with("path=\\\\") || text->find("\npath=\\\\") != std::string::npos);
}

// The path of the carrier's record of a letter whose link it made.
std::optional<std::string> RecordedPath(const std::filesystem::path& drives, char letter)
{
    const auto text = ReadOwnPlainFile(AT_FDCWD, (drives / LetterRecordName(letter)).c_str(), LargestLetterRecord);
    auto record = text ? ParseLetterRecord(*text) : std::nullopt;
    if (!record)
        return std::nullopt;
    return std::move(record->Path);
}

class PosixDriveInventory final : public DriveInventory {
public:
    // GIO's monitor speaks in the main context, which the window's event loop runs.
    std::shared_ptr<void> WatchNetwork(std::function<void()> changed) override
    {
        auto callback = std::make_shared<std::function<void()>>(std::move(changed));
        GNetworkMonitor* monitor = g_network_monitor_get_default();
        const gulong handler = g_signal_connect(
            monitor, "network-changed",
            G_CALLBACK(+[](GNetworkMonitor*, gboolean, gpointer data) { (*static_cast<std::function<void()>*>(data))(); }),
            callback.get());
        return std::shared_ptr<void>(nullptr, [monitor, handler, callback](void*) {
            g_signal_handler_disconnect(monitor, handler);
        });
    }

    DriveConnection ConnectionAt(char letter) override
    {
        const auto drives = DrivesFolderPath();
        const auto entry = drives / std::string(1, letter);
        struct stat link {};
        if (lstat(entry.c_str(), &link) != 0)
            return {};
        // Through the link: a stalled server holds only the listing's own process.
        return {true, S_ISLNK(link.st_mode) ? RecordedPath(drives, letter) : std::nullopt,
                FolderAnswersWithin(entry, AnswerTimeLimit)};
    }

    std::uint32_t PresentDrives() override
    {
        const auto folder = DrivesFolderPath();
        std::uint32_t mask = 0;
        for (int i = 0; i < 26; ++i) {
            struct stat entry {};
            if (lstat((folder / std::string(1, static_cast<char>('A' + i))).c_str(), &entry) == 0)
                mask |= 1U << i;
        }
        return mask;
    }

    std::int32_t DriveType(char letter) override
    {
        const auto drives = DrivesFolderPath();
        const auto entry = drives / std::string(1, letter);
        struct stat link {};
        if (lstat(entry.c_str(), &link) != 0)
            return 0;
        if (!S_ISLNK(link.st_mode))
            return DriveFixed;
        return PointsIntoNetworkFileSystem(entry) || RecordedAsNetworkPath(drives, letter) ? DriveRemote : DriveFixed;
    }
};

} // namespace

std::unique_ptr<DriveInventory> MakeSystemDriveInventory()
{
    return std::make_unique<PosixDriveInventory>();
}
