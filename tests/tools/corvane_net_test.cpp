#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "autostart.h"
#include "platform/posix/drives_folder.h"

#include "support/skip.h"
#include "support/smb_lab.h"
#include "support/temp_dir.h"

#include <pty.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace fs = std::filesystem;

namespace {

// The real carrier over a drives folder and a configuration folder of the test's own.
class Carrier : public ::testing::Test {
protected:
    Carrier()
    {
        // The test's folder is the home, so that Drives is the drives folder of nobody's choosing.
        if (const char* home = std::getenv("HOME"))
            Home = home;
        setenv("HOME", Dir.Path().c_str(), 1);
        setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
        setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
    }
    ~Carrier() override
    {
        unsetenv("CORVANE_DRIVES_DIR");
        unsetenv("XDG_CONFIG_HOME");
        if (Home)
            setenv("HOME", Home->c_str(), 1);
    }

    // The carrier run by the shell, its standard input from a file holding input.
    CommandResult RunWithInput(const std::string& arguments, std::string_view input, const fs::path& folder = {},
                               const fs::path& source = {}, const std::string& environment = {})
    {
        WriteBytes(Dir / "input", input);
        const auto command = (folder.empty() ? "" : "cd " + ShellQuoted(folder) + " && ") + environment + " "
                           + ShellQuoted(CORVANE_NET)
                           + " " + arguments + " <" + ShellQuoted(source.empty() ? Dir / "input" : source)
                           + " >" + ShellQuoted(Dir / "output")
                           + " 2>&1";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(Dir / "output")};
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
    std::unique_ptr<CommandRunner> Runner = MakeSystemCommandRunner(fs::path(CORVANE_NET).parent_path());
    std::optional<std::string> Home;
};

// The one argument that an Exec line of a desktop entry holds before " restore --watch".
std::string ExecProgram(const std::string& entry)
{
    const auto start = entry.find("\nExec=");
    const auto end = entry.find(" restore --watch\n", start);
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
        {"net", "use", "E:", "/DELETE", "/PERSISTENT:NO"},
        {"net", "use", "E:", "/tmp", "/PERSISTENT:NO", "/PERSISTENT:NO"},
        {"net", "restore", "--drives"},
        {"net", "restore", "--wander", "/tmp"},
        {"net", "restore", "--wait", "soon"},
        {"net", "restore", "--wait", "999999"},
        {"net", "restore", "--watch", "--wait"},
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

TEST_F(Carrier, ASignalRightAfterTheLinkIsMadeLeavesALetterThatCanBeDetached)
{
    // Ctrl-C or a log-out at the worst moment: the link made, nothing after it.
    const auto share = Share("Projects");
    // The loader splits its list at blanks, which the build's folder may hold.
    fs::copy_file(FAULTY_IO, Dir / "faulty-io.so");
    const auto killed = RunWithInput("use K: " + ShellQuoted(share) + " /PERSISTENT:NO", {}, {}, {},
                                     "LD_PRELOAD=" + ShellQuoted(Dir / "faulty-io.so")
                                         + " ASAN_OPTIONS=verify_asan_link_order=0 FAULTY_TERM_AFTER_SYMLINK=1");
    EXPECT_EQ(killed.ExitStatus, 128 + SIGTERM) << "the carrier was not stopped: " << killed.Output;
    ASSERT_TRUE(fs::is_symlink(Drives / "K"));
    const auto detached = Run({"net", "use", "K:", "/DELETE"});
    EXPECT_EQ(detached.ExitStatus, 0) << detached.Output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "K")));
    EXPECT_FALSE(fs::exists(Drives / ".K.corvane"));
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

