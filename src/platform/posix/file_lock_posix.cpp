#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

FileLock::FileLock(std::filesystem::path file) : File(std::move(file)) {}

FileLock::~FileLock()
{
    if (Handle >= 0)
        close(static_cast<int>(Handle));
}

FileLock::Outcome FileLock::Acquire()
{
    if (Handle >= 0)
        return Outcome::Held;
    // Never through a link, and never waiting on a pipe put in the file's place.
    constexpr int Flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    bool writable = true;
    int descriptor = open(File.c_str(), O_RDWR | O_CREAT | Flags, 0644);
    if (descriptor < 0) {
        // A read-only folder may still hold a dead copy's lock, which locks as well read-only.
        writable = false;
        descriptor = open(File.c_str(), O_RDONLY | Flags);
    }
    if (descriptor < 0)
        return Outcome::Unavailable;
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        return Outcome::Unavailable;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(descriptor);
        return held ? Outcome::HeldElsewhere : Outcome::Unavailable;
    }
    Handle = descriptor;
    // Only for people to read: the lock holds whether or not it is written.
    if (const auto text = std::to_string(getpid()) + "\n"; writable && ftruncate(descriptor, 0) == 0) {
        const auto written = pwrite(descriptor, text.data(), text.size(), 0);
        static_cast<void>(written);
    }
    return Outcome::Held;
}
