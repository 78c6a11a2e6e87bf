// The console program end to end: the built corvane copied into a folder of
// its own (capitals, a blank, an umlaut), with a carrier beside it: a recording
// one, or the real one over local folders.
#include "support/temp_dir.h"

#include <pty.h>
#include <spawn.h>
#include <termios.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <map>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Logs each call's arguments, one a line in brackets, and its standard input;
// answers with the next status of the file "statuses" (0 when none is left),
// and prints the failure's reason as the carrier does.
const char* const RecordingCarrier = R"(#!/bin/sh
here=$(dirname "$0")
{ printf 'call'; for a in "$@"; do printf ' [%s]' "$a"; done; printf '\nstdin:'; cat; printf '\n'; } >>"$here/calls"
status=0
if [ -s "$here/statuses" ]; then status=$(head -n 1 "$here/statuses"); sed -i 1d "$here/statuses"; fi
if [ -n "$ECHO_INPUT" ]; then cat "$here/calls"; fi
if [ "$status" = 0 ]; then echo "The command completed successfully."; exit 0; fi
printf 'System error %s has occurred.\n\nThe reason.\n' "$status" >&2
exit "$status"
)";

class Console : public ::testing::Test {
protected:
    Console()
    {
        fs::create_directories(Program);
        fs::copy_file(CORVANE, Program / "corvane");
        WriteBytes(Program / "corvane-net", RecordingCarrier);
        fs::permissions(Program / "corvane-net", fs::perms::owner_all);
        fs::create_directories(Drives);
        fs::permissions(Drives, fs::perms::owner_all);
        fs::create_directories(Dir / "home");
        Environment = {{"HOME", (Dir / "home").string()},
                       {"XDG_CONFIG_HOME", (Dir / "config").string()},
                       {"CORVANE_DRIVES_DIR", Drives.string()},
                       {"PATH", "/usr/bin:/bin"},
                       {"LANG", "de_DE.UTF-8"}};
        // Two profiles, Work the current one; a catalogue in which \\srv\secret needs credentials.
        WriteBytes(Program / "Corvane2.cfg", "1-3\r\nWork\r\nHome \xC3\x9C\r\n");
        fs::create_directories(Program / "Profile");
        WriteBytes(Program / "Profile" / "Work.pro",
                   "3\r\nE: \\\\srv\\pub\r\nF: \\\\srv\\secret\r\nG: \\\\srv\\tools\r\n");
        WriteBytes(Program / "Profile" / "Home \xC3\x9C.pro", "1\r\nH: \\\\nas\\media\r\n");
        WriteBytes(Program / "Corvane2.pro", "0");
        WriteBytes(Program / "Corvane2.net", "3 2.0\r\n0,\\\\srv\\pub\r\nPublic\r\n1,\\\\srv\\secret\r\nSecret\r\n"
                                             "0,\\\\srv\\tools\r\nTools \xFC");
    }

