#pragma once

#include "platform/platform.h"

#include <filesystem>

// The directory that holds the running program.
std::filesystem::path ExecutableDirectory();

// Qt's directory dialog, the same on every system.
class QtFolderBrowser final : public FolderBrowser {
public:
    std::optional<std::string> Browse(const std::string& title) override;
};

// Shows a help topic; without a help file, a note naming the file it looked for.
class QtHelpEngine final : public HelpEngine {
public:
    void ShowTopic(const std::string& helpFile, int context) override;
};
