#include "plain_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

std::optional<std::string> ReadOwnPlainFile(int folder, const char* name, std::size_t limit)
{
    const int descriptor = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::string> bytes;
    if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid()
        && static_cast<std::size_t>(info.st_size) <= limit) {
        bytes.emplace();
        char buffer[4096];
        for (;;) {
            const auto got = read(descriptor, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 || bytes->size() + static_cast<std::size_t>(got) > limit) {
                bytes.reset();  // grew while read, or could not be read
                break;
            }
            if (got == 0)
                break;
            bytes->append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(descriptor);
    return bytes;
}
