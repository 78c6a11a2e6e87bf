#include "mapping/drive_table.h"
#include "mapping/group_line.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ScriptedDrives final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override { return Mask; }
    std::int32_t DriveType(char letter) override
    {
        Asked.push_back(letter);
        return letter == 'C' ? 3 : 4;
    }
    DriveConnection ConnectionAt(char) override { return {}; }
    std::shared_ptr<void> WatchNetwork(std::function<void()>) override { return {}; }

    std::uint32_t Mask = 0;
    std::string Asked;
};

constexpr std::uint32_t Bit(char letter)
{
    return 1U << (letter - 'A');
}

} // namespace

TEST(DriveTable, BuildTakesEveryLetterFromTheInventory)
{
    ScriptedDrives drives;
    drives.Mask = Bit('C') | Bit('D');
    const auto table = BuildDriveTable(drives);
    ASSERT_EQ(table.size(), 26u);
    for (int i = 0; i < 26; ++i) {
        const char letter = static_cast<char>('A' + i);
        SCOPED_TRACE(letter);
        const bool present = letter == 'C' || letter == 'D';
        EXPECT_EQ(table[i].DriveName, (std::string{letter, ':'}));
        EXPECT_EQ(table[i].DriveLetter, letter);
        EXPECT_EQ(table[i].Free, present ? 0 : 1);
        EXPECT_EQ(table[i].Connected, present ? 1 : 0);
        EXPECT_EQ(table[i].DriveType, letter == 'C' ? 3 : present ? 4 : 0);
    }
    EXPECT_EQ(drives.Asked, "CD");
    const auto offered = FreeDriveNames(table);
    ASSERT_EQ(offered.size(), 24u);
    EXPECT_EQ(offered.front(), "A:");
    EXPECT_EQ(offered[1], "B:");
    EXPECT_EQ(offered[2], "E:");
    EXPECT_EQ(offered.back(), "Z:");
}

TEST(DriveTable, AnEmptyMaskLeavesEveryLetterFreeAndHigherBitsAreIgnored)
{
    ScriptedDrives drives;
    EXPECT_EQ(FreeDriveNames(BuildDriveTable(drives)).size(), 26u);
    drives.Mask = 0xFC000000U;
    EXPECT_EQ(FreeDriveNames(BuildDriveTable(drives)).size(), 26u);
    EXPECT_TRUE(drives.Asked.empty());
}

TEST(DriveTable, UpdateChangesTheLettersEntryOnly)
{
    ScriptedDrives drives;
    auto table = BuildDriveTable(drives);
    EXPECT_EQ(UpdateDriveEntry(table, drives, 'E', 0, -1), 0);
    EXPECT_EQ(table[4].Free, 0);
    EXPECT_EQ(table[4].DriveType, 0);
    EXPECT_TRUE(drives.Asked.empty()) << "-1 keeps the connection and the type";

    EXPECT_EQ(UpdateDriveEntry(table, drives, 'E', 0, 7), 1);
    EXPECT_EQ(table[4].Connected, 1);
    EXPECT_EQ(table[4].DriveType, 4);
    EXPECT_EQ(drives.Asked, "E");

    table[4].DriveName = "stale";
    EXPECT_EQ(UpdateDriveEntry(table, drives, 'E', 1, 0), 0);
    EXPECT_EQ(table[4], (DrivePathStructur{"E:", 1, 0, 4, 'E'}));
    EXPECT_EQ(std::count_if(table.begin(), table.end(), [](const auto& e) { return e.Free == 0; }), 0);
}

TEST(DriveTable, ALetterOutsideAToZMatchesNothing)
{
    ScriptedDrives drives;
    drives.Mask = Bit('E');
    auto table = BuildDriveTable(drives);
    const auto before = table;
    for (const std::int32_t letter : {std::int32_t{'e'}, std::int32_t{'1'}, 0, 200}) {
        EXPECT_EQ(UpdateDriveEntry(table, drives, letter, 0, 1), 0);
        EXPECT_EQ(IsDriveConnected(table, letter), 0);
    }
    EXPECT_EQ(table, before);
    EXPECT_EQ(IsDriveConnected(table, 'E'), 1);
}

TEST(DriveTable, IsDriveConnectedTakesTheLastEntryOfTheLetter)
{
    DrivePathVector table{{"E:", 0, 1, 4, 'E'}, {"E:", 1, 0, 0, 'E'}};
    EXPECT_EQ(IsDriveConnected(table, 'E'), 0);
    std::swap(table[0], table[1]);
    EXPECT_EQ(IsDriveConnected(table, 'E'), 1);
}

TEST(DriveTable, PathRequiresPWTakesTheLastExactMatch)
{
    const AvailablePathVector catalogue{{"\\\\srv\\a", "", 1}, {"\\\\srv\\a", "", 0}, {"\\\\srv\\b", "", 1}};
    EXPECT_EQ(PathRequiresPW(catalogue, "\\\\srv\\a"), 0);
    EXPECT_EQ(PathRequiresPW(catalogue, "\\\\srv\\b"), 1);
    EXPECT_EQ(PathRequiresPW(catalogue, "\\\\SRV\\b"), 0);
    EXPECT_EQ(PathRequiresPW(catalogue, "\\\\srv\\b "), 0);
    EXPECT_EQ(PathRequiresPW({}, "\\\\srv\\b"), 0);
}

TEST(GroupLine, LetterPathAndOrder)
{
    EXPECT_EQ(MakeGroupLine('H', "\\\\srv\\x"), "H: \\\\srv\\x");
    EXPECT_EQ(GroupLineLetter("H: \\\\srv\\x"), 'H');
    EXPECT_EQ(GroupLinePath("H: \\\\srv\\x"), "\\\\srv\\x");
    EXPECT_EQ(GroupLinePath("H: "), "");
    EXPECT_EQ(GroupLinePath("H"), "");
    EXPECT_EQ(GroupLineLetter(""), '\0');
    EXPECT_TRUE(GroupLineLess("E: \\\\z", "H: \\\\a"));
    EXPECT_TRUE(GroupLineLess("E: \\\\a", "e: \\\\b"));
    EXPECT_FALSE(GroupLineLess("E: x", "E: x"));
}
