// corvane-net: the network command of the POSIX platform. It understands the
// argument lists the program sends to "net use" and makes drive letters of
// links in the drives folder:
//
//   corvane-net use X: <path> [<password>|* /USER:<user>] /PERSISTENT:YES|NO
//   corvane-net use X: /DELETE
//   corvane-net use
//   corvane-net restore [--drives <folder>] [--wait <seconds>] [--watch]
//
// "*" reads the password from standard input, so that it stands on no
// command line. Its exit statuses are the system error numbers "net use" reports.
#include "carrier.h"

#include "platform/posix/drives_folder.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Debugging switches of GLib and D-Bus would print what passes, the password included.
void DropDebuggingSwitches()
{
    for (const char* name : {"G_DBUS_DEBUG", "G_MESSAGES_DEBUG", "G_DEBUG", "DBUS_VERBOSE", "GIO_DEBUG"})
        unsetenv(name);
}

} // namespace

int main(int argc, char* argv[])
{
    DropDebuggingSwitches();
    std::setlocale(LC_ALL, "");
    SilenceLibraryLogs();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // A password may come: nothing else may read this process's memory.
    if (arguments.size() == 6)
        KeepMemoryPrivate();
    const auto outcome = RunCarrier(arguments, DrivesFolderPath(),
                                    [](std::string& problem) {
                                        return ReadPasswordLine("Type the password for the network resource: ", problem);
                                    });
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
