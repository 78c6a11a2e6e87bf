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
