// The carrier against a real share: Samba's smbd on 127.0.0.1, mounted
// through GVfs in a session bus of the test's own, run through the program's
// own command runner.
#include "mapping/net_use.h"
#include "platform/network_folder.h"
#include "platform/share_lister.h"
#include "platform/system_services.h"

#include "support/skip.h"
#include "support/smb_lab.h"
#include "support/temp_dir.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class SmbShare : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const auto why = Lab.Start(); !why.empty())
            CORVANE_SKIP_OUTSIDE_CI(why);
        // The test's folder is the home, so that Drives is the drives folder of nobody's choosing.
        if (const char* home = std::getenv("HOME"))
            Home = home;
        setenv("HOME", Dir.Path().c_str(), 1);
        setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
        setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
    }

    void TearDown() override
    {
        unsetenv("CORVANE_DRIVES_DIR");
        unsetenv("XDG_CONFIG_HOME");
        if (Home)
            setenv("HOME", Home->c_str(), 1);
    }

    std::optional<std::string> Home;

    CommandResult Run(const std::vector<std::string>& arguments) { return Runner->Run(arguments); }
    CommandResult Attach(const std::string& line, const std::optional<Credentials>& credentials = std::nullopt,
                         bool persistent = false)
    {
        return Run(AttachArguments(line, credentials, persistent));
    }

    bool Linked(char letter) { return fs::exists(fs::symlink_status(Drives / std::string(1, letter))); }

    // What the failures leave: no letter and no mount.
    void ExpectNothingLeft(char letter)
    {
        EXPECT_FALSE(Linked(letter));
        const auto mounts = Lab.Mounts();
        EXPECT_EQ(mounts.find("127.0.0.1"), std::string::npos) << mounts;
    }

    TempDir Dir;
    SmbLab Lab{Dir / "lab"};
    fs::path Drives = Dir / "Drives";
    fs::path Config = Dir / "config";
    // The carrier built beside the tests, run as the program runs it.
    std::unique_ptr<CommandRunner> Runner = MakeSystemCommandRunner(fs::path(CORVANE_NET).parent_path());
};

struct Failures {
    int WrongPassword, Unreachable, Missing, Escaped, WithUser;
    std::string Output;
};

} // namespace

TEST_F(SmbShare, TwentyAttachesAndDetachesInARowAllSucceedAndLeaveNothingMounted)
{
    Clock::duration attaching{}, detaching{};
    for (int cycle = 1; cycle <= 20; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        const auto start = Clock::now();
        const auto attached = Attach("P: \\\\127.0.0.1\\public\\sub");
        const auto middle = Clock::now();
        ASSERT_EQ(attached.ExitStatus, 0) << attached.Output;
        // Linked only once the share answers: the first look already reads it.
        EXPECT_EQ(ReadBytes(Drives / "P" / "file.txt"), "hello");
        const auto again = Clock::now();
        const auto detached = Run(DetachArguments('P'));
        ASSERT_EQ(detached.ExitStatus, 0) << detached.Output;
        attaching += middle - start;
        detaching += Clock::now() - again;
        EXPECT_FALSE(Linked('P'));
    }
    ExpectNothingLeft('P');
    using std::chrono::milliseconds;
    std::cout << "attach " << std::chrono::duration_cast<milliseconds>(attaching).count() / 20 << " ms, detach "
              << std::chrono::duration_cast<milliseconds>(detaching).count() / 20 << " ms on average\n";
}

