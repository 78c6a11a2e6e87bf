// Preloaded into a program under test, it makes the system fail where tests
// cannot make a real one fail:
//   FAULTY_READ_NAME=<name> FAULTY_READ_AFTER=<n>: reads of a file of that
//     name fail with EIO once n bytes of it were read;
//   FAULTY_TERM_AFTER_SYMLINK=1: the program gets SIGTERM right after it made
//     a link named by one letter.
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool ReadsFaultyFile(int descriptor)
{
    const char* name = std::getenv("FAULTY_READ_NAME");
    if (!name)
        return false;
    char target[4096];
    const auto link = "/proc/self/fd/" + std::to_string(descriptor);
    const auto got = readlink(link.c_str(), target, sizeof target - 1);
    if (got <= 0)
        return false;
    const std::string path(target, static_cast<std::size_t>(got));
    const std::string wanted = std::string("/") + name;
    return path.size() >= wanted.size() && path.compare(path.size() - wanted.size(), wanted.size(), wanted) == 0;
}

} // namespace

extern "C" ssize_t read(int descriptor, void* buffer, size_t count)
{
    static const auto real = reinterpret_cast<ssize_t (*)(int, void*, size_t)>(dlsym(RTLD_NEXT, "read"));
    static std::size_t given = 0;
    if (ReadsFaultyFile(descriptor)) {
        const std::size_t after = std::strtoul(std::getenv("FAULTY_READ_AFTER") ? std::getenv("FAULTY_READ_AFTER") : "0",
                                               nullptr, 10);
        if (given >= after) {
            errno = EIO;
            return -1;
        }
        const auto got = real(descriptor, buffer, std::min(count, after - given));
        if (got > 0)
            given += static_cast<std::size_t>(got);
        return got;
    }
    return real(descriptor, buffer, count);
}

extern "C" int symlinkat(const char* target, int folder, const char* name)
{
    static const auto real = reinterpret_cast<int (*)(const char*, int, const char*)>(dlsym(RTLD_NEXT, "symlinkat"));
    const int made = real(target, folder, name);
    if (made == 0 && std::getenv("FAULTY_TERM_AFTER_SYMLINK") && std::strlen(name) == 1)
        raise(SIGTERM);
    return made;
}