TEST_F(Carrier, ADrivesFolderThatOthersCanWriteIsRefusedForEverything)
{
    const auto share = Share("s");
    for (const auto mode : {fs::perms::all, fs::perms::all | fs::perms::sticky_bit, fs::perms::owner_all | fs::perms::others_write}) {
        fs::create_directories(Drives);
        fs::permissions(Drives, mode);
        for (const auto& arguments : {AttachArguments("E: " + share.string(), std::nullopt, true), DetachArguments('E'),
                                      std::vector<std::string>{"net", "use"}, std::vector<std::string>{"net", "restore"}}) {
            SCOPED_TRACE(JoinArguments(arguments));
            const auto result = Run(arguments);
            EXPECT_EQ(result.ExitStatus, 2);
            EXPECT_NE(result.Output.find("The drives folder " + Drives.string()
                                         + " belongs to another user or can be written by others"),
                      std::string::npos)
                << result.Output;
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
        EXPECT_FALSE(fs::exists(Autostart));
        fs::remove_all(Drives);
    }
}

TEST_F(Carrier, AnotherUsersLinksAndRecordsAreNeverTakenForOurs)
{
    if (geteuid() != 0)
        CORVANE_SKIP_OUTSIDE_CI("only root can give a link to another user");
    // Planted as if by another user before the folder was ours alone.
    const auto theirs = Share("theirs");
    fs::create_directories(Drives);
    fs::create_directory_symlink(theirs, Drives / "H");
    WriteBytes(Drives / ".H.corvane", "persistent=NO\npath=" + theirs.string() + "\ntarget=" + theirs.string() + "\n");
    ASSERT_EQ(lchown((Drives / "H").c_str(), 65534, 65534), 0);
    ASSERT_EQ(lchown((Drives / ".H.corvane").c_str(), 65534, 65534), 0);

    EXPECT_EQ(Run({"net", "restore"}).ExitStatus, 0);
    EXPECT_EQ(Run({"net", "use"}).Output, "There are no entries in the list.\n\nThe command completed successfully.\n");
    EXPECT_EQ(Run(DetachArguments('H')).ExitStatus, 2);
    EXPECT_EQ(Run(AttachArguments("H: " + Share("mine").string(), std::nullopt, false)).ExitStatus, 85);
    EXPECT_EQ(fs::read_symlink(Drives / "H"), theirs);
    EXPECT_TRUE(fs::exists(Drives / ".H.corvane"));
}

TEST_F(Carrier, TwoAttachesOfOneLetterAtOnceOneWins)
{
    const auto first = Share("first");
    const auto second = Share("second");
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        CommandResult a, b;
        std::thread other([&] { a = MakeSystemCommandRunner(fs::path(CORVANE_NET).parent_path())->Run(AttachArguments("E: " + first.string(), std::nullopt, false)); });
        b = Run(AttachArguments("E: " + second.string(), std::nullopt, false));
        other.join();
        ASSERT_EQ(std::min(a.ExitStatus, b.ExitStatus), 0) << a.Output << b.Output;
        ASSERT_EQ(std::max(a.ExitStatus, b.ExitStatus), 85) << a.Output << b.Output;
        const auto winner = a.ExitStatus == 0 ? first : second;
        EXPECT_EQ(fs::read_symlink(Drives / "E"), winner);
        EXPECT_EQ(Record('E'), "persistent=NO\npath=" + winner.string() + "\ntarget=" + winner.string() + "\n");
        ASSERT_EQ(Run(DetachArguments('E')).ExitStatus, 0);
    }
}