TEST_F(SmbShare, CredentialsReachTheServerAndTheShareStaysWhileAnotherLetterUsesIt)
{
    const auto right = Attach("P: \\\\127.0.0.1\\private", Credentials{"WORKGROUP\\root", SmbLab::Password});
    ASSERT_EQ(right.ExitStatus, 0) << right.Output;
    WriteBytes(Lab.Private / "new.txt", "written on the server");
    EXPECT_EQ(ReadBytes(Drives / "P" / "new.txt"), "written on the server");

    // A second letter on the same share finds it mounted already.
    const auto second = Attach("Q: \\\\127.0.0.1\\private", Credentials{"root", SmbLab::Password});
    ASSERT_EQ(second.ExitStatus, 0) << second.Output;
    ASSERT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
    EXPECT_EQ(ReadBytes(Drives / "Q" / "new.txt"), "written on the server");
    ASSERT_EQ(Run(DetachArguments('Q')).ExitStatus, 0);
    ExpectNothingLeft('Q');

    // A share mounted before, by someone else, is used and left mounted.
    ASSERT_EQ(std::system("gio mount --anonymous smb://127.0.0.1/public >/dev/null 2>&1"), 0);
    ASSERT_EQ(Attach("R: \\\\127.0.0.1\\public").ExitStatus, 0);
    ASSERT_EQ(Run(DetachArguments('R')).ExitStatus, 0);
    EXPECT_NE(Lab.Mounts().find("public"), std::string::npos) << "the carrier unmounted a share it did not mount";
}

TEST_F(SmbShare, FailuresHaveTheirStatusesInEveryLanguageAndLeaveNoMount)
{
    const auto tryAll = [this] {
        Failures seen{};
        const auto note = [&](int& status, const CommandResult& result, char letter) {
            status = result.ExitStatus;
            seen.Output += result.Output;
            ExpectNothingLeft(letter);
        };
        note(seen.WrongPassword, Attach("P: \\\\127.0.0.1\\private", Credentials{"root", "wrong"}), 'P');
        const auto start = Clock::now();
        note(seen.Unreachable, Attach("Q: \\\\127.0.0.2\\public"), 'Q');
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
        note(seen.Missing, Attach("R: \\\\127.0.0.1\\nothing"), 'R');
        // "%41" is no "A", and "bob@" no user: the text names the share and the server.
        note(seen.Escaped, Attach("S: \\\\127.0.0.1\\100%41"), 'S');
        note(seen.WithUser, Attach("T: \\\\bob@127.0.0.1\\public"), 'T');
        return seen;
    };
    const auto english = tryAll();
    EXPECT_EQ(english.WrongPassword, 86);
    EXPECT_EQ(english.Unreachable, 53);
    EXPECT_EQ(english.Missing, 67);
    EXPECT_EQ(english.Escaped, 67);
    EXPECT_EQ(english.WithUser, 53);
    EXPECT_EQ(english.Output.find("wrong"), std::string::npos) << "the password was printed";
    EXPECT_EQ(english.Output.find("WARNING"), std::string::npos) << english.Output;

    // A desktop in German: its daemons and the carrier speak it.
    Lab.EndSession();
    ASSERT_EQ(Lab.StartSession("de_DE.UTF-8"), "");
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const auto german = tryAll();
    setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(german.WrongPassword, 86);
    EXPECT_EQ(german.Unreachable, 53);
    EXPECT_EQ(german.Missing, 67);
    EXPECT_EQ(german.Escaped, 67);
    EXPECT_EQ(german.WithUser, 53);
    std::cout << german.Output;
}

TEST_F(SmbShare, ANameWithBlanksAndUmlautsIsTheShareItNames)
{
    const auto attached = Attach("U: \\\\127.0.0.1\\Team Files \xC3\x9C");
    ASSERT_EQ(attached.ExitStatus, 0) << attached.Output;
    EXPECT_EQ(ReadBytes(Drives / "U" / "plan.txt"), "team");
    EXPECT_EQ(Run(DetachArguments('U')).ExitStatus, 0);
    // A folder below the share that is not there.
    EXPECT_EQ(Attach("U: \\\\127.0.0.1\\public\\no such folder").ExitStatus, 67);
    ExpectNothingLeft('U');
}

