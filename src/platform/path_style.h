#pragma once

#include <filesystem>
#include <string>

// How the system writes paths, for the directory outline.
struct PathStyle {
    // Between the names of a path: '\\' with drive letters, '/' without.
    char Separator;
    // Whether the system has drive letters; without them every letter means
    // the one root, written as Root.
    bool DriveLetters;
    std::string Root;
};

PathStyle NativePathStyle();

// Whether the system marks an entry hidden or as its own (dot names aside).
bool IsHiddenOrSystem(const std::filesystem::path& entry);

// A path as the program's 8-bit text (the system's code page where paths are
// wide), and back.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path TextPath(const std::string& text);

// Whether two names (the program's 8-bit text) name one file in a folder:
// without case where the system's file names have none.
bool SameFileName(const std::string& left, const std::string& right);

// The folder of the user's own settings, where a program keeps its files
// when it cannot keep them beside itself: $XDG_CONFIG_HOME (else ~/.config),
// %APPDATA% on Windows; empty when the system names none.
std::filesystem::path UserConfigDirectory();

// The process's current directory as text, of any length; empty when it
// cannot be read.
std::string CurrentDirectoryText();

// The folder of the running program's executable, without Qt; empty when the
// system does not say.
std::filesystem::path RunningProgramDirectory();
