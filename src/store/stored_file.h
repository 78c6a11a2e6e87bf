#pragma once

#include "store/text_file.h"

#include <filesystem>
#include <string>
#include <string_view>

// What a stored file held at start: a damaged one is put aside, under its
// name with ".bak", before the first write over it, and one that could not
// be read is never written over, since it may still be saved by hand.
struct StoredFile {
    FileReadStatus Status = FileReadStatus::Missing;
    bool Damaged = false;
    std::string OriginalBytes;

    // Writes bytes to path by those rules; false when nothing was written.
    bool Write(const std::filesystem::path& path, std::string_view bytes);
};