TEST_F(SmbShare, NoCommandLineOrEnvironmentHoldsThePasswordWhileTheServerStalls)
{
    const std::string password = SmbLab::Password;
    Lab.PauseServer();
    std::atomic<bool> done = false;
    CommandResult result;
    std::thread attach([&] {
        result = Attach("P: \\\\127.0.0.1\\private", Credentials{"root", password});
        done = true;
    });

    int carriers = 0;
    std::vector<std::string> holders;
    const auto until = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < until && !done) {
        for (const auto& process : fs::directory_iterator("/proc")) {
            const auto name = process.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos || name == std::to_string(getpid()))
                continue;
            const auto command = ReadBytes(process.path() / "cmdline");
            // The carrier, by its arguments: net use P: ...
            const auto program = command.substr(0, command.find('\0'));
            if (program.ends_with("/corvane-net") && command.find(std::string_view("\0use\0P:\0", 8)) == program.size())
                ++carriers;
            for (const auto* part : {"cmdline", "environ"}) {
                if (ReadBytes(process.path() / part).find(password) != std::string::npos)
                    holders.push_back(name + "/" + part + ": " + command);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(done) << "the attach did not wait for the stalled server: " << result.Output;
    Lab.ResumeServer();
    attach.join();
    EXPECT_GT(carriers, 0) << "the carrier was never seen running";
    EXPECT_TRUE(holders.empty()) << holders.front();
    EXPECT_EQ(result.ExitStatus, 0) << result.Output;
    EXPECT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
}

TEST_F(SmbShare, RestoreAttachesPersistentLettersAgainAfterALogOut)
{
    ASSERT_EQ(Attach("S: \\\\127.0.0.1\\public", std::nullopt, true).ExitStatus, 0);
    ASSERT_EQ(Attach("T: \\\\127.0.0.1\\public\\sub", std::nullopt, false).ExitStatus, 0);
    const auto autostart = Config / "autostart" / "corvane-net-restore.desktop";
    ASSERT_TRUE(fs::exists(autostart));

    Lab.EndSession();
    EXPECT_FALSE(fs::exists(Drives / "S" / "sub")) << "the log-out left the share answering";
    ASSERT_EQ(Lab.StartSession(), "");
    const auto restored = Run({"net", "restore"});
    ASSERT_EQ(restored.ExitStatus, 0) << restored.Output;
    EXPECT_EQ(ReadBytes(Drives / "S" / "sub" / "file.txt"), "hello");
    EXPECT_FALSE(Linked('T'));
    EXPECT_TRUE(fs::exists(autostart));
    const auto listed = Run({"net", "use"});
    EXPECT_NE(listed.Output.find("OK           S:        \\\\127.0.0.1\\public\n"), std::string::npos) << listed.Output;

    ASSERT_EQ(Run(DetachArguments('S')).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(autostart));
    ExpectNothingLeft('S');
}

TEST_F(SmbShare, RestoreLeavesOutAShareThatNeedsAPasswordAndSaysSo)
{
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\private", Credentials{"root", SmbLab::Password}, true).ExitStatus, 0);
    Lab.EndSession();
    ASSERT_EQ(Lab.StartSession(), "");
    // No keyring here, and nobody to ask.
    const auto restored = Run({"net", "restore"});
    EXPECT_EQ(restored.ExitStatus, 2);
    EXPECT_NE(restored.Output.find("P: \\\\127.0.0.1\\private (86)"), std::string::npos) << restored.Output;
    EXPECT_TRUE(Linked('P')) << "the letter is kept for a later attach";
    ExpectNothingLeft('Q');
    // The lost letter is attached anew over its dangling link.
    const auto again = Attach("P: \\\\127.0.0.1\\private", Credentials{"root", SmbLab::Password}, false);
    EXPECT_EQ(again.ExitStatus, 0) << again.Output;
    EXPECT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
}

TEST_F(SmbShare, ALetterTakenWhileTheServerStallsIsNotTakenOver)
{
    Lab.PauseServer();
    CommandResult result;
    std::thread attach([&] { result = Attach("E: \\\\127.0.0.1\\public"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    WriteBytes(Drives / "E", "the user's own file");
    Lab.ResumeServer();
    attach.join();
    EXPECT_EQ(result.ExitStatus, 85) << result.Output;
    EXPECT_EQ(ReadBytes(Drives / "E"), "the user's own file");
    EXPECT_FALSE(fs::exists(Drives / ".E.corvane"));
    const auto mounts = Lab.Mounts();
    EXPECT_EQ(mounts.find("127.0.0.1"), std::string::npos) << "the mount made for the lost letter stayed: " << mounts;
}

TEST_F(SmbShare, DetachFreesTheLetterFirstAndLeavesWhatIsPutThereDuringTheUnmount)
{
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\public").ExitStatus, 0);
    Lab.PauseServer();
    // The window's inventory tells a remote drive without looking into the stalled share.
    const auto asked = Clock::now();
    EXPECT_EQ(MakeSystemDriveInventory()->DriveType('P'), 4);
    EXPECT_LT(Clock::now() - asked, std::chrono::milliseconds(500));
    CommandResult result;
    std::atomic<bool> done = false;
    std::thread detach([&] {
        result = Run(DetachArguments('P'));
        done = true;
    });
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (Linked('P') && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(Linked('P')) << "the letter waited for the stalled server";
    const auto music = Dir / "Music";
    fs::create_directories(music);
    fs::create_directory_symlink(music, Drives / "P");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Lab.ResumeServer();
    detach.join();
    EXPECT_EQ(result.ExitStatus, 0) << result.Output;
    EXPECT_EQ(fs::read_symlink(Drives / "P"), music);
    EXPECT_FALSE(fs::exists(Drives / ".P.corvane"));
    const auto mounts = Lab.Mounts();
    EXPECT_EQ(mounts.find("127.0.0.1"), std::string::npos) << mounts;
}

TEST_F(SmbShare, ASharedMountedForOneUserIsRefusedToAnother)
{
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\private", Credentials{"root", SmbLab::Password}).ExitStatus, 0);
    const auto other = Attach("Q: \\\\127.0.0.1\\private", Credentials{"mallory", "WRONG"});
    EXPECT_EQ(other.ExitStatus, 2);
    EXPECT_NE(other.Output.find("System error 1219 has occurred.\n\nMultiple connections to a server or shared resource "
                                "by the same user, using more than one user name, are not allowed."),
              std::string::npos)
        << other.Output;
    EXPECT_FALSE(Linked('Q'));
    EXPECT_FALSE(fs::exists(Drives / ".Q.corvane"));
    // The same user in another case, or no user at all, uses the mount there is.
    ASSERT_EQ(Attach("R: \\\\127.0.0.1\\PRIVATE", Credentials{"ROOT", SmbLab::Password}).ExitStatus, 0);
    ASSERT_EQ(Attach("S: \\\\127.0.0.1\\private").ExitStatus, 0);
    for (const char letter : {'P', 'R', 'S'})
        EXPECT_EQ(Run(DetachArguments(letter)).ExitStatus, 0);
    ExpectNothingLeft('P');
}

TEST_F(SmbShare, RestoreDuringAStallKeepsTheMountItMadeItsOwn)
{
    ASSERT_EQ(Attach("S: \\\\127.0.0.1\\public", std::nullopt, true).ExitStatus, 0);
    ASSERT_NE(ReadBytes(Drives / ".S.corvane").find("mounted=YES\n"), std::string::npos);
    Lab.PauseServer();
    CommandResult restored;
    std::thread restore([&] { restored = Run({"net", "restore"}); });
    std::this_thread::sleep_for(std::chrono::seconds(4));
    Lab.ResumeServer();
    restore.join();
    EXPECT_EQ(restored.ExitStatus, 0) << restored.Output;
    EXPECT_NE(ReadBytes(Drives / ".S.corvane").find("mounted=YES\n"), std::string::npos) << ReadBytes(Drives / ".S.corvane");
    ASSERT_EQ(Run(DetachArguments('S')).ExitStatus, 0);
    ExpectNothingLeft('S');
}

TEST_F(SmbShare, APasswordLineEndsWithCrLfAndNothingPrintsIt)
{
    // The window's environment may hold GLib's debugging switches; the carrier drops them.
    setenv("G_DBUS_DEBUG", "message,payload", 1);
    setenv("G_MESSAGES_DEBUG", "all", 1);
    const auto carrier = ShellQuoted(CORVANE_NET);
    const auto run = [&](const std::string& input) {
        WriteBytes(Dir / "input", input);
        const auto command = carrier + " use P: '\\\\127.0.0.1\\private' '*' /USER:root /PERSISTENT:NO <"
                           + ShellQuoted(Dir / "input") + " >" + ShellQuoted(Dir / "output") + " 2>&1";
        const int status = std::system(command.c_str());
        return CommandResult{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(Dir / "output")};
    };
    const auto crlf = run(std::string(SmbLab::Password) + "\r\n");
    EXPECT_EQ(crlf.ExitStatus, 0) << crlf.Output;
    EXPECT_EQ(crlf.Output.find(SmbLab::Password), std::string::npos) << crlf.Output;
    EXPECT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
    EXPECT_EQ(run(std::string(SmbLab::Password) + std::string("\0garbage\n", 9)).ExitStatus, 86);
    EXPECT_EQ(run("\n").ExitStatus, 86);
    EXPECT_EQ(run("").ExitStatus, 86);
    const auto wrong = Attach("P: \\\\127.0.0.1\\private", Credentials{"root", "not " + std::string(SmbLab::Password)});
    EXPECT_EQ(wrong.ExitStatus, 86);
    EXPECT_EQ(wrong.Output.find(SmbLab::Password), std::string::npos) << wrong.Output;
    unsetenv("G_DBUS_DEBUG");
    unsetenv("G_MESSAGES_DEBUG");
    ExpectNothingLeft('P');
}

TEST_F(SmbShare, ALetterLeftFromAnEndedSessionIsRemovedOutsideOne)
{
    ASSERT_EQ(Attach("S: \\\\127.0.0.1\\public").ExitStatus, 0);
    Lab.EndSession();
    const auto detached = Run(DetachArguments('S'));
    EXPECT_EQ(detached.ExitStatus, 0) << detached.Output;
    EXPECT_NE(detached.Output.find("The drive was removed, but its share could not be let go"), std::string::npos)
        << detached.Output;
    EXPECT_FALSE(Linked('S'));
    EXPECT_FALSE(fs::exists(Drives / ".S.corvane"));
}

TEST_F(SmbShare, RestoreWaitsForAServerThatComesUpLaterAndStopsAtOnceForARefusedPassword)
{
    ASSERT_EQ(Attach("S: \\\\127.0.0.1\\public", std::nullopt, true).ExitStatus, 0);
    Lab.EndSession();
    ASSERT_EQ(Lab.StartSession(), "");
    Lab.StopServer();

    // Told to try once, it tries once.
    auto start = Clock::now();
    const auto once = Run({"net", "restore", "--wait", "0"});
    EXPECT_EQ(once.ExitStatus, 2);
    EXPECT_NE(once.Output.find("S: \\\\127.0.0.1\\public (53)"), std::string::npos) << once.Output;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(8));

    CommandResult restored;
    std::thread restore([&] { restored = Run({"net", "restore", "--wait", "60"}); });
    std::this_thread::sleep_for(std::chrono::seconds(10));
    // Waited for before any assertion may end the test: a thread left running would end the program.
    const auto started = Lab.StartServer();
    restore.join();
    ASSERT_EQ(started, "");
    EXPECT_EQ(restored.ExitStatus, 0) << restored.Output;
    EXPECT_EQ(ReadBytes(Drives / "S" / "sub" / "file.txt"), "hello");
    ASSERT_EQ(Run(DetachArguments('S')).ExitStatus, 0);
    ExpectNothingLeft('S');

    // A refused password is no host that may come back.
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\private", Credentials{"root", SmbLab::Password}, true).ExitStatus, 0);
    Lab.EndSession();
    ASSERT_EQ(Lab.StartSession(), "");
    start = Clock::now();
    const auto refused = Run({"net", "restore", "--wait", "60"});
    EXPECT_EQ(refused.ExitStatus, 2);
    EXPECT_NE(refused.Output.find("P: \\\\127.0.0.1\\private (86)"), std::string::npos) << refused.Output;
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    ExpectNothingLeft('Q');
}

TEST_F(SmbShare, TheWatcherAttachesALetterAgainWhenItsServerIsBackButNotOneTheUserDetached)
{
    ASSERT_EQ(Attach("S: \\\\127.0.0.1\\public", std::nullopt, true).ExitStatus, 0);
    ASSERT_EQ(Attach("T: \\\\127.0.0.1\\public\\sub", std::nullopt, true).ExitStatus, 0);
    CommandResult watched;
    std::thread watcher([&] { watched = Run({"net", "restore", "--watch"}); });
    // However the test ends, the watcher ends with the session and is waited for.
    const auto endWatcher = [&] {
        if (!watcher.joinable())
            return;
        Lab.EndSession();
        watcher.join();
    };
    struct AtEnd {
        std::function<void()> Do;
        ~AtEnd() { Do(); }
    } const ending{endWatcher};
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // One watcher a folder: a second one ends at once.
    const auto second = Run({"net", "restore", "--watch"});
    EXPECT_EQ(second.ExitStatus, 0);
    EXPECT_NE(second.Output.find("Another corvane-net keeps the letters"), std::string::npos) << second.Output;

    // The server goes, and the share's mount with it; the user lets T go meanwhile.
    Lab.StopServer();
    std::system("timeout 10 gio mount -u smb://127.0.0.1/public >/dev/null 2>&1");
    ASSERT_EQ(Run(DetachArguments('T')).ExitStatus, 0);
    EXPECT_FALSE(fs::exists(Drives / "S" / "sub"));
    ASSERT_EQ(Lab.StartServer(), "");
    // GVfs's folder of a share mounted again may give input/output errors for a moment.
    const auto until = Clock::now() + std::chrono::seconds(40);
    while (ReadBytes(Drives / "S" / "sub" / "file.txt") != "hello" && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(ReadBytes(Drives / "S" / "sub" / "file.txt"), "hello") << "S did not come back";
    EXPECT_FALSE(Linked('T')) << "a letter the user detached came back";

    // The watcher ends with the session.
    endWatcher();
    ASSERT_EQ(Lab.StartSession(), "");
    ASSERT_EQ(Run(DetachArguments('S')).ExitStatus, 0);
    ExpectNothingLeft('S');
}

TEST_F(SmbShare, APausedServerIsOneThatCannotBeReachedAndHoldsUpNoOtherLetter)
{
    Lab.PauseServer();
    CommandResult stalled;
    std::thread attach([&] { stalled = Attach("Q: \\\\127.0.0.1\\public"); });
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto local = Dir / "Local Ü";
    fs::create_directories(local);
    const auto start = Clock::now();
    const auto other = Attach("K: " + local.string());
    const auto took = Clock::now() - start;
    attach.join();
    Lab.ResumeServer();
    EXPECT_EQ(other.ExitStatus, 0) << other.Output;
    EXPECT_LT(took, std::chrono::seconds(1)) << "an attach waited for another letter's stalled server";
    EXPECT_EQ(stalled.ExitStatus, 53) << "a paused server is no missing share: " << stalled.Output;
    EXPECT_FALSE(Linked('Q'));
    EXPECT_EQ(Run(DetachArguments('K')).ExitStatus, 0);
}

TEST_F(SmbShare, RestoreTriesEveryLetterOnceBeforeItWaitsForAny)
{
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\public\\sub", std::nullopt, true).ExitStatus, 0);
    // Before P, a letter whose server is not there at all.
    const auto gone = Dir / "gone";
    WriteBytes(Drives / ".A.corvane", "persistent=YES\npath=\\\\127.0.0.2\\team\ntarget=" + gone.string() + "\n");
    fs::create_directory_symlink(gone, Drives / "A");
    Lab.EndSession();
    ASSERT_EQ(Lab.StartSession(), "");

    const auto start = Clock::now();
    CommandResult restored;
    std::thread restore([&] { restored = Run({"net", "restore", "--wait", "10"}); });
    while (!fs::exists(Drives / "P" / "file.txt") && Clock::now() - start < std::chrono::seconds(9))
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto answered = Clock::now() - start;
    restore.join();
    EXPECT_LT(answered, std::chrono::seconds(6)) << "P waited for A's server";
    EXPECT_EQ(restored.ExitStatus, 2);
    EXPECT_NE(restored.Output.find("A: \\\\127.0.0.2\\team (53)"), std::string::npos) << restored.Output;
    EXPECT_EQ(Run(DetachArguments('A')).ExitStatus, 0);
    EXPECT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
    ExpectNothingLeft('P');
}

TEST_F(SmbShare, NothingWaitsForAStalledShareOnceItsWorkIsDone)
{
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\public", std::nullopt, true).ExitStatus, 0);
    const auto program = Dir / "Programs Ü";
    fs::create_directories(program);
    fs::copy_file(CORVANE, program / "corvane");
    WriteBytes(program / "Corvane2.pro", "1\r\nP: \\\\127.0.0.1\\public\r\n");
    Lab.PauseServer();
    // Through a pipe, as $(corvane show) reads it: the pipe ends only with every process that holds it.
    auto start = Clock::now();
    const int shown = std::system((ShellQuoted(program / "corvane") + " show | cat >" + ShellQuoted(Dir / "shown")).c_str());
    const auto showing = Clock::now() - start;
    start = Clock::now();
    const auto listed = Run({"net", "use"});
    const auto listing = Clock::now() - start;
    Lab.ResumeServer();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(ReadBytes(Dir / "shown"), "P: \\\\127.0.0.1\\public\tAttached, not answering\n");
    EXPECT_LT(showing, std::chrono::seconds(5)) << "corvane show waited for the stalled share";
    EXPECT_NE(listed.Output.find("Unavailable  P:"), std::string::npos) << listed.Output;
    EXPECT_LT(listing, std::chrono::seconds(5)) << "corvane-net use waited for the stalled share";
    EXPECT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
    ExpectNothingLeft('P');
}

TEST_F(SmbShare, TheWatcherTriesARefusedLetterAgainOnceTheUserAttachedItAnew)
{
    const std::string line = "P: \\\\127.0.0.1\\private";
    ASSERT_EQ(Attach(line, Credentials{"root", SmbLab::Password}, true).ExitStatus, 0);
    // Started apart, so that what it logs can be read while it runs.
    const auto log = Dir / "watcher.log";
    ASSERT_EQ(std::system((ShellQuoted(CORVANE_NET) + " restore --watch 2>" + ShellQuoted(log) + " & echo $! >"
                           + ShellQuoted(Dir / "watcher.pid"))
                              .c_str()),
              0);
    const pid_t watcher = std::stoi(ReadBytes(Dir / "watcher.pid"));
    struct AtEnd {
        SmbLab& Lab;
        pid_t Watcher;
        ~AtEnd()
        {
            Lab.EndSession();
            for (int tick = 0; tick < 100 && kill(Watcher, 0) == 0; ++tick)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            EXPECT_NE(kill(Watcher, SIGKILL), 0) << "the watcher outlived its session";
        }
    } const ending{Lab, watcher};
    // Without its mount, as after a server's restart; no keyring holds the password.
    const auto dropMountAndAwaitGivingUp = [&](std::size_t times) {
        std::system("timeout 10 gio mount -u smb://root@127.0.0.1/private/ >/dev/null 2>&1");
        const std::string refused = "Not attached again until attached anew: " + line + " (86)";
        const auto count = [&] {
            const auto text = ReadBytes(log);
            std::size_t found = 0;
            for (auto at = text.find(refused); at != std::string::npos; at = text.find(refused, at + 1))
                ++found;
            return found;
        };
        const auto until = Clock::now() + std::chrono::seconds(30);
        while (count() < times && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return count();
    };
    ASSERT_EQ(dropMountAndAwaitGivingUp(1), 1U) << ReadBytes(log);
    ASSERT_EQ(Attach(line, Credentials{"root", SmbLab::Password}, true).ExitStatus, 0);
    EXPECT_EQ(dropMountAndAwaitGivingUp(2), 2U) << "a letter attached anew was not watched: " << ReadBytes(log);
}

TEST_F(SmbShare, TheServersSharesAreListedByTheDialogsListerAndByCorvaneAndAStalledServerGivesNothingInTime)
{
    const auto lister = MakeSystemShareLister();
    const auto sorted = [](ShareList list) {
        std::sort(list.Names.begin(), list.Names.end());
        return list.Names;
    };
    const std::vector<std::string> exported{"100A", "Team Files \xC3\x9C", "private", "public"};
    const auto withLogin = lister->List("127.0.0.1", ShareLogin{"root", Secret(SmbLab::Password)});
    EXPECT_EQ(withLogin.Status, 0) << withLogin.Reason;
    EXPECT_EQ(sorted(withLogin), exported);
    const auto asGuest = lister->List("127.0.0.1", std::nullopt);
    EXPECT_EQ(asGuest.Status, 0) << asGuest.Reason;
    EXPECT_EQ(sorted(asGuest), exported);
    EXPECT_EQ(Lab.Mounts().find("127.0.0.1"), std::string::npos) << "listing left a mount behind: " << Lab.Mounts();

    const auto program = Dir / "Programs \xC3\x9C";
    fs::create_directories(program);
    fs::copy_file(CORVANE, program / "corvane");
    const auto listed = Dir / "listed";
    ASSERT_EQ(std::system((ShellQuoted(program / "corvane") + " shares '\\\\127.0.0.1' >" + ShellQuoted(listed)).c_str()), 0);
    auto lines = ReadBytes(listed);
    for (const auto& name : exported)
        EXPECT_NE(lines.find("\\\\127.0.0.1\\" + name + "\n"), std::string::npos) << name << " in " << lines;

    // By another name: GVfs keeps what a server listed a while.
    Lab.PauseServer();
    const auto start = Clock::now();
    const auto stalled = lister->List("localhost", std::nullopt);
    const auto took = Clock::now() - start;
    Lab.ResumeServer();
    EXPECT_EQ(stalled.Status, 53) << stalled.Reason;
    EXPECT_TRUE(stalled.Names.empty());
    EXPECT_LT(took, ShareListLimit + std::chrono::seconds(2)) << "the list waited past its limit";
}

TEST_F(SmbShare, AFolderBrowsedInAMountedShareComesBackAsItsNetworkPath)
{
    ASSERT_EQ(Attach("P: \\\\127.0.0.1\\public").ExitStatus, 0);
    ASSERT_EQ(Attach("T: \\\\127.0.0.1\\Team Files \xC3\x9C").ExitStatus, 0);
    const auto mounted = [&](char letter) { return fs::read_symlink(Drives / std::string(1, letter)); };
    EXPECT_EQ(NetworkPathOfFolder((mounted('P') / "sub").string()), "\\\\127.0.0.1\\public\\sub");
    // GVfs names a mounted share in small letters; a share's name knows no case.
    EXPECT_EQ(NetworkPathOfFolder(mounted('T').string()), "\\\\127.0.0.1\\team files \xC3\xBC");
    EXPECT_EQ(NetworkPathOfFolder(Dir.Path().string()), std::nullopt) << "a local folder";
    for (const char letter : {'P', 'T'})
        EXPECT_EQ(Run(DetachArguments(letter)).ExitStatus, 0);
}

TEST(SmbShareLogin, AServerThatListsOnlyToALoginIsAskedWithOne)
{
    TempDir dir;
    SmbLab lab(dir / "lab", false);
    if (const auto why = lab.Start(); !why.empty())
        CORVANE_SKIP_OUTSIDE_CI(why);
    const auto lister = MakeSystemShareLister();
    const auto asGuest = lister->List("127.0.0.1", std::nullopt);
    EXPECT_TRUE(asGuest.LoginNeeded) << asGuest.Status << " " << asGuest.Reason;
    EXPECT_TRUE(asGuest.Names.empty());
    const auto wrong = lister->List("127.0.0.1", ShareLogin{"root", Secret("not it")});
    EXPECT_EQ(wrong.Status, 86) << wrong.Reason;
    EXPECT_FALSE(wrong.LoginNeeded);
    auto withLogin = lister->List("127.0.0.1", ShareLogin{"WORKGROUP\\root", Secret(SmbLab::Password)});
    EXPECT_EQ(withLogin.Status, 0) << withLogin.Reason;
    std::sort(withLogin.Names.begin(), withLogin.Names.end());
    EXPECT_EQ(withLogin.Names, (std::vector<std::string>{"100A", "Team Files \xC3\x9C", "private", "public"}));
}

