// The folder probe against a folder whose listing never comes back, as one
// on a stopped server's share: this program's own open() stands in for the
// system's and holds the listing process of that one folder forever.
#include "platform/posix/folder_probe.h"

#include "support/temp_dir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::atomic<const char*> Stalled{nullptr};

int OpenOrStall(const char* path, int flags, va_list rest)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(rest, mode_t) : 0;
    if (const char* stalled = Stalled.load(); stalled != nullptr && std::strcmp(path, stalled) == 0) {
        for (;;)
            pause();
    }
    return static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

// The processes this one is the parent of; as the subreaper, the listing
// processes whose own parents ended are among them.
std::vector<pid_t> Children()
{
    std::vector<pid_t> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            continue;
        // pid (name) state ppid ...: the name may hold blanks and brackets.
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        char state = 0;
        pid_t parent = 0;
        if (rest >> state >> parent && parent == getpid())
            children.push_back(std::stoi(entry.path().filename().string()));
    }
    return children;
}

} // namespace

extern "C" int open(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int opened = OpenOrStall(path, flags, rest);
    va_end(rest);
    return opened;
}

extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));

TEST(FolderProbe, AFolderThatNeverAnswersHasOneListingAtATimeAndHoldsUpNoOther)
{
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const TempDir dir;
    std::filesystem::create_directory(dir / "stalled");
    std::filesystem::create_directory(dir / "answers");
    const auto stalled = (dir / "stalled").string();
    Stalled = stalled.c_str();
    ASSERT_TRUE(Children().empty());

    for (int round = 0; round < 6; ++round)
        EXPECT_FALSE(FolderAnswersWithin(dir / "stalled", std::chrono::milliseconds(30))) << round;
    const auto listing = Children();
    ASSERT_EQ(listing.size(), 1U) << "a listing was started while the last one had not come back";
    EXPECT_TRUE(FolderAnswersWithin(dir / "answers", AnswerTimeLimit));

    // The server answers again: the stuck listing's end is no answer, a new one is.
    Stalled = nullptr;
    kill(listing.front(), SIGKILL);
    ASSERT_EQ(waitpid(listing.front(), nullptr, 0), listing.front());
    EXPECT_TRUE(FolderAnswersWithin(dir / "stalled", AnswerTimeLimit));
    while (waitpid(-1, nullptr, 0) > 0) {
    }
    EXPECT_TRUE(Children().empty());
}
