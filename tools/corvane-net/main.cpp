// corvane-net: the network command of the POSIX platform. It understands the
// argument lists the program sends to "net use" and makes drive letters of
// links in the drives folder:
//
//   corvane-net use X: <path> [<password>|* /USER:<user>] /PERSISTENT:YES|NO
//   corvane-net use X: /DELETE
//   corvane-net use
//   corvane-net restore
//
// "*" reads the password from standard input, so that it stands on no
// command line. Its exit statuses are the system error numbers "net use" reports.
#include "carrier.h"

#include "platform/posix/drives_folder.h"

#include <termios.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A terminal gives one line, typed unseen; a pipe gives all it holds, less
// the line end that closes it.
std::string ReadPassword()
{
    std::string password;
    termios shown {};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &shown) == 0;
    if (terminal) {
        std::fputs("Type the password for the network resource: ", stderr);
        termios hidden = shown;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    for (int c = 0; (c = std::getchar()) != EOF;) {
        if (terminal && c == '\n')
            break;
        password += static_cast<char>(c);
    }
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &shown);
        std::fputc('\n', stderr);
    } else if (password.ends_with('\n')) {
        password.pop_back();
    }
    return password;
}

} // namespace

int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    SilenceLibraryLogs();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto outcome = RunCarrier(arguments, DrivesFolder(), ReadPassword);
    std::fputs(outcome.Listing.c_str(), stdout);
    if (outcome.Status == 0) {
        std::puts("The command completed successfully.");
        if (!outcome.Reason.empty())
            std::fprintf(stderr, "%s\n", outcome.Reason.c_str());
    } else {
        std::fprintf(stderr, "System error %d has occurred.\n\n%s\n", outcome.Status, outcome.Reason.c_str());
    }
    // An exit status holds one byte here: numbers above it are told on stderr only.
    return outcome.Status <= 255 ? outcome.Status : NetStatus::Failed;
}