TEST_F(Carrier, APasswordIsOneLineWithoutNulAndOfBoundedLength)
{
    const auto share = ShellQuoted(Share("s"));
    const std::string attach = "use E: " + share + " '*' /USER:anna /PERSISTENT:NO";
    const std::string refused = "System error 86 has occurred.\n\nThe specified network password is not correct.\n";
    EXPECT_EQ(RunWithInput(attach, std::string("s3cret\0garbage\n", 15)).Output,
              refused + "The password holds a NUL character.\n");
    EXPECT_EQ(RunWithInput(attach, "s3cret\ngarbage\n").Output, refused + "The password holds a line end.\n");
    EXPECT_EQ(RunWithInput(attach, std::string(2 << 20, 'x')).Output, refused + "The password is longer than 1024 bytes.\n");
    const auto zeros = RunWithInput(attach, "", {}, "/dev/zero");
    EXPECT_EQ(zeros.ExitStatus, 86) << zeros.Output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));

    // One line, ended by LF or CR LF, or by the end of the input.
    for (const auto& input : std::vector<std::string>{"s3cret\r\n", "s3cret\n", "s3cret", std::string(1024, 'x')}) {
        SCOPED_TRACE(input);
        EXPECT_EQ(RunWithInput(attach, input).ExitStatus, 0);
        EXPECT_EQ(Run(DetachArguments('E')).ExitStatus, 0);
    }

    // A password is never sent empty, nor dropped for a guest's login.
    const auto blank = RunWithInput("use E: '\\\\srv\\s' '*' /USER:anna /PERSISTENT:NO", "\n");
    EXPECT_EQ(blank.Output, refused + "No password was given.\n");
    const auto noUser = RunWithInput("use E: '\\\\srv\\s' '*' /USER: /PERSISTENT:NO", "s3cret\n");
    EXPECT_EQ(noUser.Output, refused + "A password was given without a user name.\n");
    EXPECT_EQ(Run({"net", "use", "E:", "\\\\srv\\s", "pw", "/USER:", "/PERSISTENT:NO"}).ExitStatus, 86);
    EXPECT_EQ(Run({"net", "use", "E:", "\\\\srv\\s", std::string(1025, 'x'), "/USER:u", "/PERSISTENT:NO"}).ExitStatus, 86);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
}

TEST_F(Carrier, TheTerminalEchoesAgainWhenThePasswordPromptIsInterrupted)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        int terminal = -1;
        const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
        ASSERT_GE(child, 0);
        if (child == 0) {
            execl(CORVANE_NET, "net", "use", "E:", "\\\\srv\\s", "*", "/USER:u", "/PERSISTENT:NO", nullptr);
            _exit(127);
        }
        std::string prompt;
        char buffer[256];
        while (prompt.find("password") == std::string::npos) {
            const auto got = read(terminal, buffer, sizeof buffer);
            ASSERT_GT(got, 0) << prompt;
            prompt.append(buffer, static_cast<std::size_t>(got));
        }
        termios seen{};
        ASSERT_EQ(tcgetattr(terminal, &seen), 0);
        EXPECT_EQ(seen.c_lflag & ECHO, 0u) << "the password is typed unseen";
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        ASSERT_EQ(tcgetattr(terminal, &seen), 0);
        EXPECT_NE(seen.c_lflag & ECHO, 0u) << "the terminal was left without echo";
        close(terminal);
    }
}

TEST_F(Carrier, PathsThatCouldNameAnythingElseAreRefused)
{
    // Relative to wherever the carrier was started: never a drive.
    fs::create_directories(Dir / "smb:" / "srv" / "share");
    EXPECT_EQ(RunWithInput("use E: smb://srv/share /PERSISTENT:NO", "", Dir.Path()).ExitStatus, 53);
    EXPECT_EQ(RunWithInput("use E: smb: /PERSISTENT:NO", "", Dir.Path()).ExitStatus, 53);
    // Nor from a folder whose name would add lines to the record.
    const auto tricky = Dir / "a\npath=\\\\evil\\share\nmounted=YES\nx=";
    fs::create_directories(tricky / "sub");
    EXPECT_EQ(RunWithInput("use F: sub /PERSISTENT:NO", "", tricky).ExitStatus, 53);
    EXPECT_EQ(Run(AttachArguments("F: " + (tricky / "sub").string(), std::nullopt, false)).ExitStatus, 53);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "F")));
    // A server name that is no UTF-8 names no host; a share name that is none names no share.
    EXPECT_EQ(Run(AttachArguments("E: \\\\\xff\xfe\\share", std::nullopt, false)).ExitStatus, 53);
    EXPECT_EQ(Run(AttachArguments("E: \\\\srv\\\xff", std::nullopt, false)).ExitStatus, 67);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
}

