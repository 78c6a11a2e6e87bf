#include "carrier.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>
#include <variant>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr auto GioTimeLimit = std::chrono::seconds(60);

const char* const Usage =
    "usage: corvane-net use X: <path> [<password> /USER:<user>] /PERSISTENT:YES|NO\n"
    "       corvane-net use X: /DELETE";

CarrierOutcome Fail(int status, std::string reason)
{
    return {status, std::move(reason)};
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && EqualsIgnoringCase(text.substr(0, start.size()), start);
}

std::optional<char> DriveLetter(std::string_view device)
{
    if (device.size() != 2 || device[1] != ':' || !std::isalpha(static_cast<unsigned char>(device[0])))
        return std::nullopt;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(device[0])));
}

bool EntryExists(const fs::path& entry)
{
    struct stat info {};
    return lstat(entry.c_str(), &info) == 0;
}

fs::path RecordOf(const fs::path& drives, char letter)
{
    return drives / (std::string(".") + letter + ".corvane");
}

struct ProgramResult {
    int Status = -1;
    std::string Output;
};

// Runs a program found on PATH, feeds it input, and collects what it prints;
// a program still running at the time limit is killed.
ProgramResult RunProgram(const std::vector<std::string>& arguments, const std::string& input)
{
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0)
        return {};
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDERR_FILENO);
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (started != 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return {};
    }

    // The input is a few short lines: the pipe takes them whole.
    signal(SIGPIPE, SIG_IGN);
    if (!input.empty() && write(toChild[1], input.data(), input.size()) < 0) {
        // The program did not want its input; what it prints says why.
    }
    close(toChild[1]);

    ProgramResult result;
    const auto deadline = std::chrono::steady_clock::now() + GioTimeLimit;
    bool killed = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(child, SIGKILL);
            killed = true;
            break;
        }
        pollfd ready{fromChild[0], POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            continue;
        char buffer[4096];
        const auto got = read(fromChild[0], buffer, sizeof buffer);
        if (got > 0)
            result.Output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(fromChild[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (killed)
        result.Output += "\n(timed out)";
    result.Status = !killed && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool Mentions(const std::string& text, std::initializer_list<const char*> words)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(words.begin(), words.end(), [&](const char* word) { return lower.find(word) != std::string::npos; });
}

struct Share {
    std::string Server;
    std::string Name;
    std::string Rest;  // below the share, with '/' separators

    std::string Uri() const { return "smb://" + Server + "/" + Name; }
};

std::optional<Share> ParseUnc(std::string_view path)
{
    path.remove_prefix(2);
    Share share;
    const auto serverEnd = path.find('\\');
    if (serverEnd == std::string_view::npos)
        return std::nullopt;
    share.Server = path.substr(0, serverEnd);
    path.remove_prefix(serverEnd + 1);
    const auto nameEnd = path.find('\\');
    share.Name = path.substr(0, nameEnd);
    if (nameEnd != std::string_view::npos) {
        share.Rest = path.substr(nameEnd + 1);
        std::replace(share.Rest.begin(), share.Rest.end(), '\\', '/');
    }
    if (share.Server.empty() || share.Name.empty())
        return std::nullopt;
    return share;
}

struct Credentials {
    std::string User;
    std::string Password;
};

// Mounts the share with GVfs and gives the local folder of its mount.
std::variant<fs::path, CarrierOutcome> MountShare(const Share& share, const std::optional<Credentials>& credentials)
{
    // gio asks for the user, the domain and the password on its standard input.
    std::string answers;
    if (credentials) {
        std::string domain;
        std::string user = credentials->User;
        if (const auto slash = user.find('\\'); slash != std::string::npos) {
            domain = user.substr(0, slash);
            user.erase(0, slash + 1);
        }
        answers = user + "\n" + domain + "\n" + credentials->Password + "\n";
    }
    // Without credentials the share is asked for as a guest would.
    const auto mounted = credentials ? RunProgram({"gio", "mount", share.Uri()}, answers)
                                     : RunProgram({"gio", "mount", "--anonymous", share.Uri()}, {});
    if (mounted.Status == -1 && mounted.Output.empty())
        return Fail(NetStatus::Failed, "gio, which mounts network shares, could not be started.");
    if (mounted.Status != 0 && !Mentions(mounted.Output, {"already mounted"})) {
        if (Mentions(mounted.Output, {"password", "permission denied", "logon failure", "authentication",
                                      "access denied"}))
            return Fail(NetStatus::WrongPassword, "The specified network password is not correct.\n" + mounted.Output);
        if (Mentions(mounted.Output, {"share", "no such file"}))
            return Fail(NetStatus::NameNotFound, "The network name cannot be found.\n" + mounted.Output);
        if (Mentions(mounted.Output, {"host", "resolve", "connection refused", "not found", "unreachable"}))
            return Fail(NetStatus::PathNotFound, "The network path was not found.\n" + mounted.Output);
        return Fail(NetStatus::Failed, "The share could not be mounted.\n" + mounted.Output);
    }

    const auto info = RunProgram({"gio", "info", "-a", "standard::name", share.Uri() + "/"}, {});
    const std::string key = "local path: ";
    const auto at = info.Output.find(key);
    if (info.Status != 0 || at == std::string::npos)
        return Fail(NetStatus::Failed, "The share was mounted but has no local folder.\n" + info.Output);
    const auto end = info.Output.find('\n', at);
    return fs::path(info.Output.substr(at + key.size(), end - at - key.size()));
}

CarrierOutcome Attach(char letter, const std::string& path, const std::optional<Credentials>& credentials,
                      bool persistent, const fs::path& drives)
{
    std::error_code error;
    fs::create_directories(drives, error);
    const auto entry = drives / std::string(1, letter);
    if (EntryExists(entry))
        return Fail(NetStatus::DeviceInUse, "The local device name is already in use.");

    fs::path target;
    if (path.starts_with("\\\\")) {
        const auto share = ParseUnc(path);
        if (!share)
            return Fail(NetStatus::NameNotFound, "The network name cannot be found.");
        auto mounted = MountShare(*share, credentials);
        if (auto* failed = std::get_if<CarrierOutcome>(&mounted))
            return *failed;
        target = std::get<fs::path>(mounted);
        if (!share->Rest.empty())
            target /= share->Rest;
        if (!fs::is_directory(target, error))
            return Fail(NetStatus::NameNotFound, "The network name cannot be found.");
    } else {
        target = path;
        if (path.empty() || !fs::is_directory(target, error))
            return Fail(NetStatus::PathNotFound, "The network path was not found.");
        target = fs::absolute(target, error);
    }

    fs::create_directory_symlink(target, entry, error);
    if (error)
        return Fail(NetStatus::Failed, "The drive could not be made: " + error.message());

    // What a restore at the next login needs; never the password.
    std::ofstream record(RecordOf(drives, letter), std::ios::trunc);
    record << "persistent=" << (persistent ? "YES" : "NO") << '\n' << "path=" << path << '\n';
    if (credentials)
        record << "user=" << credentials->User << '\n';
    return {};
}

// The folder of the GVfs mount that target lies in, if it lies in one.
std::optional<fs::path> MountRootOf(const fs::path& target)
{
    fs::path root;
    for (const auto& part : target) {
        root /= part;
        if (part.string().starts_with("smb-share:"))
            return root;
    }
    return std::nullopt;
}

CarrierOutcome Detach(char letter, const fs::path& drives)
{
    const auto entry = drives / std::string(1, letter);
    if (!EntryExists(entry))
        return Fail(NetStatus::NotConnected, "The network connection could not be found.");
    std::error_code error;
    if (!fs::is_symlink(entry, error))
        return Fail(NetStatus::Failed, "The drive is not a connection this program made.");
    const auto target = fs::read_symlink(entry, error);
    fs::remove(entry, error);
    if (error)
        return Fail(NetStatus::Failed, "The drive could not be removed: " + error.message());
    fs::remove(RecordOf(drives, letter), error);

    // A share stays mounted while another letter still uses it.
    if (const auto root = MountRootOf(target)) {
        for (char other = 'A'; other <= 'Z'; ++other) {
            const auto otherEntry = drives / std::string(1, other);
            if (fs::is_symlink(otherEntry, error) && MountRootOf(fs::read_symlink(otherEntry, error)) == root)
                return {};
        }
        RunProgram({"gio", "mount", "-u", root->string()}, {});
    }
    return {};
}

} // namespace

CarrierOutcome RunCarrier(const std::vector<std::string>& arguments, const fs::path& drives)
{
    const auto size = arguments.size();
    if ((size != 3 && size != 4 && size != 6) || !EqualsIgnoringCase(arguments[0], "use"))
        return Fail(NetStatus::Failed, Usage);
    const auto letter = DriveLetter(arguments[1]);
    if (!letter)
        return Fail(NetStatus::Failed, Usage);

    if (size == 3) {
        if (!EqualsIgnoringCase(arguments[2], "/DELETE"))
            return Fail(NetStatus::Failed, Usage);
        return Detach(*letter, drives);
    }

    const auto& persistence = arguments.back();
    if (!EqualsIgnoringCase(persistence, "/PERSISTENT:YES") && !EqualsIgnoringCase(persistence, "/PERSISTENT:NO"))
        return Fail(NetStatus::Failed, Usage);
    std::optional<Credentials> credentials;
    if (size == 6) {
        if (!StartsWithIgnoringCase(arguments[4], "/USER:"))
            return Fail(NetStatus::Failed, Usage);
        credentials = Credentials{arguments[4].substr(6), arguments[3]};
    }
    return Attach(*letter, arguments[2], credentials, EqualsIgnoringCase(persistence, "/PERSISTENT:YES"), drives);
}
