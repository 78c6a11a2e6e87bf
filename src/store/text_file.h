#pragma once

#include "platform/plain_file_reader.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct FileBytes {
    FileReadStatus Status = FileReadStatus::Missing;
    std::string Bytes;
};

// Reads a whole file as raw bytes.
FileBytes ReadFileBytes(const std::filesystem::path& path);

// Reads a file a block at a time and hands each block to take, so that a big
// file is never held whole; the blocks share one buffer. Read, Missing and
// Unreadable as ReadFileBytes reports them.
FileReadStatus ReadFileBlocks(const std::filesystem::path& path, const std::function<void(std::string_view)>& take);

// The stored files are read in text mode: every CR byte is dropped and a
// Ctrl-Z byte ends the text.
std::string FromTextMode(std::string_view bytes);

// Text mode a line at a time, for files too big to copy whole: the bytes up
// to a Ctrl-Z split into lines at LFs as FromTextMode's text does, and each
// line's CRs dropped as its bytes are taken.
std::string_view UpToCtrlZ(std::string_view bytes);
std::string TextModeLine(std::string_view line);

// Reads the lines of a text one after another, each whole, whatever its
// length. A text of n LFs holds n + 1 lines, the last one empty when the text
// ends with an LF, as the writers leave it when their last field is empty.
class LineReader {
public:
    explicit LineReader(std::string_view text) : Text(text) {}

    // The next line without its LF; an empty line once the text is used up.
    std::string_view Next();
    bool AtEnd() const { return Position > Text.size(); }

private:
    std::string_view Text;
    std::size_t Position = 0;
};

// The leading decimal integer of a text, read as C's strtol reads it (leading
// white space skipped, an optional sign), saturated to the 32-bit range.
// Nothing when the text does not start with a number.
std::optional<std::int32_t> LeadingInteger(std::string_view text);

// Byte by byte, ASCII letters without case, every other byte as an unsigned
// value; a text comes before any longer one it starts.
bool AsciiCaseLess(std::string_view left, std::string_view right);
