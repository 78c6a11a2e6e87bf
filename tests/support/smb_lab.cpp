#include "support/smb_lab.h"

#include "support/temp_dir.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace fs = std::filesystem;

namespace {

bool Have(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

bool Listening()
{
    return std::system("ss -ltn 2>/dev/null | grep -q '127.0.0.1:445 '") == 0;
}

std::string Output(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

} // namespace

std::string ShellQuoted(const fs::path& path)
{
    std::string quoted = "'";
    for (const char c : path.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

SmbLab::SmbLab(fs::path root, bool guestsList) : Root(std::move(root)), GuestsList(guestsList) {}

SmbLab::~SmbLab()
{
    EndSession();
    StopServer();
}

std::string SmbLab::Start()
{
    if (geteuid() != 0)
        return "smbd serves port 445 only to the superuser";
    for (const auto* program : {"smbd", "smbpasswd", "gio", "dbus-daemon", "fusermount"}) {
        if (!Have(program))
            return std::string("needs ") + program + " (packages samba, gvfs-backends, gvfs-fuse, dbus)";
    }
    if (!fs::exists("/usr/libexec/gvfsd-fuse") || !fs::exists("/usr/libexec/gvfsd-smb") || !fs::exists("/dev/fuse"))
        return "needs gvfsd-smb, gvfsd-fuse (packages gvfs-backends, gvfs-fuse) and /dev/fuse";
    if (Listening())
        return "port 445 is taken by another server";

    for (const auto& folder : {State, Public / "sub", Private, Root / "100A", Root / "team"})
        fs::create_directories(folder);
    WriteBytes(Public / "sub" / "file.txt", "hello");
    WriteBytes(Root / "team" / "plan.txt", "team");
    const auto share = [](const std::string& name, const fs::path& path, bool guests) {
        return "[" + name + "]\n  path = " + path.string() + "\n"
               + (guests ? "  guest ok = yes\n  force user = root\n" : "  valid users = root\n  guest ok = no\n");
    };
    WriteBytes(Config, "[global]\n"
                       "  server role = standalone server\n  map to guest = Bad User\n"
                       "  interfaces = lo\n  bind interfaces only = yes\n"
                       "  pid directory = " + State.string() + "\n  lock directory = " + State.string() + "\n"
                       "  state directory = " + State.string() + "\n  cache directory = " + State.string() + "\n"
                       "  private dir = " + State.string() + "\n  ncalrpc dir = " + State.string() + "\n"
                       "  log file = " + (State / "log").string() + "\n  load printers = no\n"
                       + (GuestsList ? "" : "  restrict anonymous = 2\n")
                       + share("public", Public, true) + share("private", Private, false)
                       + share("100A", Root / "100A", true) + share("Team Files \xC3\x9C", Root / "team", true));
    const auto addUser = "printf '%s\\n%s\\n' " + std::string(Password) + " " + Password + " | smbpasswd -c "
                         + ShellQuoted(Config) + " -a -s root >/dev/null";
    if (std::system(addUser.c_str()) != 0)
        return "smbpasswd could not add the user";
    if (auto why = StartServer(); !why.empty())
        return why;
    return StartSession();
}

std::string SmbLab::StartServer()
{
    Server = fork();
    if (Server == 0) {
        // A session of its own: on its way out smbd signals its whole group,
        // and the test pauses the group as one.
        setsid();
        execlp("smbd", "smbd", "--foreground", "--no-process-group", "-s", Config.c_str(), nullptr);
        _exit(127);
    }
    for (int i = 0; i < 100 && !Listening(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!Listening())
        return "smbd did not start";
    return {};
}

void SmbLab::StopServer()
{
    if (Server <= 0)
        return;
    ResumeServer();
    kill(-Server, SIGTERM);  // the connections' processes too
    waitpid(Server, nullptr, 0);
    // Its children hold its locks until they are gone: a server started before
    // then finds "another smbd" and ends at once.
    for (int i = 0; i < 100 && kill(-Server, 0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(-Server, SIGKILL);
    Server = -1;
    for (int i = 0; i < 100 && Listening(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void SmbLab::PauseServer()
{
    if (Server > 0)
        kill(-Server, SIGSTOP);
}

void SmbLab::ResumeServer()
{
    if (Server > 0)
        kill(-Server, SIGCONT);
}

std::string SmbLab::StartSession(const std::string& language)
{
    fs::create_directories(Runtime);
    fs::permissions(Runtime, fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", Runtime.c_str(), 1);
    // Through a file: the forked daemon keeps its output open for good.
    const auto busFile = Root / "bus";
    const auto start = "LC_ALL=" + language + " LANG=" + language + " LANGUAGE= dbus-daemon --session --fork"
                       " --print-address=1 --print-pid=1 >" + ShellQuoted(busFile) + " 2>/dev/null </dev/null";
    if (std::system(start.c_str()) != 0)
        return "dbus-daemon did not start";
    std::string bus;
    if (FILE* file = std::fopen(busFile.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, file))
            bus += line;
        std::fclose(file);
    }
    const auto newline = bus.find('\n');
    if (newline == std::string::npos)
        return "dbus-daemon gave no address";
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.substr(0, newline).c_str(), 1);
    Bus = std::atoi(bus.substr(newline + 1).c_str());
    return {};
}

void SmbLab::EndSession()
{
    if (Bus <= 0)
        return;
    // The file system of GVfs goes first: a dead one would hang whatever
    // looks into the folder afterwards.
    std::system(("fusermount -u -z " + ShellQuoted(Runtime / "gvfs") + " >/dev/null 2>&1").c_str());
    // GVfs came up on our bus: its daemons are the bus's children.
    std::system(("pkill -TERM -P " + std::to_string(Bus) + " >/dev/null 2>&1").c_str());
    kill(Bus, SIGTERM);
    for (int i = 0; i < 50 && kill(Bus, 0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Bus = -1;
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

std::string SmbLab::Mounts() const
{
    return Output("gio mount -l 2>/dev/null");
}
