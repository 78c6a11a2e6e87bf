// Attach at the mount's own speed: GVfs's own mount and unmount of a share,
// and corvane-net's attach and detach of it, run in turns on the test Samba
// server on 127.0.0.1 with a GVfs session of its own, as the real-share tests
// start them. Prints the medians, the slowest runs and the differences.
// Usage: attach_bench [--window] [runs] [other corvane-net]
//   runs     of each, in turns (default 9);
//   other    the carrier of another build, run in the same turns;
//   --window then the window's click-to-message for one line, through its
//            handler, against the carrier's own time within it.
// Run by hand, never by the tests.
#include "mapping/group_panel.h"
#include "platform/system_services.h"
#include "support/dialog_players.h"
#include "support/fake_services.h"
#include "support/main_window_fixture.h"
#include "support/smb_lab.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QListWidget>

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <optional>
#include <filesystem>
#include <string>
#include <string_view>
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

// Handles on the share backends (gvfsd-smb) that run now, which turn
// readable when their process ends: after an unmount, the earlier mount's
// backend lingers for one to two seconds, and a new mount's folder answers
// only after it has gone.
std::vector<int> ShareBackends()
{
    std::vector<int> handles;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const auto name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string command;
        std::getline(std::ifstream(entry.path() / "comm"), command);
        const int handle = command == "gvfsd-smb" ? static_cast<int>(syscall(SYS_pidfd_open, std::stoi(name), 0)) : -1;
        if (handle >= 0)
            handles.push_back(handle);
    }
    return handles;
}

// Waits until every one of handles' processes has ended; when.
Clock::time_point Gone(std::vector<int> handles)
{
    std::vector<pollfd> waits;
    for (const int handle : handles)
        waits.push_back({handle, POLLIN, 0});
    while (!waits.empty()) {
        if (poll(waits.data(), waits.size(), -1) < 0 && errno != EINTR)
            break;
        std::erase_if(waits, [](const pollfd& wait) { return wait.revents != 0 && close(wait.fd) == 0; });
    }
    return Clock::now();
}

// A backend ends on a timer of GLib's whole seconds, which fire at one point of
// the second in the whole session. To that point, when learnt, each unmount
// is started half a second after it: every mount that follows then waits the
// same for the earlier backend, whichever way it mounts.
class SecondPhase {
public:
    void Learn(Clock::time_point end) { Point = end; }
    void WaitForHalf() const
    {
        if (!Point)
            return;
        const auto second = std::chrono::seconds(1);
        const auto past = (Clock::now() - *Point) % second;
        std::this_thread::sleep_for((second / 2 - past + second) % second);
    }

private:
    std::optional<Clock::time_point> Point;
};

struct Timing {
    double Total;
    // From the end of the share backends that ran at the start; negative when the command ended before.
    double AfterBackendLeft;
};

// The time a shell command takes; then, if given, until folder answers. With
// watch, also from the end of the share backends that ran at its start.
Timing Timed(const std::string& command, const fs::path& folder = {}, bool watch = false)
{
    std::future<Clock::time_point> gone;
    if (watch)
        gone = std::async(std::launch::async, Gone, ShareBackends());
    const auto start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
    while (!folder.empty() && !Answers(folder))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const auto end = Clock::now();
    return {Milliseconds(end - start), watch ? Milliseconds(end - gone.get()) : 0.0};
}

struct Row {
    std::vector<double> Runs;
    double Median() const
    {
        auto sorted = Runs;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double Slowest() const { return *std::max_element(Runs.begin(), Runs.end()); }
};

// The message the window shows, and when.
class TimedUi final : public UiServices {
public:
    MessageAnswer ShowMessage(const Message& message) override
    {
        Shown = Clock::now();
        Texts.push_back(message.Text);
        return Player.ShowMessage(message);
    }
    int RunModal(QDialog& dialog) override { return Player.RunModal(dialog); }

    FakeUi Player;
    Clock::time_point Shown;
    std::vector<std::string> Texts;
};

// The carrier as the window runs it, and how long each run takes.
class TimedRunner final : public CommandRunner {
public:
    explicit TimedRunner(CommandRunner& real) : Real(real) {}
    CommandResult Run(const std::vector<std::string>& arguments) override
    {
        const auto start = Clock::now();
        auto result = Real.Run(arguments);
        Took = Clock::now() - start;
        return result;
    }

    Clock::duration Took{};

private:
    CommandRunner& Real;
};

// Attaches and detaches \\127.0.0.1\public as P: through the window's handlers, runs times.
bool TimeTheWindow(int runs, const fs::path& carrier, const fs::path& drives, Row& clickToMessage, Row& carrierTime)
{
    TempDir dir;
    WriteBytes(dir / "Corvane2.pro", "0");
    WriteBytes(dir / "Corvane2.net", "1 2.0\r\n0,\\\\127.0.0.1\\public\r\nPublic");
    setenv("CORVANE_DRIVES_DIR", drives.c_str(), 1);
    TimedUi ui;
    const auto system = MakeSystemCommandRunner(carrier.parent_path());
    TimedRunner runner(*system);
    FakeBrowser browser;
    FakeShell shell;
    FakeHelp help;
    TMainPRGForm form(dir.Path(), {MakeSystemDriveInventory(), runner, browser, shell, help, std::make_shared<FakeShares>()},
                      ui);
    form.show();
    ClickRow(form, 0);
    ui.Player.Dialogs.push_back(ChooseLetter(QStringLiteral("P:")));
    form.RightBtnClick();
    form.Panel3->MappingListBox->setCurrentRow(0);
    for (int i = 0; i < runs; ++i) {
        ui.Texts.clear();
        const auto click = Clock::now();
        form.Panel3->AttachOneBtnClick();
        if (ui.Texts != std::vector<std::string>{" The commad was successful completed"}) {
            std::fprintf(stderr, "the window's attach failed: %s\n", ui.Texts.empty() ? "no message" : ui.Texts[0].c_str());
            return false;
        }
        clickToMessage.Runs.push_back(Milliseconds(ui.Shown - click));
        carrierTime.Runs.push_back(Milliseconds(runner.Took));
        ui.Player.Answers.push_back(MessageAnswer::Yes);
        form.Panel3->DetachOneBtnClick();
    }
    return true;
}

} // namespace

