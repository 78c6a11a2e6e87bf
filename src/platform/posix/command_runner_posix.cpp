#include "base/ascii.h"
#include "platform/secret.h"
#include "platform/system_services.h"

#include <gio/gio.h>

#include <signal.h>

#include <memory>
#include <string_view>
#include <thread>

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// A child that stops reading must not end this program with SIGPIPE: the
// signal is held on the writing thread, and taken back if it came.
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

// Started without a shell, program in the place of the first argument. The
// input goes to its standard input (else /dev/null) from a thread of its own
// while its output and errors are read here, so that neither side waits for
// the other; a child that ends before it has read it all (a wrong command
// line, a password over its length) still has its output read whole.
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
    std::thread writer;
    if (!input.empty()) {
        // The input is not copied: it may be a password.
        writer = std::thread([&] {
            const PipeSignalHeld held;
            GOutputStream* feed = g_subprocess_get_stdin_pipe(child.get());
            g_output_stream_write_all(feed, input.data(), input.size(), nullptr, nullptr, nullptr);
            g_output_stream_close(feed, nullptr, nullptr);
        });
    }
    // Whatever came before a failed read is what it printed.
    const std::unique_ptr<GOutputStream, ObjectUnref> output(g_memory_output_stream_new_resizable());
    g_output_stream_splice(output.get(), g_subprocess_get_stdout_pipe(child.get()),
                           static_cast<GOutputStreamSpliceFlags>(G_OUTPUT_STREAM_SPLICE_CLOSE_SOURCE
                                                                 | G_OUTPUT_STREAM_SPLICE_CLOSE_TARGET),
                           nullptr, nullptr);
    if (writer.joinable())
        writer.join();
    auto* const memory = G_MEMORY_OUTPUT_STREAM(output.get());
    CommandResult result;
    if (const auto size = g_memory_output_stream_get_data_size(memory); size > 0)
        result.Output.assign(static_cast<const char*>(g_memory_output_stream_get_data(memory)), size);
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
