// Attach at the mount's own speed: GVfs's own mount and unmount of a share,
// and corvane-net's attach and detach of it, run in turns on the test Samba
// server on 127.0.0.1 with a GVfs session of its own, as the real-share tests
// start them. Prints the medians, the slowest runs and the differences.
// Usage: attach_bench [runs] (default 9); run by hand, never by the tests.
#include "support/smb_lab.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Milliseconds(Clock::duration took)
{
    return std::chrono::duration<double, std::milli>(took).count();
}

// Whether folder can be listed: GVfs shows a mount's folder before it answers.
bool Answers(const fs::path& folder)
{
    std::error_code error;
    const fs::directory_iterator entries(folder, error);
    return !error;
}

// The time a shell command takes; then, if given, until folder answers.
double Timed(const std::string& command, const fs::path& folder = {})
{
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    while (!folder.empty() && !Answers(folder))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    return Milliseconds(Clock::now() - start);
}

struct Row {
    const char* What;
    std::vector<double> Runs;
    double Median() const
    {
        auto sorted = Runs;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double Slowest() const { return *std::max_element(Runs.begin(), Runs.end()); }
};

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    TempDir dir;
    SmbLab lab(dir / "lab");
    if (const auto why = lab.Start(); !why.empty()) {
        std::fprintf(stderr, "the lab did not start: %s\n", why.c_str());
        return 1;
    }
    const auto drives = dir / "Drives";
    fs::create_directories(drives);
    setenv("CORVANE_DRIVES_DIR", drives.c_str(), 1);
    setenv("HOME", dir.Path().c_str(), 1);
    const auto carrier = ShellQuoted(fs::path(CORVANE_NET));
    const auto fuse = fs::path(std::getenv("XDG_RUNTIME_DIR")) / "gvfs" / "smb-share:server=127.0.0.1,share=public";

    Row mount{"GVfs's own mount (gio mount --anonymous, until its folder answers)", {}};
    Row unmount{"GVfs's own unmount (gio mount -u)", {}};
    Row attach{"corvane-net use P: \\\\127.0.0.1\\public /PERSISTENT:NO", {}};
    Row detach{"corvane-net use P: /DELETE", {}};
    for (int i = 0; i < runs; ++i) {
        mount.Runs.push_back(Timed("gio mount --anonymous smb://127.0.0.1/public >/dev/null 2>&1", fuse));
        unmount.Runs.push_back(Timed("gio mount -u smb://127.0.0.1/public >/dev/null 2>&1"));
        attach.Runs.push_back(Timed(carrier + " use P: '\\\\127.0.0.1\\public' /PERSISTENT:NO >/dev/null"));
        detach.Runs.push_back(Timed(carrier + " use P: /DELETE >/dev/null"));
    }
    std::printf("| what | median | slowest |\n| --- | --- | --- |\n");
    for (const auto* row : {&mount, &attach, &unmount, &detach})
        std::printf("| %s | %.0f ms | %.0f ms |\n", row->What, row->Median(), row->Slowest());
    std::printf("\nattach - mount: %+.0f ms; detach - unmount: %+.0f ms (medians of %d runs in turns)\n",
                attach.Median() - mount.Median(), detach.Median() - unmount.Median(), runs);
}
