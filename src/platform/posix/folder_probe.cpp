#include "folder_probe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <string>

namespace {

std::mutex Guard;

// The answers still to come, one a folder: the read ends of their pipes.
std::map<std::string, int>& Pending()
{
    static auto* pending = new std::map<std::string, int>;  // outlives every thread that may still ask
    return *pending;
}

// In the forked process of a program with threads: only calls that are safe there.
[[noreturn]] void ListAndTell(const char* folder, int answer)
{
    if (_Fork() != 0)
        _exit(0);  // the grandchild lists; nothing need wait for it
    // Nothing of the program's stays open in it: not its output, not its locks.
    if (answer != 3)
        dup2(answer, 3);
    syscall(SYS_close_range, 4U, ~0U, 0U);
    close(0);
    close(1);
    close(2);
    const int listing = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    char entries[1024];
    const char told = listing >= 0 && syscall(SYS_getdents64, listing, entries, sizeof entries) >= 0 ? '1' : '0';
    static_cast<void>(write(3, &told, 1));
    _exit(0);
}

// The read end of a pipe on which a new listing of folder will answer; -1 when none could start.
int StartListing(const std::string& folder)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    const pid_t child = _Fork();
    if (child == 0)
        ListAndTell(folder.c_str(), ends[1]);
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return -1;
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return ends[0];
}

} // namespace

bool FolderAnswersWithin(const std::filesystem::path& folder, std::chrono::milliseconds limit)
{
    const auto key = folder.string();
    int answer = -1;
    {
        const std::lock_guard lock(Guard);
        if (const auto pending = Pending().find(key); pending != Pending().end()) {
            answer = pending->second;
            Pending().erase(pending);
        }
    }
    // A listing that came back meanwhile is old news: a new one is asked for.
    if (pollfd back{answer, POLLIN, 0}; answer >= 0 && poll(&back, 1, 0) == 1) {
        close(answer);
        answer = -1;
    }
    if (answer < 0)
        answer = StartListing(key);
    if (answer < 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    pollfd ready{answer, POLLIN, 0};
    int polled = 0;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        polled = poll(&ready, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (polled >= 0 || errno != EINTR)
            break;
    }
    if (polled == 1) {
        char told = '0';
        const bool listed = read(answer, &told, 1) == 1 && told == '1';
        close(answer);
        return listed;
    }
    const std::lock_guard lock(Guard);
    if (!Pending().emplace(key, answer).second)
        close(answer);
    return false;
}
