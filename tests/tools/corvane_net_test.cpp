#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// The real carrier over a drives folder of the test's own.
class Carrier : public ::testing::Test {
protected:
    Carrier() { setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1); }
    ~Carrier() override { unsetenv("CORVANE_DRIVES_DIR"); }

    CommandResult Run(const std::vector<std::string>& arguments) { return Runner->Run(arguments); }
    fs::path Share(const std::string& name)
    {
        fs::create_directories(Dir / name);
        return Dir / name;
    }

    TempDir Dir;
    fs::path Drives = Dir / "Drives";
    std::unique_ptr<CommandRunner> Runner = MakeProgramRunner(CORVANE_NET);
};

} // namespace

TEST_F(Carrier, AttachLinksALocalFolderAndDetachRemovesIt)
{
    const auto share = Share("my share");
    const auto attached = Run(AttachArguments("E: " + share.string(), std::nullopt, true));
    EXPECT_EQ(attached.ExitStatus, 0) << attached.Output;
    EXPECT_EQ(attached.Output, "The command completed successfully.\n");
    ASSERT_TRUE(fs::is_symlink(Drives / "E"));
    EXPECT_EQ(fs::read_symlink(Drives / "E"), share);
    EXPECT_EQ(ReadBytes(Drives / ".E.corvane"), "persistent=YES\npath=" + share.string() + "\n");

    const auto detached = Run(DetachArguments('E'));
    EXPECT_EQ(detached.ExitStatus, 0) << detached.Output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
    EXPECT_FALSE(fs::exists(Drives / ".E.corvane"));
    EXPECT_TRUE(fs::is_directory(share)) << "detach touched the shared folder";
}

TEST_F(Carrier, TheRecordKeepsTheChoiceAndTheUserButNeverThePassword)
{
    const auto share = Share("s");
    const auto result = Run(AttachArguments("G: " + share.string(), Credentials{"CORP\\anna", "hunter2"}, false));
    ASSERT_EQ(result.ExitStatus, 0) << result.Output;
    const auto record = ReadBytes(Drives / ".G.corvane");
    EXPECT_EQ(record, "persistent=NO\npath=" + share.string() + "\nuser=CORP\\anna\n");
    EXPECT_EQ(result.Output.find("hunter2"), std::string::npos);
}

TEST_F(Carrier, ALetterInUseGives85)
{
    const auto share = Share("s");
    ASSERT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, false)).ExitStatus, 0);
    const auto again = Run(AttachArguments("E: " + Share("t").string(), std::nullopt, false));
    EXPECT_EQ(again.ExitStatus, 85);
    EXPECT_NE(again.Output.find("already in use"), std::string::npos) << again.Output;
    EXPECT_EQ(fs::read_symlink(Drives / "E"), share);

    fs::create_directories(Drives / "F");
    EXPECT_EQ(Run(AttachArguments("F: " + share.string(), std::nullopt, false)).ExitStatus, 85);
}

TEST_F(Carrier, AMissingPathGives53And67)
{
    const auto missing = Run(AttachArguments("E: " + (Dir / "nothing here").string(), std::nullopt, false));
    EXPECT_EQ(missing.ExitStatus, 53);
    EXPECT_NE(missing.Output.find("network path was not found"), std::string::npos) << missing.Output;
    EXPECT_EQ(Run(AttachArguments("E: ", std::nullopt, false)).ExitStatus, 53);
    EXPECT_EQ(Run(AttachArguments("E: \\\\server", std::nullopt, false)).ExitStatus, 67);
    EXPECT_EQ(Run(AttachArguments("E: \\\\\\share", std::nullopt, false)).ExitStatus, 67);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
}

TEST_F(Carrier, DetachingALetterNotConnectedTellsError2250)
{
    // 2250 does not fit an exit status here: it fails with 2 and names the error.
    const auto result = Run(DetachArguments('Q'));
    EXPECT_EQ(result.ExitStatus, 2);
    EXPECT_NE(result.Output.find("System error 2250 has occurred."), std::string::npos) << result.Output;
    EXPECT_NE(result.Output.find("could not be found"), std::string::npos);
}

TEST_F(Carrier, AFolderItDidNotMakeIsNeverRemoved)
{
    fs::create_directories(Drives / "H");
    WriteBytes(Drives / "H" / "keep", "x");
    EXPECT_EQ(Run(DetachArguments('H')).ExitStatus, 2);
    EXPECT_EQ(ReadBytes(Drives / "H" / "keep"), "x");
}

TEST_F(Carrier, AnythingElseGivesTheUsageAndStatus2)
{
    const std::vector<std::vector<std::string>> wrong{
        {"net"},
        {"net", "use"},
        {"net", "use", "E:"},
        {"net", "view", "E:", "/DELETE"},
        {"net", "use", "1:", "/DELETE"},
        {"net", "use", "EE:", "/DELETE"},
        {"net", "use", "E", "/DELETE"},
        {"net", "use", "E:", "/REMOVE"},
        {"net", "use", "E:", "/tmp", "/PERSISTENT:MAYBE"},
        {"net", "use", "E:", "/tmp", "pw", "/PERSISTENT:NO"},
        {"net", "use", "E:", "/tmp", "pw", "USER:x", "/PERSISTENT:NO"},
        {"net", "use", "E:", "/tmp", "pw", "/USER:x", "/PERSISTENT:NO", "extra"},
    };
    for (const auto& arguments : wrong) {
        SCOPED_TRACE(JoinArguments(arguments));
        const auto result = Run(arguments);
        EXPECT_EQ(result.ExitStatus, 2);
        EXPECT_NE(result.Output.find("usage: corvane-net use X:"), std::string::npos) << result.Output;
    }
    EXPECT_FALSE(fs::exists(Drives / "E"));
}

TEST_F(Carrier, SmallLettersAndSwitchesInAnyCaseAreUnderstood)
{
    const auto share = Share("s");
    EXPECT_EQ(Run({"net", "USE", "k:", share.string(), "/persistent:no"}).ExitStatus, 0);
    EXPECT_TRUE(fs::is_symlink(Drives / "K"));
    EXPECT_EQ(Run({"net", "use", "k:", "/delete"}).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "K")));
}
