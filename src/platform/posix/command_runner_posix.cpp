#include "base/ascii.h"
#include "platform/secret.h"
#include "platform/system_services.h"

#include <gio/gio.h>

#include <signal.h>

#include <memory>
#include <string_view>

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// A child that stops reading must not end this program with SIGPIPE: the
// signal is held on this thread while it writes, and taken back if it came.
class PipeSignalHeld {
public:
    PipeSignalHeld()
    {
        sigemptyset(&Pipe);
        sigaddset(&Pipe, SIGPIPE);
        sigpending(&Before);
        pthread_sigmask(SIG_BLOCK, &Pipe, &Mask);
    }
    ~PipeSignalHeld()
    {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&Before, SIGPIPE)) {
            const timespec now{};
            sigtimedwait(&Pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &Mask, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t Pipe;
    sigset_t Before;
    sigset_t Mask;
};

// Started without a shell, program in the place of the first argument; the
// input goes to its standard input (else /dev/null) while its output and
// errors are read, so that neither side waits for the other.
CommandResult RunProgramWithInput(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                                  const std::string& input)
{
    std::vector<const char*> argv{program.c_str()};
    for (std::size_t i = 1; i < arguments.size(); ++i)
        argv.push_back(arguments[i].c_str());
    argv.push_back(nullptr);
    const auto flags = static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_MERGE
                                                     | (input.empty() ? 0 : G_SUBPROCESS_FLAGS_STDIN_PIPE));
    GError* error = nullptr;
    const std::unique_ptr<GSubprocess, ObjectUnref> child(g_subprocess_newv(argv.data(), flags, &error));
    if (!child) {
        g_clear_error(&error);
        return {};
    }
    // The input is not copied: it may be a password.
    const std::unique_ptr<GBytes, decltype(&g_bytes_unref)> feed(
        input.empty() ? nullptr : g_bytes_new_static(input.data(), input.size()), g_bytes_unref);
    GBytes* output = nullptr;
    {
        const PipeSignalHeld held;
        g_subprocess_communicate(child.get(), feed.get(), nullptr, &output, nullptr, &error);
    }
    g_clear_error(&error);
    // Whatever came before a failed write or read is what it printed.
    CommandResult result;
    if (output) {
        gsize size = 0;
        const auto* data = static_cast<const char*>(g_bytes_get_data(output, &size));
        result.Output.assign(data ? data : "", size);
        g_bytes_unref(output);
    }
    g_subprocess_wait(child.get(), nullptr, nullptr);
    if (g_subprocess_get_if_exited(child.get()))
        result.ExitStatus = g_subprocess_get_exit_status(child.get());
    else
        result.ExitStatus = 128 + g_subprocess_get_term_sig(child.get());  // as shells report a killed command
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
