#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

enum class FileReadStatus {
    Read,
    Missing,     // no file of that name
    Unreadable,  // there, but no plain file, larger than the limit, or failed while read
};

// Reads a file a block at a time and hands each block to take, when it is a
// plain file (a link to one is followed) of at most limit bytes. A pipe, a
// device or a folder in its place is Unreadable at once: it is opened without
// waiting for a writer and never read.
FileReadStatus ReadPlainFileBlocks(const std::filesystem::path& path, std::uint64_t limit,
                                    const std::function<void(std::string_view)>& take);
