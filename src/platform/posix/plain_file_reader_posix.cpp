#include "platform/plain_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

FileReadStatus ReadPlainFileBlocks(const std::filesystem::path& path, std::uint64_t limit,
                                    const std::function<void(std::string_view)>& take)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing : FileReadStatus::Unreadable;
    struct stat info {};
    auto status = FileReadStatus::Unreadable;
    if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= limit) {
        std::string block(std::size_t{1} << 16, '\0');
        std::uint64_t total = 0;
        for (;;) {
            const auto got = read(descriptor, block.data(), block.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got == 0)
                status = FileReadStatus::Read;
            // A file that grows past the limit while it is read is no file of ours.
            if (got <= 0 || (total += static_cast<std::uint64_t>(got)) > limit)
                break;
            take(std::string_view(block.data(), static_cast<std::size_t>(got)));
        }
    }
    close(descriptor);
    return status;
}