// Mounts and lets go of the share one way.
struct Contender {
    std::string Mounts, LetsGo;  // what is timed, in the tables
    std::string Mount, Unmount;  // shell commands
    fs::path Folder = {};        // waited for after Mount, when that returns before its folder answers
    Row AtOnce = {}, AfterBackendLeft = {}, Settled = {}, LetGo = {};
};

int main(int argc, char** argv)
{
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto window = std::find(arguments.begin(), arguments.end(), "--window");
    const bool timeTheWindow = window != arguments.end();
    if (timeTheWindow)
        arguments.erase(window);
    const int runs = !arguments.empty() ? std::max(1, std::atoi(arguments[0].data())) : 9;
    const fs::path other = arguments.size() > 1 ? fs::absolute(arguments[1]) : fs::path();
    if (!other.empty() && !fs::is_regular_file(other)) {
        std::fprintf(stderr, "no carrier at %s\n", other.c_str());
        return 1;
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
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
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);

    const auto carrier = [](const fs::path& program, const std::string& which) {
        return Contender{"corvane-net use P: \\\\127.0.0.1\\public /PERSISTENT:NO" + which, "corvane-net use P: /DELETE" + which,
                         ShellQuoted(program) + " use P: '\\\\127.0.0.1\\public' /PERSISTENT:NO >/dev/null",
                         ShellQuoted(program) + " use P: /DELETE >/dev/null"};
    };
    std::vector<Contender> contenders{
        {"GVfs's own mount (gio mount --anonymous, until its folder answers)", "GVfs's own unmount (gio mount -u)",
         "gio mount --anonymous smb://127.0.0.1/public >/dev/null 2>&1", "gio mount -u smb://127.0.0.1/public >/dev/null 2>&1",
         fs::path(std::getenv("XDG_RUNTIME_DIR")) / "gvfs" / "smb-share:server=127.0.0.1,share=public"},
        carrier(CORVANE_NET, "")};
    if (!other.empty())
        contenders.push_back(carrier(other, ", the other build"));

    // Right after an unmount, as when a user detaches and attaches again; then
    // each once the earlier mount's backend has gone. Each round starts with
    // the next one, so that none gains or loses by its place after another.
    SecondPhase phase;
    Timed(contenders[0].Mount, contenders[0].Folder);
    Timed(contenders[0].Unmount);
    phase.Learn(Gone(ShareBackends()));
    const auto size = contenders.size();
    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < size; ++k) {
            auto& one = contenders[(round + k) % size];
            const auto timing = Timed(one.Mount, one.Folder, true);
            one.AtOnce.Runs.push_back(timing.Total);
            one.AfterBackendLeft.Runs.push_back(timing.AfterBackendLeft);
            phase.WaitForHalf();
            one.LetGo.Runs.push_back(Timed(one.Unmount).Total);
        }
    }
    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < size; ++k) {
            auto& one = contenders[(round + k) % size];
            Gone(ShareBackends());
            one.Settled.Runs.push_back(Timed(one.Mount, one.Folder).Total);
            Timed(one.Unmount);
        }
    }

    const auto table = [&](const char* title, Row Contender::*row) {
        std::printf("\n%s\n\n| what | median | slowest | against GVfs |\n| --- | --- | --- | --- |\n", title);
        for (const auto& one : contenders)
            std::printf("| %s | %.0f ms | %.0f ms | %+.0f ms |\n", (row == &Contender::LetGo ? one.LetsGo : one.Mounts).c_str(),
                        (one.*row).Median(), (one.*row).Slowest(), (one.*row).Median() - (contenders[0].*row).Median());
    };
    std::printf("Medians of %d runs in turns, on one server and session.\n", runs);
    table("Attached right after an unmount:", &Contender::AtOnce);
    table("The same runs, from the moment the earlier mount's backend ended:", &Contender::AfterBackendLeft);
    table("Attached once the earlier mount's backend has ended:", &Contender::Settled);
    table("Let go:", &Contender::LetGo);

    if (!timeTheWindow)
        return 0;
    Row clickToMessage, carrierTime;
    if (!TimeTheWindow(runs, CORVANE_NET, drives, clickToMessage, carrierTime))
        return 1;
    std::vector<double> added;
    for (std::size_t i = 0; i < clickToMessage.Runs.size(); ++i)
        added.push_back(clickToMessage.Runs[i] - carrierTime.Runs[i]);
    std::sort(added.begin(), added.end());
    std::printf("\nThe window, right after a detach:\n\n| what | median | slowest |\n| --- | --- | --- |\n"
                "| Attach one, from the click to the message | %.0f ms | %.0f ms |\n"
                "| the carrier's run within it | %.0f ms | %.0f ms |\n"
                "| what the window adds | %+.0f ms | %+.0f ms |\n",
                clickToMessage.Median(), clickToMessage.Slowest(), carrierTime.Median(), carrierTime.Slowest(),
                added[added.size() / 2], added.back());
}
