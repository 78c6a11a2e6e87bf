// corvane-net: the network command of the POSIX platform. It understands the
// two argument lists the program sends to "net use" and makes drive letters
// of entries in the drives folder:
//
//   corvane-net use X: <path> [<password> /USER:<user>] /PERSISTENT:YES|NO
//   corvane-net use X: /DELETE
//
// Its exit statuses are the system error numbers "net use" reports.
#include "carrier.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto outcome = RunCarrier(arguments, DrivesFolder());
    if (outcome.Status == 0)
        std::puts("The command completed successfully.");
    else
        std::fprintf(stderr, "System error %d has occurred.\n\n%s\n", outcome.Status, outcome.Reason.c_str());
    // An exit status holds one byte here: numbers above it are told on stderr only.
    return outcome.Status <= 255 ? outcome.Status : NetStatus::Failed;
}
