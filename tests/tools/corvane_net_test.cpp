#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// The real carrier over a drives folder and a configuration folder of the test's own.
class Carrier : public ::testing::Test {
protected:
    Carrier()
    {
        setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
        setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
    }
    ~Carrier() override
    {
        unsetenv("CORVANE_DRIVES_DIR");
        unsetenv("XDG_CONFIG_HOME");
    }

    CommandResult Run(const std::vector<std::string>& arguments) { return Runner->Run(arguments); }
    fs::path Share(const std::string& name)
    {
        fs::create_directories(Dir / name);
        return Dir / name;
    }

    std::string Record(char letter) { return ReadBytes(Drives / (std::string(".") + letter + ".corvane")); }

    TempDir Dir;
    fs::path Drives = Dir / "Drives";
    fs::path Config = Dir / "config";
    fs::path Autostart = Config / "autostart" / "corvane-net-restore.desktop";
    std::unique_ptr<CommandRunner> Runner = MakeProgramRunner(CORVANE_NET);
};

// The one argument that an Exec line of a desktop entry holds before " restore".
std::string ExecProgram(const std::string& entry)
{
    const auto start = entry.find("\nExec=");
    const auto end = entry.find(" restore\n", start);
    if (start == std::string::npos || end == std::string::npos)
        return {};
    std::string value;
    for (auto at = start + 6; at < end; ++at) {
        if (entry[at] == '\\' && at + 1 < end)
            ++at;  // the escapes of a string value
        value += entry[at];
    }
    std::string argument;
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return {};
    for (std::size_t at = 1; at + 1 < value.size(); ++at) {
        if (value[at] == '\\' || (value[at] == '%' && value[at + 1] == '%'))
            ++at;  // the escapes of a quoted argument and of a field code
        argument += value[at];
    }
    return argument;
}

} // namespace

TEST_F(Carrier, AttachLinksALocalFolderAndDetachRemovesIt)
{
    const auto share = Share("my share");
    const auto attached = Run(AttachArguments("E: " + share.string(), std::nullopt, true));
    EXPECT_EQ(attached.ExitStatus, 0) << attached.Output;
    EXPECT_EQ(attached.Output, "The command completed successfully.\n");
    ASSERT_TRUE(fs::is_symlink(Drives / "E"));
    EXPECT_EQ(fs::read_symlink(Drives / "E"), share);
    EXPECT_EQ(Record('E'), "persistent=YES\npath=" + share.string() + "\ntarget=" + share.string() + "\n");

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
    EXPECT_EQ(Record('G'), "persistent=NO\npath=" + share.string() + "\nuser=CORP\\anna\ntarget=" + share.string() + "\n");
    EXPECT_EQ(result.Output.find("hunter2"), std::string::npos);

    // A path or a user with a line end would break the record apart.
    EXPECT_EQ(Run(AttachArguments("H: " + share.string() + "\npersistent=YES", std::nullopt, false)).ExitStatus, 53);
    EXPECT_EQ(Run(AttachArguments("H: " + share.string(), Credentials{"anna\ntarget=/", "pw"}, false)).ExitStatus, 2);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "H")));
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
        {"net", "use", "E:"},
        {"net", "restore", "E:"},
        {"net", "list"},
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

TEST_F(Carrier, OnlyWhatTheCarrierMadeIsEverRemoved)
{
    // The user's own link, and one of ours that the user has since pointed elsewhere.
    const auto music = Share("Music");
    fs::create_directories(Drives);
    fs::create_directory_symlink(music, Drives / "M");
    EXPECT_EQ(Run(DetachArguments('M')).ExitStatus, 2);
    ASSERT_TRUE(fs::is_symlink(Drives / "M"));

    ASSERT_EQ(Run(AttachArguments("N: " + Share("docs").string(), std::nullopt, false)).ExitStatus, 0);
    fs::remove(Drives / "N");
    fs::create_directory_symlink(music, Drives / "N");
    const auto refused = Run(DetachArguments('N'));
    EXPECT_EQ(refused.ExitStatus, 2);
    EXPECT_NE(refused.Output.find("not a connection this program made"), std::string::npos) << refused.Output;
    EXPECT_EQ(fs::read_symlink(Drives / "N"), music);
    EXPECT_TRUE(fs::is_directory(music));
}

TEST_F(Carrier, ALinkInPlaceOfARecordIsReplacedNotFollowed)
{
    const auto victim = Dir / "victim";
    WriteBytes(victim, "untouched");
    fs::create_directories(Drives);
    fs::create_symlink(victim, Drives / ".E.corvane");
    // Not ours while the link stands there: the letter is free, the link is no record.
    const auto share = Share("s");
    ASSERT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    EXPECT_EQ(ReadBytes(victim), "untouched");
    EXPECT_FALSE(fs::is_symlink(Drives / ".E.corvane"));
    EXPECT_EQ(Record('E'), "persistent=YES\npath=" + share.string() + "\ntarget=" + share.string() + "\n");

    // A record of ours replaced by a link reads as no record: detach leaves the letter alone.
    fs::remove(Drives / ".E.corvane");
    fs::create_symlink(victim, Drives / ".E.corvane");
    EXPECT_EQ(Run(DetachArguments('E')).ExitStatus, 2);
    EXPECT_EQ(ReadBytes(victim), "untouched");
    EXPECT_TRUE(fs::is_symlink(Drives / "E"));
}

