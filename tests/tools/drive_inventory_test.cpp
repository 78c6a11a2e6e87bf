#include "platform/system_services.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

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
