#pragma once

#include <string>
#include <string_view>

// The type of the file system that holds path (absolute, normalised), from
// the text of a mount table in the form of /proc/self/mountinfo: that of the
// mount point that is the longest leading folder of path. Empty when no line
// reads as a mount.
std::string FileSystemTypeAt(std::string_view mountinfo, std::string_view path);
