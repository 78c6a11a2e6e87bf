#include "records.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace fs = std::filesystem;

namespace {

// A record is a few short lines; anything longer was not written by us.
constexpr std::size_t LargestRecord = 256 * 1024;

fs::path RecordOf(const fs::path& drives, char letter)
{
    return drives / (std::string(".") + letter + ".corvane");
}

std::optional<std::string> ReadPlainFile(const fs::path& file)
{
    const int descriptor = open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::string> bytes;
    if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= LargestRecord) {
        bytes.emplace();
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(descriptor, buffer, sizeof buffer)) > 0 && bytes->size() <= LargestRecord)
            bytes->append(buffer, static_cast<std::size_t>(got));
        if (got < 0)
            bytes.reset();
    }
    close(descriptor);
    return bytes;
}

bool WriteAll(int descriptor, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const auto done = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        written += static_cast<std::size_t>(done);
    }
    return true;
}

} // namespace

fs::path LinkOf(const fs::path& drives, char letter)
{
    return drives / std::string(1, letter);
}

bool ReplaceFile(const fs::path& file, const std::string& bytes)
{
    // mkstemp creates with O_EXCL: a link planted under the temporary name is
    // refused rather than followed.
    std::string temporary = file.string() + ".XXXXXX";
    const int descriptor = mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool written = WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
    if (close(descriptor) != 0 || !written || std::rename(temporary.c_str(), file.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<LetterRecord> ReadRecord(const fs::path& drives, char letter)
{
    const auto bytes = ReadPlainFile(RecordOf(drives, letter));
    if (!bytes)
        return std::nullopt;
    LetterRecord record;
    bool havePath = false;
    bool haveTarget = false;
    std::string_view text = *bytes;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;  // cut short
        const auto line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const auto key = line.substr(0, equals);
        const auto value = std::string(line.substr(equals + 1));
        if (key == "persistent") {
            record.Persistent = value == "YES";
        } else if (key == "path") {
            record.Path = value;
            havePath = true;
        } else if (key == "user") {
            record.User = value;
        } else if (key == "target") {
            record.Target = value;
            haveTarget = true;
        } else if (key == "mounted") {
            record.Mounted = value == "YES";
        }
    }
    if (!havePath || !haveTarget)
        return std::nullopt;
    return record;
}

bool WriteRecord(const fs::path& drives, char letter, const LetterRecord& record)
{
    std::string bytes = "persistent=" + std::string(record.Persistent ? "YES" : "NO") + "\npath=" + record.Path + "\n";
    if (record.User)
        bytes += "user=" + *record.User + "\n";
    bytes += "target=" + record.Target + "\n";
    if (record.Mounted)
        bytes += "mounted=YES\n";
    return ReplaceFile(RecordOf(drives, letter), bytes);
}

void RemoveRecord(const fs::path& drives, char letter)
{
    unlink(RecordOf(drives, letter).c_str());
}
