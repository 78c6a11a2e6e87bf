#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A fresh directory of its own, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    std::filesystem::path operator/(std::string_view name) const { return Root / std::filesystem::path(name); }

private:
    std::filesystem::path Root;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);
