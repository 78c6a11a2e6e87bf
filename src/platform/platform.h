#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The operating system as the program sees it. main() wires the real services;
// tests wire fakes that record every call.

// What stands at a drive letter.
struct DriveConnection {
    bool Present = false;                    // anything at all
    std::optional<std::string> RemotePath;   // the network path it is attached to, if it is one
    bool Answers = false;                    // its folder could be listed
};

class DriveInventory {
public:
    virtual ~DriveInventory() = default;
    // Bit i is set when a drive is present at letter 'A' + i.
    virtual std::uint32_t PresentDrives() = 0;
    // The platform's type code of the drive at letter (0 when none is there).
    virtual std::int32_t DriveType(char letter) = 0;
    // What stands at letter. Waits as long as its server does: ask it off the
    // window's thread, with a time limit of your own.
    virtual DriveConnection ConnectionAt(char letter) = 0;
    // Calls changed, on any thread, whenever the system says the network
    // changed, until the returned handle goes (which waits for a call under way).
    virtual std::shared_ptr<void> WatchNetwork(std::function<void()> changed) = 0;
};

struct CommandResult {
    CommandResult() = default;
    CommandResult(int status, std::string output, std::string note = {})
        : ExitStatus(status), Output(std::move(output)), Note(std::move(note))
    {
    }

    // The command's exit status; -1 when it could not be started.
    int ExitStatus = -1;
    // What the command printed, its standard output and error together.
    std::string Output;
    // What a command that succeeded could not do besides, for the user to
    // read (empty when nothing).
    std::string Note;
};

class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Runs the network command with these arguments (the program's own name
    // first, as "net") and waits for it. Its standard input is empty, unless
    // the system's runner hands it the password there instead of on the
    // command line.
    virtual CommandResult Run(const std::vector<std::string>& arguments) = 0;
};

class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    // Lets the user pick a folder; nothing when cancelled or when the pick
    // has no file-system path.
    virtual std::optional<std::string> Browse(const std::string& title) = 0;
};

class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // Opens a web or mailto: address with the user's program for it.
    virtual void Open(const std::string& address) = 0;
};

class HelpEngine {
public:
    virtual ~HelpEngine() = default;
    // Shows the topic of a help context number from the help file.
    virtual void ShowTopic(const std::string& helpFile, int context) = 0;
};

struct PlatformServices {
    // Shared with the probes that may outlive the window, on a stalled server.
    std::shared_ptr<DriveInventory> Drives;
    CommandRunner& Runner;
    FolderBrowser& Browser;
    ShellOpener& Shell;
    HelpEngine& Help;
    // Shared with the lists of shares that may outlive their dialog.
    std::shared_ptr<class ShareLister> Shares;
};
