#include "support/fake_services.h"

#include <QDialog>

#include <gtest/gtest.h>

MessageAnswer FakeUi::ShowMessage(const Message& message)
{
    Messages.push_back(message);
    if (message.Buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << message.Text;
        return MessageAnswer::No;
    }
    const auto answer = Answers.front();
    Answers.pop_front();
    return answer;
}

int FakeUi::RunModal(QDialog& dialog)
{
    DialogTitles.push_back(dialog.windowTitle());
    if (Dialogs.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return QDialog::Rejected;
    }
    const auto play = std::move(Dialogs.front());
    Dialogs.pop_front();
    return play(dialog);
}

std::uint32_t FakeDrives::PresentDrives()
{
    ++MaskCalls;
    return Mask;
}

std::int32_t FakeDrives::DriveType(char letter)
{
    TypeCalls.push_back(letter);
    return letter >= 'A' && letter <= 'Z' ? Types[static_cast<std::size_t>(letter - 'A')] : 1;
}

DriveConnection FakeDrives::ConnectionAt(char letter)
{
    std::shared_future<void> stalled;
    DriveConnection connection;
    {
        const std::lock_guard lock(Guard);
        if (const auto found = Stalled.find(letter); found != Stalled.end())
            stalled = found->second;
        if (const auto found = Connections.find(letter); found != Connections.end())
            connection = found->second;
    }
    // Only what was copied is used once the server "answers": the fake may be gone by then.
    if (stalled.valid())
        stalled.wait();
    return connection;
}

std::shared_ptr<void> FakeDrives::WatchNetwork(std::function<void()> changed)
{
    NetworkChanged = std::move(changed);
    return std::shared_ptr<void>(nullptr, [this](void*) { NetworkChanged = nullptr; });
}

CommandResult FakeRunner::Run(const std::vector<std::string>& arguments)
{
    Calls.push_back(arguments);
    if (OnRun)
        OnRun(arguments);
    if (Results.empty())
        return {0, {}};
    auto result = Results.front();
    Results.pop_front();
    return result;
}

std::optional<std::string> FakeBrowser::Browse(const std::string& title)
{
    Titles.push_back(title);
    return Answer;
}

ShareList FakeShares::List(const std::string& server, const std::optional<ShareLogin>& login)
{
    std::unique_lock lock(Lock);
    Recorded.push_back({server, login ? std::optional(login->User) : std::nullopt,
                        login ? std::optional(login->Password.Text()) : std::nullopt});
    Released.wait(lock, [this] { return !Held; });
    if (login && WithLogin)
        return WithLogin(*login);
    const auto found = Lists.find(server);
    return found == Lists.end() ? ShareList{} : found->second;
}

std::vector<FakeShares::Ask> FakeShares::Asks() const
{
    const std::lock_guard lock(Lock);
    return Recorded;
}

void FakeShares::Hold()
{
    const std::lock_guard lock(Lock);
    Held = true;
}

void FakeShares::Release()
{
    {
        const std::lock_guard lock(Lock);
        Held = false;
    }
    Released.notify_all();
}
