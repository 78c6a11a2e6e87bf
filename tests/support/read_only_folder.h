#pragma once

#include <filesystem>
#include <string>

// Makes a folder read-only for everyone, the superuser included, by mounting
// it over itself read-only in a mount namespace of this process's own, so
// that nothing outlives the process. Where the system allows no such mount,
// Made() is false and Why says why.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::filesystem::path& folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Made() const { return Why.empty(); }
    std::string Why;

private:
    std::filesystem::path Folder;
};
