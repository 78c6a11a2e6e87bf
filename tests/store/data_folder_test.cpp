#include "store/data_folder.h"

#include "support/read_only_folder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(DataFolder, BesideTheProgramWhereverThatCanBeWritten)
{
    TempDir program;
    TempDir user;
    EXPECT_TRUE(CanWriteIn(program.Path()));
    EXPECT_EQ(ChooseDataDirectory(program.Path(), user / "Corvane"), program.Path());
    EXPECT_FALSE(fs::exists(user / "Corvane"));
    EXPECT_TRUE(fs::is_empty(program.Path())) << "the probe was left behind";
}

TEST(DataFolder, AReadOnlyProgramFolderSeedsTheUsersFolderOnce)
{
    TempDir program;
    TempDir user;
    WriteBytes(program / "Corvane2.net", "1 2.0\r\n0,\\\\srv\\pub\r\nshipped");
    WriteBytes(program / "Corvane2.cfg", "1-2\r\nWork");
    WriteBytes(program / "Corvane2.pro", "0");
    fs::create_directory(program / "Profile");
    WriteBytes(program / "Profile" / "Work.pro", "1\r\nE: \\\\srv\\pub");
    WriteBytes(program / "unrelated.txt", "stays");
    const ReadOnlyFolder readOnly(program.Path());
    if (!readOnly.Made())
        GTEST_SKIP() << "no read-only mount here: " << readOnly.Why;

    EXPECT_FALSE(CanWriteIn(program.Path()));
    const auto chosen = ChooseDataDirectory(program.Path(), user / "config" / "Corvane");
    EXPECT_EQ(chosen, user / "config" / "Corvane");
    for (const auto* name : {"Corvane2.net", "Corvane2.cfg", "Corvane2.pro"})
        EXPECT_EQ(ReadBytes(chosen / name), ReadBytes(program / name)) << name;
    EXPECT_EQ(ReadBytes(chosen / "Profile" / "Work.pro"), "1\r\nE: \\\\srv\\pub");
    EXPECT_FALSE(fs::exists(chosen / "unrelated.txt"));

    // The user's files are the user's from then on.
    WriteBytes(chosen / "Corvane2.net", "0 2.0");
    EXPECT_EQ(ChooseDataDirectory(program.Path(), chosen), chosen);
    EXPECT_EQ(ReadBytes(chosen / "Corvane2.net"), "0 2.0");

    // Where no user folder can be made either, the program's own all the same.
    WriteBytes(user / "file", "x");
    EXPECT_EQ(ChooseDataDirectory(program.Path(), user / "file" / "Corvane"), program.Path());
    EXPECT_EQ(ChooseDataDirectory(program.Path(), {}), program.Path());
}
