#include "platform/program_runner.h"
#include "platform/system_services.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

// Started without a shell; the first argument is the program's own name.
CommandResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    const int started = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (started != 0) {
        close(pipeEnds[0]);
        return {};
    }

    CommandResult result;
    char buffer[4096];
    for (;;) {
        const auto got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0)
            result.Output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);

    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return {};
    }
    if (WIFEXITED(status))
        result.ExitStatus = WEXITSTATUS(status);
    else
        result.ExitStatus = 128 + WTERMSIG(status);  // as shells report a killed command
    return result;
}

namespace {

class PosixShellOpener final : public ShellOpener {
public:
    void Open(const std::string& address) override
    {
        // Fire and forget: the opener lives on after the program if it likes.
        pid_t child = 0;
        const char* argv[] = {"xdg-open", address.c_str(), nullptr};
        if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0)
            waitpid(child, nullptr, WNOHANG);
    }
};

} // namespace

std::unique_ptr<CommandRunner> MakeSystemCommandRunner(const std::filesystem::path& exeDirectory)
{
    return MakeProgramRunner(exeDirectory / "corvane-net");
}

std::unique_ptr<ShellOpener> MakeSystemShellOpener()
{
    return std::make_unique<PosixShellOpener>();
}
