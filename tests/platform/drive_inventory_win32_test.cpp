#include "platform/system_services.h"

#include <gtest/gtest.h>

TEST(Win32DriveInventory, ReadsTheRealDriveMask)
{
    auto drives = MakeSystemDriveInventory();
    const auto mask = drives->PresentDrives();
    EXPECT_TRUE(mask & (1u << ('C' - 'A'))) << "no C: drive";
    EXPECT_EQ(drives->DriveType('C'), 3) << "C: is not a fixed drive";
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(mask & (1u << (letter - 'A')))) {
            EXPECT_EQ(drives->DriveType(letter), 1) << letter << ": has no root directory";
            break;
        }
    }
}

TEST(Win32DriveInventory, ARootIsAskedWhetherItAnswersInAProcessOfItsOwn)
{
    auto drives = MakeSystemDriveInventory();
    const auto fixed = drives->ConnectionAt('C');
    EXPECT_TRUE(fixed.Present);
    EXPECT_TRUE(fixed.Answers) << "C:\\ did not answer";
    const auto mask = drives->PresentDrives();
    for (char letter = 'Z'; letter > 'C'; --letter) {
        if (mask & (1u << (letter - 'A')))
            continue;
        const auto none = drives->ConnectionAt(letter);
        EXPECT_FALSE(none.Present) << letter;
        EXPECT_FALSE(none.Answers) << letter;
        break;
    }
}
