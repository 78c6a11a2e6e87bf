#include "autostart.h"

#include "records.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path ConfigHome()
{
    // Relative values are to be ignored, as for every XDG base directory.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return config;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "/") / ".config";
}

// One argument of an Exec line: quoted, with the characters that quoting
// leaves special escaped, and then escaped once more as a string value.
std::string ExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else
            value += c;
    }
    return value;
}

std::string EntryText()
{
    std::error_code error;
    const auto program = fs::read_symlink("/proc/self/exe", error);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Corvane network drives\n"
           "Comment=Attaches the drive letters that were attached to be restored at the next login\n"
           "Exec=" + ExecArgument(program.string()) + " restore\n"
           "NoDisplay=true\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-Phase=Applications\n";
}

std::string ReadAll(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

} // namespace

fs::path AutostartEntry()
{
    return ConfigHome() / "autostart" / "corvane-net-restore.desktop";
}

bool KeepAutostart(bool wanted)
{
    const auto entry = AutostartEntry();
    std::error_code error;
    if (!wanted) {
        fs::remove(entry, error);
        return !error;
    }
    const auto text = EntryText();
    if (!fs::is_symlink(entry, error) && fs::is_regular_file(entry, error) && ReadAll(entry) == text)
        return true;
    fs::create_directories(entry.parent_path(), error);
    return ReplaceFile(entry, text);
}
