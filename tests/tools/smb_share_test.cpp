// The carrier against a real share: Samba's smbd on 127.0.0.1 serving a
// temporary folder, mounted through GVfs in a session bus of the test's own.
#include "mapping/net_use.h"
#include "platform/system_services.h"

#include "support/temp_dir.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace fs = std::filesystem;

namespace {

bool Have(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A path as one word of the shell, whatever it holds.
std::string Quoted(const fs::path& path)
{
    std::string quoted = "'";
    for (const char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class SmbShare : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "smbd serves port 445 only to the superuser";
        for (const auto* program : {"smbd", "smbpasswd", "gio", "dbus-daemon"}) {
            if (!Have(program))
                GTEST_SKIP() << "needs " << program << " (packages samba, gvfs-backends, gvfs-fuse, dbus)";
        }
        if (!fs::exists("/usr/libexec/gvfsd-fuse") || !fs::exists("/dev/fuse"))
            GTEST_SKIP() << "needs gvfsd-fuse (package gvfs-fuse) and /dev/fuse";
        if (std::system("ss -ltn 2>/dev/null | grep -q ':445 '") == 0)
            GTEST_SKIP() << "port 445 is taken by another server";

        fs::create_directories(State);
        fs::create_directories(Public / "sub");
        fs::create_directories(Private);
        WriteBytes(Public / "sub" / "file.txt", "hello");
        WriteBytes(Config, "[global]\n"
                           "  server role = standalone server\n  map to guest = Bad User\n"
                           "  interfaces = lo\n  bind interfaces only = yes\n"
                           "  pid directory = " + State.string() + "\n  lock directory = " + State.string() + "\n"
                           "  state directory = " + State.string() + "\n  cache directory = " + State.string() + "\n"
                           "  private dir = " + State.string() + "\n  ncalrpc dir = " + State.string() + "\n"
                           "  log file = " + (State / "log").string() + "\n  load printers = no\n"
                           "[public]\n  path = " + Public.string() + "\n  guest ok = yes\n  force user = root\n"
                           "[private]\n  path = " + Private.string() + "\n  valid users = root\n  guest ok = no\n");
        ASSERT_EQ(std::system(("printf 's3cret\\ns3cret\\n' | smbpasswd -c " + Quoted(Config) + " -a -s root >/dev/null")
                                  .c_str()),
                  0);
        Server = fork();
        if (Server == 0) {
            // A session of its own: on its way out smbd signals its whole group.
            setsid();
            execlp("smbd", "smbd", "--foreground", "--no-process-group", "-s", Config.c_str(), nullptr);
            _exit(127);
        }
        for (int i = 0; i < 100 && std::system("ss -ltn 2>/dev/null | grep -q '127.0.0.1:445 '") != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));

        // A session bus of our own, where GVfs starts.
        fs::create_directories(Runtime);
        fs::permissions(Runtime, fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", Runtime.c_str(), 1);
        // Through a file: the forked daemon keeps its output open for good.
        const auto busFile = Dir / "bus";
        ASSERT_EQ(std::system(("dbus-daemon --session --fork --print-address=1 --print-pid=1 >" + Quoted(busFile)
                                  + " 2>/dev/null </dev/null").c_str()),
                  0);
        const auto bus = ReadBytes(busFile);
        const auto newline = bus.find('\n');
        ASSERT_NE(newline, std::string::npos) << "no session bus";
        setenv("DBUS_SESSION_BUS_ADDRESS", bus.substr(0, newline).c_str(), 1);
        BusPid = std::atoi(bus.substr(newline + 1).c_str());
        setenv("CORVANE_DRIVES_DIR", Drives.c_str(), 1);
    }

    void TearDown() override
    {
        if (BusPid > 0) {
            // The file system of GVfs goes first: a dead one would hang the
            // removal of the temporary folder.
            std::system("gio mount -u smb://127.0.0.1/public smb://127.0.0.1/private >/dev/null 2>&1");
            std::system(("fusermount -u -z " + Quoted(Runtime / "gvfs") + " >/dev/null 2>&1").c_str());
            // GVfs came up on our bus: its daemons are the bus's children.
            std::system(("pkill -TERM -P " + std::to_string(BusPid) + " >/dev/null 2>&1").c_str());
            kill(BusPid, SIGTERM);
        }
        if (Server > 0) {
            kill(Server, SIGTERM);
            waitpid(Server, nullptr, 0);
        }
        unsetenv("CORVANE_DRIVES_DIR");
    }

    CommandResult Run(const std::vector<std::string>& arguments) { return Runner->Run(arguments); }

    TempDir Dir;
    fs::path State = Dir / "state";
    fs::path Public = Dir / "public";
    fs::path Private = Dir / "private";
    fs::path Config = Dir / "smb.conf";
    fs::path Runtime = Dir / "run";
    fs::path Drives = Dir / "Drives";
    pid_t Server = -1;
    pid_t BusPid = -1;
    std::unique_ptr<CommandRunner> Runner = MakeProgramRunner(CORVANE_NET);
};

} // namespace

TEST_F(SmbShare, AGuestShareIsMountedLinkedAndLetGo)
{
    const auto attached = Run(AttachArguments("S: \\\\127.0.0.1\\public\\sub", std::nullopt, false));
    ASSERT_EQ(attached.ExitStatus, 0) << attached.Output;
    EXPECT_EQ(ReadBytes(Drives / "S" / "file.txt"), "hello");
    const auto detached = Run(DetachArguments('S'));
    EXPECT_EQ(detached.ExitStatus, 0) << detached.Output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "S")));
}

TEST_F(SmbShare, CredentialsAreFedToTheMountAndAWrongPasswordGives86)
{
    const auto wrong = Run(AttachArguments("P: \\\\127.0.0.1\\private", Credentials{"root", "wrong"}, false));
    EXPECT_EQ(wrong.ExitStatus, 86) << wrong.Output;
    EXPECT_EQ(wrong.Output.find("wrong"), std::string::npos) << "the password was printed";
    const auto right = Run(AttachArguments("P: \\\\127.0.0.1\\private", Credentials{"WORKGROUP\\root", "s3cret"}, true));
    ASSERT_EQ(right.ExitStatus, 0) << right.Output;
    EXPECT_TRUE(fs::is_directory(Drives / "P"));
    EXPECT_EQ(Run(DetachArguments('P')).ExitStatus, 0);
}

TEST_F(SmbShare, AShareThatIsNotThereGives67)
{
    const auto missing = Run(AttachArguments("Q: \\\\127.0.0.1\\nothing", std::nullopt, false));
    EXPECT_TRUE(missing.ExitStatus == 67 || missing.ExitStatus == 53) << missing.ExitStatus << missing.Output;
    EXPECT_FALSE(fs::exists(fs::symlink_status(Drives / "Q")));
}