TEST_F(Carrier, ADanglingLetterOfOursMayBeAttachedAnewAnyOtherIsInUse)
{
    const auto gone = Share("gone");
    ASSERT_EQ(Run(AttachArguments("E: " + gone.string(), std::nullopt, false)).ExitStatus, 0);
    fs::remove(gone);
    const auto other = Share("other");
    const auto again = Run(AttachArguments("E: " + other.string(), std::nullopt, true));
    ASSERT_EQ(again.ExitStatus, 0) << again.Output;
    EXPECT_EQ(fs::read_symlink(Drives / "E"), other);
    EXPECT_EQ(Record('E'), "persistent=YES\npath=" + other.string() + "\ntarget=" + other.string() + "\n");

    fs::create_directory_symlink(Dir / "nowhere", Drives / "F");
    EXPECT_EQ(Run(AttachArguments("F: " + other.string(), std::nullopt, false)).ExitStatus, 85);
    EXPECT_EQ(fs::read_symlink(Drives / "F"), Dir / "nowhere");
}

TEST_F(Carrier, TheListShowsOurLettersAndWhetherTheyAnswer)
{
    EXPECT_EQ(Run({"net", "use"}).Output, "There are no entries in the list.\n\nThe command completed successfully.\n");
    const auto kept = Share("kept");
    const auto gone = Share("gone");
    ASSERT_EQ(Run(AttachArguments("E: " + kept.string(), std::nullopt, false)).ExitStatus, 0);
    ASSERT_EQ(Run(AttachArguments("G: " + gone.string(), std::nullopt, false)).ExitStatus, 0);
    fs::create_directory_symlink(kept, Drives / "H");  // the user's own: no connection
    fs::remove(gone);
    const auto listed = Run({"net", "use"});
    EXPECT_EQ(listed.ExitStatus, 0);
    EXPECT_EQ(listed.Output, "Status       Local     Remote\n"
                             "-------------------------------------------------------------------------------\n"
                             "OK           E:        " + kept.string() + "\n"
                             "Unavailable  G:        " + gone.string() + "\n"
                             "The command completed successfully.\n");
}

TEST_F(Carrier, TheAutostartEntryExistsWhileAPersistentLetterDoes)
{
    const auto share = Share("s");
    ASSERT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, false)).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(Autostart)) << "no persistent letter yet";

    ASSERT_EQ(Run(AttachArguments("F: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    ASSERT_EQ(Run(AttachArguments("G: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    const auto entry = ReadBytes(Autostart);
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\nType=Application\n")) << entry;
    EXPECT_EQ(ExecProgram(entry), fs::canonical(CORVANE_NET).string()) << entry;

    ASSERT_EQ(Run(DetachArguments('F')).ExitStatus, 0);
    EXPECT_TRUE(fs::exists(Autostart)) << "G is still persistent";
    ASSERT_EQ(Run(DetachArguments('G')).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(Autostart));
    EXPECT_TRUE(fs::is_symlink(Drives / "E"));
}

TEST_F(Carrier, RestoreKeepsPersistentLettersAndDropsTheOthers)
{
    const auto kept = Share("kept");
    const auto dropped = Share("dropped");
    ASSERT_EQ(Run(AttachArguments("E: " + kept.string(), std::nullopt, true)).ExitStatus, 0);
    ASSERT_EQ(Run(AttachArguments("F: " + dropped.string(), std::nullopt, false)).ExitStatus, 0);
    fs::remove(Autostart);

    ASSERT_EQ(Run({"net", "restore"}).ExitStatus, 0);
    EXPECT_EQ(fs::read_symlink(Drives / "E"), kept);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "F")));
    EXPECT_FALSE(fs::exists(Drives / ".F.corvane"));
    EXPECT_TRUE(fs::is_directory(dropped));
    EXPECT_TRUE(fs::exists(Autostart)) << "restore puts the entry back while E is persistent";

    // A letter that cannot be attached again is said, and kept for later.
    fs::rename(kept, Dir / "away");
    const auto failed = Run({"net", "restore"});
    EXPECT_EQ(failed.ExitStatus, 2);
    EXPECT_NE(failed.Output.find("E: " + kept.string() + " (53)"), std::string::npos) << failed.Output;
    EXPECT_TRUE(fs::is_symlink(Drives / "E"));
    fs::rename(Dir / "away", kept);
    EXPECT_EQ(Run({"net", "restore"}).ExitStatus, 0);
    EXPECT_TRUE(fs::is_directory(Drives / "E"));
}
