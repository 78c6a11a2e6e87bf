#include "platform/posix/mount_table.h"
#include "platform/system_services.h"

#include "support/skip.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

TEST(PosixDriveInventory, ALetterIsPresentWhenTheDrivesFolderHasItsEntry)
{
    TempDir dir;
    setenv("CORVANE_DRIVES_DIR", dir.Path().c_str(), 1);
    auto drives = MakeSystemDriveInventory();
    EXPECT_EQ(drives->PresentDrives(), 0u);

    fs::create_directory(dir / "C");
    fs::create_directory_symlink(dir / "C", dir / "E");
    fs::create_directory_symlink(dir / "nowhere", dir / "Z");
    WriteBytes(dir / "c", "small letters are no drives");
    WriteBytes(dir / "AB", "nor are longer names");
    EXPECT_EQ(drives->PresentDrives(), (1u << 2) | (1u << 4) | (1u << 25));
    EXPECT_EQ(drives->DriveType('C'), 3);
    EXPECT_EQ(drives->DriveType('E'), 3) << "a link to a local folder is a fixed drive";
    EXPECT_EQ(drives->DriveType('D'), 0);
    unsetenv("CORVANE_DRIVES_DIR");
}

TEST(PosixDriveInventory, ALostNetworkLetterOfTheCarrierStaysARemoteDrive)
{
    TempDir dir;
    setenv("CORVANE_DRIVES_DIR", dir.Path().c_str(), 1);
    auto drives = MakeSystemDriveInventory();
    // As the carrier leaves it after a log-out: the share's folder is gone.
    fs::create_directory_symlink(dir / "gvfs" / "smb-share:server=srv,share=s", dir / "E");
    WriteBytes(dir / ".E.corvane", "persistent=YES\npath=\\\\srv\\s\ntarget=" + (dir / "gvfs").string() + "\n");
    fs::create_directory_symlink(dir / "nowhere", dir / "F");
    WriteBytes(dir / ".F.corvane", "persistent=NO\npath=/home/anna/docs\ntarget=/home/anna/docs\n");
    fs::create_directory_symlink(dir / "nowhere", dir / "G");
    ASSERT_EQ(mkfifo((dir / ".G.corvane").c_str(), 0600), 0);

    EXPECT_EQ(drives->PresentDrives(), (1u << 4) | (1u << 5) | (1u << 6));
    EXPECT_EQ(drives->DriveType('E'), 4);
    EXPECT_EQ(drives->DriveType('F'), 3) << "a local folder is no network drive";
    EXPECT_EQ(drives->DriveType('G'), 3) << "a pipe is no record, and is not waited on";
    unsetenv("CORVANE_DRIVES_DIR");
}

TEST(PosixDriveInventory, AnotherUsersRecordSaysNothing)
{
    if (geteuid() != 0)
        CORVANE_SKIP_OUTSIDE_CI("only root can give a file to another user");
    TempDir dir;
    setenv("CORVANE_DRIVES_DIR", dir.Path().c_str(), 1);
    fs::create_directory_symlink(dir / "nowhere", dir / "H");
    WriteBytes(dir / ".H.corvane", "persistent=YES\npath=\\\\evil\\s\ntarget=/x\n");
    EXPECT_EQ(MakeSystemDriveInventory()->DriveType('H'), 4);
    ASSERT_EQ(lchown((dir / ".H.corvane").c_str(), 65534, 65534), 0);
    EXPECT_EQ(MakeSystemDriveInventory()->DriveType('H'), 3);
    unsetenv("CORVANE_DRIVES_DIR");
}

TEST(MountTable, ThePathLiesOnTheLongestMountPointThatLeadsIt)
{
    const std::string table =
        "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
        "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "40 27 0:40 / /run/user/1000/gvfs rw,nosuid shared:9 master:2 - fuse.gvfsd-fuse gvfsd-fuse rw\n"
        "41 27 0:41 / /mnt/team\\040files rw - cifs //srv/team rw\n"
        "42 27 0:42 / /mnt/team rw - nfs4 srv:/team rw\n"
        "43 42 0:43 / /mnt/team rw - tmpfs tmpfs rw\n"
        "a line that is no mount\n";
    EXPECT_EQ(FileSystemTypeAt(table, "/run/user/1000/gvfs/smb-share:server=srv,share=s/deep"), "fuse.gvfsd-fuse");
    EXPECT_EQ(FileSystemTypeAt(table, "/run/user/1000/gvfsx"), "ext4");
    EXPECT_EQ(FileSystemTypeAt(table, "/mnt/team files/plan"), "cifs");
    EXPECT_EQ(FileSystemTypeAt(table, "/mnt/team/plan"), "tmpfs") << "the later mount on one point hides the earlier";
    EXPECT_EQ(FileSystemTypeAt(table, "/home/anna"), "ext4");
    EXPECT_EQ(FileSystemTypeAt("", "/home/anna"), "");
}
