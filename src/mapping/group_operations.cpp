#include "app/mainform.h"

#include "catalogue/catalogue_list_view.h"
#include "mapping/drive_letter_dialog.h"
#include "mapping/group_line.h"
#include "mapping/messages.h"
#include "mapping/net_use.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

bool TMainPRGForm::DetachAfterAsking(char letter)
{
    // A letter not attached needs no question and no command.
    if (IsDriveConnected(static_cast<unsigned char>(letter)) == 0)
        return true;
    if (ShowBox(DetachQuestion(letter), " Warning", MessageIcon::Stop, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    RunCommand(DetachArguments(letter));
    return true;
}

// Asks for a letter; nothing when the dialog was closed without one.
std::optional<char> TMainPRGForm::AskForDriveLetter()
{
    TDriveLetterSelection dialog(*this);
    if (UserInterface.RunModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.SelectedLetter;
}

void TMainPRGForm::RightBtnClick()
{
    if (AvailableListView->selectionModel()->selectedRows().isEmpty())
        return;
    const auto letter = AskForDriveLetter();
    if (!letter || SelectedPathIndex < 0 || static_cast<std::size_t>(SelectedPathIndex) >= AvailablePathList.size())
        return;
    CurrentDrive = *letter;
    AddGroupLine(MakeGroupLine(CurrentDrive, AvailablePathList[static_cast<std::size_t>(SelectedPathIndex)].NetworkPath));
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), 0, -1);
    for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DriveBtn, SaveBtn, LeftBtn})
        control->setEnabled(true);
}

void TMainPRGForm::LeftBtnClick()
{
    const int row = SelectedGroupRow();
    if (row < 0)
        return;
    CurrentDrive = GroupLineLetter(GroupLine(row));
    if (!DetachAfterAsking(CurrentDrive))
        return;
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), 1, 0);
    TakeGroupLine(row);
    SaveBtn->setEnabled(true);
    if (MappingListBox->count() == 0) {
        for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DetachAllBtn,
                                                                DetachOneBtn, DriveBtn, LeftBtn})
            control->setEnabled(false);
    }
}

void TMainPRGForm::DriveBtnClick()
{
    const int row = SelectedGroupRow();
    // A line without a letter has no letter to change.
    if (row < 0 || !HasLetterAndPath(GroupLine(row)))
        return;
    // Asked while the old letter is still taken, so it is not offered.
    const auto newLetter = AskForDriveLetter();
    if (!newLetter)
        return;
    auto line = GroupLine(row);
    CurrentDrive = GroupLineLetter(line);
    if (IsDriveConnected(static_cast<unsigned char>(CurrentDrive)) != 0) {
        ShowBox(std::string("The current network path ") + CurrentDrive + ": will be dettach!", " Information",
                MessageIcon::Information);
        RunCommand(DetachArguments(CurrentDrive));
    }
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), 1, 0);
    CurrentDrive = *newLetter;
    line.front() = CurrentDrive;
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), 0, -1);
    TakeGroupLine(row);
    AddGroupLine(line);
    SaveBtn->setEnabled(true);
}
