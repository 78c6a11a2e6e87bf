#include "platform/path_style.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

PathStyle NativePathStyle()
{
    return {'/', false, "/"};
}

bool IsHiddenOrSystem(const std::filesystem::path&)
{
    // Here a hidden entry is one whose name starts with a dot.
    return false;
}

std::string PathText(const std::filesystem::path& path)
{
    return path.native();
}

std::filesystem::path TextPath(const std::string& text)
{
    return text;
}

bool SameFileName(const std::string& left, const std::string& right)
{
    return left == right;
}

std::filesystem::path UserConfigDirectory()
{
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return config;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config";
    return {};
}

std::string CurrentDirectoryText()
{
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::filesystem::path RunningProgramDirectory()
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}