TEST_F(Carrier, EachDrivesFolderHasAnAutostartEntryOfItsOwn)
{
    const auto share = Share("s");
    ASSERT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    const auto other = Dir / "Other drives";
    setenv("CORVANE_DRIVES_DIR", other.c_str(), 1);
    ASSERT_EQ(Run(AttachArguments("F: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    const auto otherEntry = AutostartEntry(other);
    EXPECT_NE(otherEntry, Autostart);
    const auto text = ReadBytes(otherEntry);
    EXPECT_NE(text.find(" restore --watch --drives \"" + other.string() + "\"\n"), std::string::npos) << text;
    ASSERT_EQ(Run(DetachArguments('F')).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(otherEntry));
    EXPECT_TRUE(fs::exists(Autostart)) << "E: of the other folder is still to come back";

    // What the entry of the other folder runs at login.
    ASSERT_EQ(Run(AttachArguments("G: " + share.string(), std::nullopt, false)).ExitStatus, 0);
    setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
    ASSERT_EQ(Run({"net", "restore", "--drives", other.string()}).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(other / "G"))) << "not persistent";
    EXPECT_TRUE(fs::is_symlink(Drives / "E"));
}

TEST_F(Carrier, TheAutostartEntryKeepsWhatTheUserSetInIt)
{
    const auto share = Share("s");
    ASSERT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    WriteBytes(Autostart, ReadBytes(Autostart) + "X-GNOME-Autostart-enabled=false\n");
    ASSERT_EQ(Run(DetachArguments('E')).ExitStatus, 0);
    ASSERT_FALSE(fs::exists(Autostart));
    ASSERT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    WriteBytes(Autostart, "[Desktop Entry]\nExec=old\nX-GNOME-Autostart-enabled=false\n");
    ASSERT_EQ(Run(AttachArguments("F: " + share.string(), std::nullopt, true)).ExitStatus, 0);
    const auto entry = ReadBytes(Autostart);
    EXPECT_NE(entry.find("X-GNOME-Autostart-enabled=false\n"), std::string::npos) << entry;
    EXPECT_EQ(ExecProgram(entry), fs::canonical(CORVANE_NET).string()) << entry;
}

TEST_F(Carrier, ALetterThatCannotComeBackAtLoginIsNotAttached)
{
    const auto share = Share("s");
    fs::create_directories(Config);
    WriteBytes(Config / "autostart", "a file where the folder belongs");
    const auto persistent = Run(AttachArguments("E: " + share.string(), std::nullopt, true));
    EXPECT_EQ(persistent.ExitStatus, 2);
    EXPECT_NE(persistent.Output.find("The drive would not be attached again at the next login.\n" + Autostart.string()
                                     + " could not be written"),
              std::string::npos)
        << persistent.Output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "E")));
    EXPECT_FALSE(fs::exists(Drives / ".E.corvane"));
    EXPECT_EQ(Run(AttachArguments("E: " + share.string(), std::nullopt, false)).ExitStatus, 0);

    // A program whose path holds "%": the desktop would not load the entry that starts it.
    const auto odd = Dir / "100% sure";
    fs::create_directories(odd);
    fs::copy_file(CORVANE_NET, odd / "corvane-net");
    fs::remove(Config / "autostart");
    const auto copy = MakeSystemCommandRunner(odd)->Run(AttachArguments("F: " + share.string(), std::nullopt, true));
    EXPECT_EQ(copy.ExitStatus, 2);
    EXPECT_NE(copy.Output.find("The desktop would not run " + Autostart.string()), std::string::npos) << copy.Output;
    EXPECT_FALSE(fs::exists(Autostart));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "F")));
}

TEST_F(Carrier, AnEmptyOrRelativeHomeIsNeverTheWorkingFolder)
{
    const auto* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    for (const auto* home : {"", "relative"}) {
        SCOPED_TRACE(home);
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", "also relative", 1);
        EXPECT_EQ(HomeFolder(), fs::path(user->pw_dir));
        EXPECT_EQ(AutostartEntry(Drives).parent_path(), fs::path(user->pw_dir) / ".config" / "autostart");
        unsetenv("CORVANE_DRIVES_DIR");
        EXPECT_EQ(DrivesFolderPath(), fs::path(user->pw_dir) / "Drives");
        setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
    }
}