    Outcome Run(const std::vector<std::string>& arguments, const std::string& input = {})
    {
        WriteBytes(Dir / "input", input);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, (Dir / "input").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, (Dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, (Dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const auto program = (Program / "corvane").string();
        std::vector<std::string> words{program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        std::vector<std::string> pairs;
        for (const auto& [name, value] : Environment)
            pairs.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (auto& pair : pairs)
            envp.push_back(pair.data());
        envp.push_back(nullptr);
        pid_t child = 0;
        const int started = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (started != 0)
            ADD_FAILURE() << "corvane could not be started";
        int status = 0;
        if (started != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            ADD_FAILURE() << "corvane did not end by itself (status " << status << ")";
            return {};
        }
        return {WEXITSTATUS(status), ReadBytes(Dir / "out"), ReadBytes(Dir / "err")};
    }

    // Starts corvane with a terminal as its input and output; its side in terminal.
    pid_t AtTerminal(const std::vector<std::string>& arguments, int& terminal)
    {
        const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
        if (child == 0) {
            for (const auto& [name, value] : Environment)
                setenv(name.c_str(), value.c_str(), 1);
            const auto program = (Program / "corvane").string();
            std::vector<char*> argv{const_cast<char*>("corvane")};
            for (const auto& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        return child;
    }

    // What the terminal shows, read into seen until it holds text; false when it ended first.
    static bool ReadUntil(int terminal, const std::string& text, std::string& seen)
    {
        char buffer[256];
        while (seen.find(text) == std::string::npos) {
            const auto got = read(terminal, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            seen.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }

    std::string Calls() const { return fs::exists(Program / "calls") ? ReadBytes(Program / "calls") : std::string(); }

    // The letter stands in the drives folder as the carrier leaves it.
    void Present(char letter) { fs::create_directory_symlink(Dir.Path(), Drives / std::string(1, letter)); }

    TempDir Dir;
    fs::path Program = Dir / "Corvane Programs Ü";
    fs::path Drives = Dir / "Drives";
    std::map<std::string, std::string> Environment;
};

// The stored files and what they hold, every other file by name.
std::string StoredFilesOf(const fs::path& folder)
{
    std::string all;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        const bool stored = name.rfind("Corvane2.", 0) == 0 || entry.path().extension() == ".pro";
        all += entry.path().string() + "\n" + (stored ? ReadBytes(entry.path()) + "\n" : std::string());
    }
    return all;
}

} // namespace

TEST_F(Console, ListsTheProfilesAndTheCatalogueAsStored)
{
    const auto profiles = Run({"profiles"});
    EXPECT_EQ(profiles.Status, 0);
    EXPECT_EQ(profiles.Out, "  Default Network Mapping List\n* Work\n  Home \xC3\x9C\n");
    EXPECT_EQ(profiles.Err, "");

    const auto catalogue = Run({"catalogue"});
    EXPECT_EQ(catalogue.Status, 0);
    EXPECT_EQ(catalogue.Out, "\\\\srv\\pub\tPublic\t-\n\\\\srv\\secret\tSecret\tuser and password\n"
                             "\\\\srv\\tools\tTools \xFC\t-\n");

    const auto version = Run({"--version"});
    EXPECT_EQ(version.Out, "corvane " CORVANE_VERSION "\n");
    const auto help = Run({"attach", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("usage: corvane <command> [options]\n", 0), 0U) << help.Out;
    EXPECT_EQ(Calls(), "") << "listing ran the network command";
}

TEST_F(Console, AttachRunsTheWindowsArgumentsLineByLine)
{
    const auto attached = Run({"attach", "E:", "g:"});
    EXPECT_EQ(attached.Status, 0) << attached.Err;
    EXPECT_EQ(attached.Out, "E: \\\\srv\\pub\tattached\nG: \\\\srv\\tools\tattached\n");
    EXPECT_EQ(Calls(), "call [use] [E:] [\\\\srv\\pub] [/PERSISTENT:NO]\nstdin:\n"
                       "call [use] [G:] [\\\\srv\\tools] [/PERSISTENT:NO]\nstdin:\n");

    fs::remove(Program / "calls");
    const auto persistent = Run({"attach", "--persistent", "Home \xC3\x9C"});
    EXPECT_EQ(persistent.Status, 0);
    EXPECT_EQ(persistent.Out, "H: \\\\nas\\media\tattached\n");
    EXPECT_EQ(Calls(), "call [use] [H:] [\\\\nas\\media] [/PERSISTENT:YES]\nstdin:\n");
}

TEST_F(Console, CredentialsComeFromStandardInputAndThePasswordNeverShows)
{
    const std::string password = "p\xC3\xA4ss w*rd \"$(x)\"";
    Environment["ECHO_INPUT"] = "1";  // the carrier prints what it got, the password too
    WriteBytes(Program / "statuses", "86\n");
    const auto refused = Run({"attach", "--user", "CORP\\anna", "--password-stdin", "F:"}, password + "\n");
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(Calls(), "call [use] [F:] [\\\\srv\\secret] [*] [/USER:CORP\\anna] [/PERSISTENT:NO]\nstdin:"
                           + password + "\n\n");
    EXPECT_EQ(refused.Out, "F: \\\\srv\\secret\tnot attached: status 86: "
                           "(What the command printed held the password and is not shown.)\n");
    EXPECT_EQ(refused.Err.find("ss w*rd"), std::string::npos) << refused.Err;

    // One line of input serves every line that needs it; the others get none.
    fs::remove(Program / "calls");
    Environment.erase("ECHO_INPUT");
    const auto all = Run({"attach", "--user=bob", "--password-stdin"}, "s3cret\n");
    EXPECT_EQ(all.Status, 0) << all.Out << all.Err;
    EXPECT_EQ(Calls(), "call [use] [E:] [\\\\srv\\pub] [/PERSISTENT:NO]\nstdin:\n"
                       "call [use] [F:] [\\\\srv\\secret] [*] [/USER:bob] [/PERSISTENT:NO]\nstdin:s3cret\n\n"
                       "call [use] [G:] [\\\\srv\\tools] [/PERSISTENT:NO]\nstdin:\n");
    EXPECT_EQ((all.Out + all.Err).find("s3cret"), std::string::npos);
}

TEST_F(Console, AtATerminalTheUserNameIsAskedAndThePasswordTypedUnseen)
{
    int terminal = -1;
    const pid_t child = AtTerminal({"attach", "F:"}, terminal);
    ASSERT_GE(child, 0);
    std::string seen;
    const auto readUntil = [&](const std::string& text) { return ReadUntil(terminal, text, seen); };
    ASSERT_TRUE(readUntil("User name for \\\\srv\\secret: ")) << seen;
    ASSERT_EQ(write(terminal, "anna\n", 5), 5);
    ASSERT_TRUE(readUntil("Password for anna at \\\\srv\\secret: ")) << seen;
    termios mode{};
    ASSERT_EQ(tcgetattr(terminal, &mode), 0);
    EXPECT_EQ(mode.c_lflag & ECHO, 0u) << "the password is typed unseen";
    // Ctrl-Z, and on again as after fg: what is typed then stays unseen.
    ASSERT_EQ(write(terminal, "\x1a", 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGCONT);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(tcgetattr(terminal, &mode), 0);
    EXPECT_EQ(mode.c_lflag & ECHO, 0u) << "typing was shown after Ctrl-Z and fg";
    ASSERT_EQ(write(terminal, "s3cret\n", 7), 7);
    ASSERT_TRUE(readUntil("\tattached")) << seen;
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    readUntil("\n\n");  // the rest, up to the end
    close(terminal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(seen.find("s3cret"), std::string::npos) << seen;
    EXPECT_EQ(Calls(), "call [use] [F:] [\\\\srv\\secret] [*] [/USER:anna] [/PERSISTENT:NO]\nstdin:s3cret\n\n");
}

TEST_F(Console, ALineThatNeedsCredentialsNobodyCanGiveFailsAndTheOthersGoOn)
{
    const auto noTerminal = Run({"attach"});
    EXPECT_EQ(noTerminal.Status, 1);
    EXPECT_EQ(noTerminal.Out, "E: \\\\srv\\pub\tattached\n"
                              "F: \\\\srv\\secret\tnot attached: needs a user name and password: give --user NAME, and "
                              "the password at a terminal or with --password-stdin\n"
                              "G: \\\\srv\\tools\tattached\n");
    EXPECT_EQ(Calls().find("[F:]"), std::string::npos);

    const auto userOnly = Run({"attach", "--user", "bob", "F:"});
    EXPECT_EQ(userOnly.Status, 1);
    EXPECT_EQ(userOnly.Out, "F: \\\\srv\\secret\tnot attached: needs a password, and there is no terminal to ask "
                            "at: give --password-stdin\n");

    for (const auto& [input, reason] : std::vector<std::pair<std::string, std::string>>{
             {std::string("a\0b\n", 4), "The password holds a NUL character."},
             {"one\ntwo\n", "The password holds a line end."},
             {std::string(2000, 'x') + "\n", "The password is longer than 1024 bytes."}}) {
        const auto bad = Run({"attach", "--user", "bob", "--password-stdin", "F:", "E:"}, input);
        EXPECT_EQ(bad.Status, 1);
        EXPECT_EQ(bad.Out, "E: \\\\srv\\pub\tattached\nF: \\\\srv\\secret\tnot attached: the password from standard "
                           "input was refused: " + reason + "\n");
    }
    EXPECT_EQ(Calls().find("[F:]"), std::string::npos);
}

TEST_F(Console, AFailureGivesTheStatusAndTheCarriersReason)
{
    WriteBytes(Program / "statuses", "0\n67\n");
    const auto outcome = Run({"attach", "E:", "G:"});
    EXPECT_EQ(outcome.Status, 1);
    EXPECT_EQ(outcome.Out, "E: \\\\srv\\pub\tattached\n"
                           "G: \\\\srv\\tools\tnot attached: status 67: System error 67 has occurred. The reason.\n");

    fs::remove(Program / "corvane-net");
    const auto missing = Run({"attach", "E:"});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Out, "E: \\\\srv\\pub\tnot attached: status -1: the network command could not be started\n");
}

TEST_F(Console, WaitTriesAgainWhileTheServerCannotBeReached)
{
    WriteBytes(Program / "statuses", "53\n53\n0\n");
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = Run({"attach", "--wait", "20", "E:"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Out << outcome.Err;
    EXPECT_EQ(outcome.Out, "E: \\\\srv\\pub\tattached\n");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "1 s and 2 s between the tries";
    EXPECT_EQ(outcome.Err, "corvane: E: \\\\srv\\pub: not attached yet: status 53: System error 53 has occurred. The "
                           "reason.; trying again\n");

    // A missing share ends the waiting at once; without --wait nothing is tried again.
    fs::remove(Program / "calls");
    WriteBytes(Program / "statuses", "53\n67\n53\n");
    EXPECT_EQ(Run({"attach", "--wait", "20", "E:"}).Out,
              "E: \\\\srv\\pub\tnot attached: status 67: System error 67 has occurred. The reason.\n");
    EXPECT_EQ(Run({"attach", "E:"}).Status, 1);
    const auto calls = Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 6) << calls;
}

TEST_F(Console, DetachRunsOnlyWhereSomethingIsAttachedAndAsksNothing)
{
    Present('F');
    WriteBytes(Program / "statuses", "0\n");
    const auto outcome = Run({"detach"});
    EXPECT_EQ(outcome.Status, 0) << outcome.Err;
    EXPECT_EQ(outcome.Out,
              "E: \\\\srv\\pub\tnot attached\nF: \\\\srv\\secret\tdetached\nG: \\\\srv\\tools\tnot attached\n");
    EXPECT_EQ(Calls(), "call [use] [F:] [/DELETE]\nstdin:\n");

    WriteBytes(Program / "statuses", "2\n");
    const auto refused = Run({"detach", "Work", "f:"});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Out, "F: \\\\srv\\secret\tnot detached: status 2: System error 2 has occurred. The reason.\n");
}

TEST_F(Console, AWrongCommandLineRunsNothingAndSaysWhy)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "no command given"},
        {{"mount"}, "unknown command \"mount\""},
        {{"attach", "--force"}, "unknown option --force"},
        {{"attach", "Play"}, "no profile is named \"Play\" (corvane profiles lists them)"},
        {{"attach", "Q:"}, "Q: is no letter of the profile \"Work\""},
        {{"detach", "Home \xC3\x9C", "E:"}, "E: is no letter of the profile \"Home \xC3\x9C\""},
        {{"attach", "Work", "Home \xC3\x9C"}, "more than one profile named: \"Work\" and \"Home \xC3\x9C\""},
        {{"attach", "--user"}, "--user needs a value"},
        {{"attach", "--wait", "soon"}, "--wait takes a number of seconds from 0 to 86400, not \"soon\""},
        {{"attach", "--wait=-1"}, "--wait takes a number of seconds from 0 to 86400, not \"-1\""},
        {{"attach", "--persistent=yes"}, "--persistent takes no value"},
        {{"detach", "--persistent"}, "--persistent is an option of attach only"},
        {{"show", "--user", "bob"}, "--user is an option of attach only"},
        {{"attach", "--password-stdin"}, "--password-stdin needs --user NAME"},
        {{"profiles", "Work"}, "profiles takes no arguments"},
        {{"shares"}, "shares takes one server: \\\\SERVER"},
        {{"shares", "\\\\a", "\\\\b"}, "shares takes one server: \\\\SERVER"},
        {{"shares", "srv"}, "\"srv\" names no server: give \\\\SERVER"},
        {{"shares", "\\\\bad host"}, "\"\\\\bad host\" names no server: give \\\\SERVER"},
        {{"shares", "\\\\srv\\pub"}, "\"\\\\srv\\pub\" names no server: give \\\\SERVER"},
        {{"shares", "\\\\srv", "--persistent"}, "--persistent is an option of attach only"},
    };
    for (const auto& [arguments, reason] : cases) {
        const auto outcome = Run(arguments);
        EXPECT_EQ(outcome.Status, 2) << reason;
        EXPECT_EQ(outcome.Err, "corvane: " + reason + (reason.find("letter") == std::string::npos
                                                           && reason.find("profile is") == std::string::npos
                                                       ? "\nTry 'corvane --help'.\n"
                                                       : "\n"));
        EXPECT_EQ(outcome.Out, "");
    }
    EXPECT_EQ(Calls(), "");
}

TEST_F(Console, DamagedAndMissingFilesAreReadAsTheWindowReadsThemAndNeverWritten)
{
    WriteBytes(Program / "Corvane2.cfg", "Work\r\nHome \xC3\x9C\r\n");
    WriteBytes(Program / "Corvane2.net", "x 2.0\r\n0,\\\\srv\\pub\r\nPublic\r\n");
    WriteBytes(Program / "calls", "");  // the carrier's log is there before and after
    const auto before = StoredFilesOf(Program);
    const auto profiles = Run({"profiles"});
    EXPECT_EQ(profiles.Status, 0);
    EXPECT_EQ(profiles.Out, "* Default Network Mapping List\n  Work\n  Home \xC3\x9C\n");
    EXPECT_EQ(profiles.Err, "corvane: The Corvane2.cfg file is corrupted! The names it holds were read; it is left as "
                            "it is.\ncorvane: The Corvane2.net file is corrupted! The whole records before the damage "
                            "were read; it is left as it is.\n");
    Run({"attach", "Work"});
    Run({"show"});
    EXPECT_EQ(StoredFilesOf(Program), before) << "a stored file was written";
    EXPECT_FALSE(fs::exists(Program / "Corvane2.cfg.bak"));

    // No files at all: the default profile alone, with no lines.
    for (const auto* name : {"Corvane2.cfg", "Corvane2.net", "Corvane2.pro"})
        fs::remove(Program / name);
    EXPECT_EQ(Run({"profiles"}).Out, "* Default Network Mapping List\n");
    const auto catalogue = Run({"catalogue"});
    EXPECT_EQ(catalogue.Status, 0);
    EXPECT_EQ(catalogue.Err, "corvane: there is no catalogue (Corvane2.net) yet.\n");
    const auto attach = Run({"attach"});
    EXPECT_EQ(attach.Status, 1);
    EXPECT_EQ(attach.Err, "corvane: File " + (Program / "Corvane2.pro").string()
                              + " was not found or could not be read; the profile \"Default Network Mapping List\" "
                                "has no lines.\n");
    EXPECT_FALSE(fs::exists(Program / "Corvane2.pro"));
}

TEST_F(Console, APipeADeviceOrAFailingReadIsAFileThatCouldNotBeRead)
{
    const auto work = Program / "Profile" / "Work.pro";
    const auto unreadable = "corvane: File " + work.string()
                          + " was not found or could not be read; the profile \"Work\" has no lines.\n";
    fs::remove(work);
    ASSERT_EQ(mkfifo(work.c_str(), 0600), 0);
    const auto pipe = Run({"show"});
    EXPECT_EQ(pipe.Status, 0);
    EXPECT_EQ(pipe.Out, "");
    EXPECT_EQ(pipe.Err, unreadable);
    fs::remove(work);
    fs::create_symlink("/dev/zero", work);
    const auto zeros = Run({"attach"});
    EXPECT_EQ(zeros.Status, 1);
    EXPECT_EQ(zeros.Err, unreadable);

    // A catalogue whose reading fails half way holds none of what was read.
    std::string catalogue = "2000 2.0";
    for (int i = 0; i < 2000; ++i)
        catalogue += "\r\n0,\\\\srv\\share" + std::to_string(i) + "\r\nShare number " + std::to_string(i);
    WriteBytes(Program / "Corvane2.net", catalogue);
    // The loader splits its list at blanks, which the build's folder may hold.
    fs::copy_file(FAULTY_IO, Dir / "faulty-io.so");
    Environment["LD_PRELOAD"] = (Dir / "faulty-io.so").string();
    Environment["ASAN_OPTIONS"] = "verify_asan_link_order=0";
    Environment["FAULTY_READ_NAME"] = "Corvane2.net";
    Environment["FAULTY_READ_AFTER"] = "20000";
    const auto failed = Run({"catalogue"});
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(failed.Out, "");
    EXPECT_EQ(failed.Err, "corvane: Corvane2.net could not be read; no path is known to need a user name and password.\n");
    Environment.erase("FAULTY_READ_NAME");
    const auto whole = Run({"catalogue"}).Out;
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 2000) << "the preload failed more than that file";
}

TEST_F(Console, OnATerminalControlBytesInNamesAreShownNotObeyed)
{
    // A title change and a clipboard write, and a C1 control in UTF-8.
    WriteBytes(Program / "Corvane2.cfg", "1-2\r\nWork \x1b]0;owned\x07\r\n");
    WriteBytes(Program / "Corvane2.net", "1 2.0\r\n0,\\\\srv\\\x1b]52;c;aGk=\x07\r\nOn \xc2\x9b" "31m \xc3\xbc\xff");
    int terminal = -1;
    const pid_t child = AtTerminal({"profiles"}, terminal);
    ASSERT_GE(child, 0);
    std::string seen;
    ReadUntil(terminal, "\n\n", seen);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(terminal);
    EXPECT_EQ(seen, "  Default Network Mapping List\r\n* Work \\x1b]0;owned\\x07\r\n");

    const pid_t second = AtTerminal({"catalogue"}, terminal);
    ASSERT_GE(second, 0);
    seen.clear();
    ReadUntil(terminal, "\n\n", seen);
    ASSERT_EQ(waitpid(second, &status, 0), second);
    close(terminal);
    EXPECT_EQ(seen, "\\\\srv\\\\x1b]52;c;aGk=\\x07\tOn \\xc2\\x9b31m \xc3\xbc\\xff\t-\r\n");

    // Into a file or a pipe the bytes go as they are.
    EXPECT_EQ(Run({"profiles"}).Out, "  Default Network Mapping List\n* Work \x1b]0;owned\x07\n");
}

TEST_F(Console, TheRealCarrierAttachesShowsAndDetachesLocalFolders)
{
    fs::remove(Program / "corvane-net");
    fs::copy_file(CORVANE_NET, Program / "corvane-net");
    const auto share = Dir / "Share Ü";
    fs::create_directories(share);
    WriteBytes(Program / "Profile" / "Work.pro", "2\r\nK: " + share.string() + "\r\nL: " + (Dir / "gone").string());

    EXPECT_EQ(Run({"show"}).Out, "K: " + share.string() + "\tNot attached\nL: " + (Dir / "gone").string()
                                     + "\tNot attached\n");
    const auto attached = Run({"attach", "K:"});
    EXPECT_EQ(attached.Status, 0) << attached.Out << attached.Err;
    EXPECT_EQ(fs::read_symlink(Drives / "K"), share);
    EXPECT_EQ(Run({"show"}).Out, "K: " + share.string() + "\tAttached\nL: " + (Dir / "gone").string()
                                     + "\tNot attached\n");
    EXPECT_EQ(Run({"attach", "K:"}).Out, "K: " + share.string() + "\tattached already\n");
    const auto missing = Run({"attach", "L:"});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Out, "L: " + (Dir / "gone").string()
                               + "\tnot attached: status 53: System error 53 has occurred. The network path was not "
                                 "found.\n");

    const auto detached = Run({"detach"});
    EXPECT_EQ(detached.Status, 0) << detached.Out << detached.Err;
    EXPECT_EQ(detached.Out, "K: " + share.string() + "\tdetached\nL: " + (Dir / "gone").string() + "\tnot attached\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "K")));
    EXPECT_TRUE(fs::is_directory(share));
}

TEST_F(Console, SharesWithoutADesktopSessionFailAndSayWhy)
{
    for (const auto& server : {"\\\\srv", "\\\\srv\\"}) {
        const auto outcome = Run({"shares", server});
        EXPECT_EQ(outcome.Status, 1) << server;
        EXPECT_EQ(outcome.Out, "");
        EXPECT_EQ(outcome.Err, "corvane: \\\\srv: not listed: status 2: Shares are listed through GVfs, which needs the "
                               "session bus of a desktop login; there is none here.\n");
    }
}

