#include "platform/secret.h"

#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

termios Shown{};
termios Hidden{};
int Terminal = -1;

// The terminal echoes again whichever signal ends the program while it typed unseen.
void PutTerminalBack(int signal)
{
    if (Terminal >= 0)
        tcsetattr(Terminal, TCSANOW, &Shown);
    raise(signal);  // the handler was reset: the signal does what it would have done
}

constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

// Ctrl-Z: the shell gets its terminal back as it was, and after fg the typing
// is unseen again until the line is read.
void Suspend(int)
{
    const int saved = errno;
    tcsetattr(Terminal, TCSANOW, &Shown);
    signal(SIGTSTP, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    raise(SIGTSTP);  // stopped here until continued
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    signal(SIGTSTP, Suspend);
    tcsetattr(Terminal, TCSANOW, &Hidden);
    errno = saved;
}

void HideTyping(int descriptor)
{
    if (tcgetattr(descriptor, &Shown) != 0)
        return;
    Terminal = descriptor;
    Hidden = Shown;
    Hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    struct sigaction action {};
    action.sa_handler = PutTerminalBack;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : EndingSignals)
        sigaction(signal, &action, nullptr);
    struct sigaction suspend {};
    suspend.sa_handler = Suspend;
    sigemptyset(&suspend.sa_mask);
    sigaction(SIGTSTP, &suspend, nullptr);
    tcsetattr(descriptor, TCSAFLUSH, &Hidden);
}

void ShowTyping()
{
    if (Terminal < 0)
        return;
    tcsetattr(Terminal, TCSAFLUSH, &Shown);
    Terminal = -1;
    for (const int signal : EndingSignals)
        ::signal(signal, SIG_DFL);
    ::signal(SIGTSTP, SIG_DFL);
}

} // namespace

void WipeMemory(void* data, std::size_t size)
{
    explicit_bzero(data, size);
}

Secret::~Secret()
{
    Bytes.resize(Bytes.capacity());
    WipeMemory(Bytes.data(), Bytes.size());
}

bool StandardInputIsTerminal()
{
    return isatty(STDIN_FILENO) != 0;
}

std::optional<Secret> ReadPasswordLine(std::string_view prompt, std::string& problem)
{
    const int descriptor = STDIN_FILENO;
    const bool terminal = isatty(descriptor) != 0;
    if (terminal) {
        HideTyping(descriptor);
        std::fwrite(prompt.data(), 1, prompt.size(), stderr);
        std::fflush(stderr);
    }
    // One byte a read: what follows the line stays unread, and nothing is copied twice.
    char line[Secret::Largest + 2];
    std::size_t length = 0;
    bool tooLong = false;
    for (;;) {
        char c = 0;
        const auto got = read(descriptor, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || c == '\n')
            break;
        if (length == sizeof line) {
            tooLong = true;
            break;
        }
        line[length++] = c;
    }
    // Lines that follow at once were part of what was given: a password cut there would be another.
    bool moreLines = false;
    if (!terminal && !tooLong) {
        pollfd more{descriptor, POLLIN, 0};
        char c = 0;
        moreLines = poll(&more, 1, 0) == 1 && (more.revents & POLLIN) != 0 && read(descriptor, &c, 1) == 1;
    }
    if (terminal) {
        ShowTyping();
        std::fputc('\n', stderr);
    }
    if (length > 0 && line[length - 1] == '\r')
        --length;
    std::optional<Secret> password;
    if (tooLong || length > Secret::Largest)
        problem = "The password is longer than " + std::to_string(Secret::Largest) + " bytes.";
    else if (moreLines)
        problem = "The password holds a line end.";
    else if (memchr(line, '\0', length))
        problem = "The password holds a NUL character.";
    else
        password.emplace(std::string_view(line, length));
    explicit_bzero(line, sizeof line);
    return password;
}

std::optional<std::string> ReadTypedLine(std::string_view prompt)
{
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::fwrite(prompt.data(), 1, prompt.size(), stderr);
    std::fflush(stderr);
    std::string line;
    for (;;) {
        char c = 0;
        const auto got = read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return std::nullopt;
        if (c == '\n')
            break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void KeepMemoryPrivate()
{
    prctl(PR_SET_DUMPABLE, 0);
}
