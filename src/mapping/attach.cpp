#include "app/mainform.h"

#include "app/display_text.h"
#include "mapping/group_line.h"
#include "mapping/net_use.h"
#include "mapping/password_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

const char* const Succeeded = " The commad was successful completed";

void Wipe(std::string& secret)
{
    std::fill(secret.begin(), secret.end(), '\0');
    secret.clear();
}

// What the command printed, unless it holds the password it was given. No
// blotting out is safe: a blot in ordinary text shows which letters the
// password has, so such output is left out whole.
std::string Redacted(const std::string& output, const std::string& password)
{
    if (password.empty() || output.find(password) == std::string::npos)
        return output;
    return "(What the command printed held the password and is not shown.)";
}

} // namespace

CommandResult TMainPRGForm::AttachLine(const std::string& line)
{
    // A bare "net use" would only list the connections, and succeed.
    if (!HasLetterAndPath(line))
        return {-1, "The line names no drive letter and path; nothing was run."};
    std::optional<Credentials> credentials;
    if (PathRequiresPW(GroupLinePath(line)) != 0) {
        TPasswordDlg dialog(*this);
        if (UserInterface.RunModal(dialog) == QDialog::Accepted)
            credentials = Credentials{FromDisplay(dialog.UserName->text()), FromDisplay(dialog.Password->text())};
    }
    auto arguments = AttachArguments(line, credentials, RestoreConnectionCheckBox->isChecked());
    auto result = RunCommand(arguments);
    if (credentials) {
        result.Output = Redacted(result.Output, credentials->Password);
        Wipe(credentials->Password);
        for (auto& argument : arguments)
            Wipe(argument);
    }
    if (result.ExitStatus == 0) {
        UpdateDriveEntry(static_cast<unsigned char>(GroupLineLetter(line)), 0, 1);
        DetachAllBtn->setEnabled(true);
        DetachOneBtn->setEnabled(true);
    }
    return result;
}

void TMainPRGForm::ShowAttachOutcome(const std::string& text, const std::vector<FailedAttach>& failures)
{
    Message message{MessageKind::Box, text, " Information", MessageIcon::Information, MessageButtons::Ok, {}};
    for (const auto& failure : failures) {
        if (!message.Details.empty())
            message.Details += "\n\n";
        message.Details += failure.Line + "\nExit status " + std::to_string(failure.Result.ExitStatus);
        if (failure.Result.ExitStatus == -1)
            message.Details += " (the network command could not be started)";
        if (!failure.Result.Output.empty())
            message.Details += "\n" + failure.Result.Output;
    }
    UserInterface.ShowMessage(message);
}

void TMainPRGForm::AttachAllBtnClick()
{
    // Failed lines are counted, not their statuses added: -1 and 1 would cancel out.
    std::vector<FailedAttach> failures;
    for (const auto& line : GroupLines()) {
        auto result = AttachLine(line);
        if (result.ExitStatus != 0)
            failures.push_back({line, std::move(result)});
    }
    ShowAttachOutcome(failures.empty() ? Succeeded : " One or more paths were not attached", failures);
}

void TMainPRGForm::AttachOneBtnClick()
{
    const int row = SelectedGroupRow();
    if (row < 0) {
        ShowBox(" Please select the network path that should be attached!", " Information", MessageIcon::Information);
        return;
    }
    const auto line = GroupLine(row);
    auto result = AttachLine(line);
    if (result.ExitStatus == 0)
        ShowAttachOutcome(Succeeded, {});
    else
        ShowAttachOutcome(" Path was not attached", {{line, std::move(result)}});
}

void TMainPRGForm::DetachAllBtnClick()
{
    if (ShowBox("Do you want to dettach all drives?", " Warning", MessageIcon::Stop, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    for (const auto& line : GroupLines()) {
        const auto letter = GroupLineLetter(line);
        if (IsDriveConnected(static_cast<unsigned char>(letter)) != 0) {
            RunCommand(DetachArguments(letter));
            UpdateDriveEntry(static_cast<unsigned char>(letter), 0, 0);
        }
    }
}

void TMainPRGForm::DetachOneBtnClick()
{
    const int row = SelectedGroupRow();
    if (row < 0)
        return;
    CurrentDrive = GroupLineLetter(GroupLine(row));
    if (!DetachAfterAsking(CurrentDrive))
        return;
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), 0, 0);
}
