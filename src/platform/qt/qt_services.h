#pragma once

#include "platform/platform.h"

#include <filesystem>

// The directory that holds the running program.
std::filesystem::path ExecutableDirectory();

// The user's own program for an address or a file, through Qt: it waits for
// no program it starts, and leaves none behind.
class QtShellOpener final : public ShellOpener {
public:
    // A web or mailto: address, or a file's path.
    void Open(const std::string& address) override;
};

// Qt's directory dialog, the same on every system.
class QtFolderBrowser final : public FolderBrowser {
public:
    std::optional<std::string> Browse(const std::string& title) override;
};
