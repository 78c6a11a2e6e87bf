#include "app/mainform.h"

#include "app/display_text.h"
#include "mapping/group_line.h"
#include "mapping/line_commands.h"
#include "mapping/password_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>


namespace {

const char* const Succeeded = " The commad was successful completed";

} // namespace

CommandResult TMainPRGForm::AttachLine(const std::string& line)
{
    std::optional<Credentials> credentials;
    // A line that is never run asks for nothing.
    if (HasLetterAndPath(line) && PathRequiresPW(GroupLinePath(line)) != 0) {
        TPasswordDlg dialog(*this);
        if (UserInterface.RunModal(dialog) == QDialog::Accepted)
            credentials = Credentials{dialog.UserName->text().toStdString(), dialog.Password->text().toStdString()};
    }
    auto result = AttachGroupLine(line, std::move(credentials), RestoreConnectionCheckBox->isChecked(),
                                  [this](const auto& arguments) { return RunCommand(arguments); });
    if (result.ExitStatus == 0) {
        UpdateDriveEntry(static_cast<unsigned char>(GroupLineLetter(line)), 0, 1);
        DetachAllBtn->setEnabled(true);
        DetachOneBtn->setEnabled(true);
    }
    return result;
}

void TMainPRGForm::ShowAttachOutcome(const std::string& text, const std::vector<AttachReport>& reports)
{
    Message message{MessageKind::Box, text, " Information", MessageIcon::Information, MessageButtons::Ok, {}};
    for (const auto& [line, result] : reports) {
        // A line that was attached is told only with what it could not do besides.
        if (result.ExitStatus == 0 && result.Note.empty())
            continue;
        if (!message.Details.empty())
            message.Details += "\n\n";
        message.Details += line;
        if (result.ExitStatus == 0) {
            message.Details += "\n" + result.Note;
            continue;
        }
        message.Details += "\nExit status " + std::to_string(result.ExitStatus);
        if (result.ExitStatus == -1)
            message.Details += " (the network command could not be started)";
        if (!result.Output.empty())
            message.Details += "\n" + result.Output;
    }
    UserInterface.ShowMessage(message);
}

void TMainPRGForm::AttachAllBtnClick()
{
    // Failed lines are counted, not their statuses added: -1 and 1 would cancel out.
    bool failed = false;
    std::vector<AttachReport> reports;
    for (const auto& line : GroupLines()) {
        auto result = AttachLine(line);
        failed = failed || result.ExitStatus != 0;
        reports.push_back({line, std::move(result)});
    }
    ShowAttachOutcome(failed ? " One or more paths were not attached" : Succeeded, reports);
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
    const bool attached = result.ExitStatus == 0;
    ShowAttachOutcome(attached ? Succeeded : " Path was not attached", {{line, std::move(result)}});
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
