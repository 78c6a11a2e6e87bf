#include "base/ascii.h"
#include "platform/secret.h"
#include "platform/system_services.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

extern char** environ;

namespace {

bool WriteSome(int descriptor, const std::string& input, std::size_t& written)
{
    // A child that stops reading must not end this program with SIGPIPE.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    const auto done = write(descriptor, input.data() + written, input.size() - written);
    const int failure = errno;
    if (done < 0 && failure == EPIPE) {
        const timespec now{};
        sigtimedwait(&pipeSignal, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (done > 0)
        written += static_cast<std::size_t>(done);
    return done >= 0 || failure == EINTR || failure == EAGAIN;
}

// Started without a shell; the first argument is the program's own name.
// The input goes to its standard input while its output is read, so that
// neither side waits for the other.
CommandResult RunProgramWithInput(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                  const std::string& input)
{
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0)
        return {};
    int feed[2] = {-1, -1};
    if (!input.empty() && pipe2(feed, O_CLOEXEC) != 0) {
        close(output[0]);
        close(output[1]);
        return {};
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input.empty())
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, feed[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    const int started = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (feed[0] >= 0)
        close(feed[0]);
    if (started != 0) {
        close(output[0]);
        if (feed[1] >= 0)
            close(feed[1]);
        return {};
    }

    CommandResult result;
    std::size_t written = 0;
    if (feed[1] >= 0)
        fcntl(feed[1], F_SETFL, O_NONBLOCK);
    for (;;) {
        pollfd ends[2] = {{output[0], POLLIN, 0}, {feed[1], POLLOUT, 0}};
        if (poll(ends, feed[1] >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (feed[1] >= 0 && ends[1].revents != 0) {
            if (!WriteSome(feed[1], input, written) || written == input.size()) {
                close(feed[1]);
                feed[1] = -1;
            }
        }
        if (ends[0].revents == 0)
            continue;
        char buffer[4096];
        const auto got = read(output[0], buffer, sizeof buffer);
        if (got > 0)
            result.Output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(output[0]);
    if (feed[1] >= 0)
        close(feed[1]);

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

bool StartsWithUserSwitch(const std::string& argument)
{
    return StartsWithIgnoringAsciiCase(argument, "/USER:");
}

// The carrier reads a password given as "*" from its standard input: every
// local user can read a command line, nobody else's pipe.
class CarrierRunner final : public CommandRunner {
public:
    explicit CarrierRunner(std::filesystem::path carrier) : Carrier(std::move(carrier)) {}

    CommandResult Run(const std::vector<std::string>& arguments) override
    {
        // net use X: <path> <password> /USER:<user> /PERSISTENT:...
        constexpr std::size_t PasswordAt = 4;
        if (arguments.size() <= PasswordAt + 1 || !StartsWithUserSwitch(arguments[PasswordAt + 1]))
            return RunProgramWithInput(Carrier, arguments, {});
        std::vector<std::string> hidden;
        hidden.reserve(arguments.size());
        for (std::size_t i = 0; i < arguments.size(); ++i)
            hidden.push_back(i == PasswordAt ? std::string(1, '*') : arguments[i]);
        std::string input = arguments[PasswordAt] + '\n';
        auto result = RunProgramWithInput(Carrier, hidden, input);
        // As the caller wipes its own copy.
        WipeMemory(input.data(), input.size());
        return result;
    }

private:
    std::filesystem::path Carrier;
};

} // namespace

std::unique_ptr<CommandRunner> MakeSystemCommandRunner(const std::filesystem::path& exeDirectory)
{
    return std::make_unique<CarrierRunner>(exeDirectory / "corvane-net");
}
