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
