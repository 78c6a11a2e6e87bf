#pragma once

#include "ui/ui_services.h"
#include "platform/platform.h"
#include "platform/share_lister.h"

#include <QString>

#include <array>
#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

// Records every message window and answers questions from a script.
class FakeUi final : public UiServices {
public:
    MessageAnswer ShowMessage(const Message& message) override;
    int RunModal(QDialog& dialog) override;

    std::vector<Message> Messages;
    // Answers for Yes/No questions, first first; a question with none left fails the test.
    std::deque<MessageAnswer> Answers;
    // Play the user in the modal dialogs to come, first first; a dialog with
    // no player left fails the test.
    std::deque<std::function<int(QDialog&)>> Dialogs;
    std::vector<QString> DialogTitles;
};

class FakeDrives final : public DriveInventory {
public:
    std::uint32_t PresentDrives() override;
    std::int32_t DriveType(char letter) override;
    // From Connections, or, for a letter in Stalled, once that future is ready.
    DriveConnection ConnectionAt(char letter) override;
    // Keeps changed in NetworkChanged, as long as the handle lives.
    std::shared_ptr<void> WatchNetwork(std::function<void()> changed) override;
    std::function<void()> NetworkChanged;

    std::uint32_t Mask = 0;
    std::map<char, DriveConnection> Connections;
    std::map<char, std::shared_future<void>> Stalled;
    std::mutex Guard;  // the window asks off its thread
    std::array<std::int32_t, 26> Types{};
    int MaskCalls = 0;
    std::vector<char> TypeCalls;
};

class FakeRunner final : public CommandRunner {
public:
    CommandResult Run(const std::vector<std::string>& arguments) override;

    std::vector<std::vector<std::string>> Calls;
    // Results, first first; when none are left a command succeeds silently.
    std::deque<CommandResult> Results;
    // Runs while the command "runs", off the window's thread.
    std::function<void(const std::vector<std::string>&)> OnRun;
};

class FakeBrowser final : public FolderBrowser {
public:
    std::optional<std::string> Browse(const std::string& title) override;

    std::vector<std::string> Titles;
    std::optional<std::string> Answer;
};

class FakeShell final : public ShellOpener {
public:
    void Open(const std::string& address) override { Opened.push_back(address); }

    std::vector<std::string> Opened;
};

// Answers a server's list from Lists (an empty list for a server not in it),
// and records each ask. While held, every ask waits: a server that stalls.
class FakeShares final : public ShareLister {
public:
    struct Ask {
        std::string Server;
        std::optional<std::string> User;
        std::optional<std::string> Password;
    };

    ~FakeShares() override { Release(); }
    ShareList List(const std::string& server, const std::optional<ShareLogin>& login) override;

    // Thread-safe: the asks come off the window's thread.
    std::vector<Ask> Asks() const;
    void Hold();
    void Release();

    std::map<std::string, ShareList> Lists;
    // Answers an ask with a login, in place of Lists.
    std::function<ShareList(const ShareLogin&)> WithLogin;

private:
    mutable std::mutex Lock;
    std::condition_variable Released;
    bool Held = false;
    std::vector<Ask> Recorded;
};

class FakeHelp final : public HelpEngine {
public:
    void ShowTopic(const std::string& helpFile, int context) override { Topics.emplace_back(helpFile, context); }

    std::vector<std::pair<std::string, int>> Topics;
};
