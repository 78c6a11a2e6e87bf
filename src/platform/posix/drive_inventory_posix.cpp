#include "platform/system_services.h"

#include "drives_folder.h"
#include "plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <array>
#include <string>

namespace {

constexpr std::int32_t DriveFixed = 3;
constexpr std::int32_t DriveRemote = 4;

bool IsNetworkFileSystem(const std::filesystem::path& place)
{
    struct statfs info {};
    if (statfs(place.c_str(), &info) != 0)
        return false;
    // CIFS, SMB2, SMB, NFS, and FUSE, which carries GVfs mounts.
    constexpr std::array<unsigned long, 5> Network{0xFF534D42UL, 0xFE534D42UL, 0x517BUL, 0x6969UL, 0x65735546UL};
    for (const auto type : Network) {
        if (static_cast<unsigned long>(info.f_type) == type)
            return true;
    }
    return false;
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

class PosixDriveInventory final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override
    {
        const auto folder = DrivesFolder();
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
        const auto drives = DrivesFolder();
        const auto entry = drives / std::string(1, letter);
        struct stat link {};
        if (lstat(entry.c_str(), &link) != 0)
            return 0;
        if (!S_ISLNK(link.st_mode))
            return DriveFixed;
        return IsNetworkFileSystem(entry) || RecordedAsNetworkPath(drives, letter) ? DriveRemote : DriveFixed;
    }
};

} // namespace

std::unique_ptr<DriveInventory> MakeSystemDriveInventory()
{
    return std::make_unique<PosixDriveInventory>();
}
