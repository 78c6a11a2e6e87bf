// corvane: attaches and detaches the drive letters of the profiles from a
// script or a terminal, on the window's own code and stored files, which it
// reads and never writes.
#include "console.h"

#include "platform/console_text.h"
#include "platform/path_style.h"
#include "platform/system_services.h"
#include "store/data_folder.h"

#include <clocale>
#include <thread>

int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    const ConsoleTextScope console;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // A password may come: nothing else may read this process's memory.
    KeepMemoryPrivate();
    const auto exeDirectory = RunningProgramDirectory();
    const auto userFolder = UserConfigDirectory();
    auto runner = MakeSystemCommandRunner(exeDirectory);
    ConsoleServices services{
        std::shared_ptr<DriveInventory>(MakeSystemDriveInventory()),
        *runner,
        FindDataDirectory(exeDirectory, userFolder.empty() ? userFolder : userFolder / "Corvane"),
        [] { return StandardInputIsTerminal(); },
        [](std::string_view prompt) { return ReadTypedLine(prompt); },
        [](std::string_view prompt, std::string& problem) { return ReadPasswordLine(prompt, problem); },
        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); },
        stdout,
        stderr,
        MakeSystemShareLister(),
    };
    return RunConsole(arguments, services);
}
