#include "app/mainform.h"

#include "app/display_text.h"
#include "catalogue/add_profile_dialog.h"
#include "platform/path_style.h"
#include "store/profile_files.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

int TMainPRGForm::SelectedProfileItem() const
{
    // Text typed into the field selects no item, unless it still reads as one.
    const int index = ProfileComboBox->currentIndex();
    return index >= 0 && ProfileComboBox->itemText(index) == ProfileComboBox->currentText() ? index : -1;
}

void TMainPRGForm::DisableLineButtons()
{
    for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DetachAllBtn, DetachOneBtn,
                                                            DriveBtn, LeftBtn})
        control->setEnabled(false);
}

void TMainPRGForm::ProfileComboBoxChange()
{
    const int index = SelectedProfileItem();
    if (index == ProfileIndex || index == -1)
        return;
    // The group of the profile left is saved if the user wants it, or dropped;
    // one that could not be saved keeps the user where it is.
    if (!AskToSaveGroup()) {
        SelectProfile(ProfileIndex);
        return;
    }
    ProfileIndex = index;
    MappingListBox->clear();
    LoadMappingList(ProfileIndex == 0 ? std::string(DefaultProfileFileName) : ProfileName(ProfileIndex) + ".pro");
    BuildDriveTable();
    RefreshDriveTable();
    if (MappingListBox->count() == 0)
        DisableLineButtons();
    RemoveProfileBtn->setEnabled(ProfileIndex != 0);
}

void TMainPRGForm::AddProfileBtnClick()
{
    TAddProfile dialog(*this);
    UserInterface.RunModal(dialog);
}

bool TMainPRGForm::AddProfile(const std::string& name)
{
    if (name.empty())
        return true;
    // Two profiles of one name would share one file.
    for (int index = 0; index < ProfileComboBox->count(); ++index) {
        if (SameFileName(ProfileName(index), name)) {
            ShowBox(" The profile " + name + " exists already!\n Please choose another name.", " Information",
                    MessageIcon::Information);
            return false;
        }
    }
    if (!AskToSaveGroup())
        return false;
    AppendProfileItem(name);
    MappingListBox->clear();
    ProfileIndex = ProfileComboBox->count() - 1;
    ProfileComboBox->setFocus();
    SelectProfile(ProfileIndex);
    RemoveProfileBtn->setEnabled(true);
    BuildDriveTable();
    DisableLineButtons();
    return true;
}

void TMainPRGForm::AppendProfileItem(const std::string& name)
{
    ProfileComboBox->addItem(ToDisplay(name), QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

void TMainPRGForm::RemoveProfileBtnClick()
{
    if (SelectedProfileItem() <= 0) {
        ShowPlain("You can not delete the default profile!");
        return;
    }
    if (ShowBox("Do you want to remove the profile " + ProfileName(ProfileIndex) + "?", " Warning",
                MessageIcon::Warning, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    // A name that is no file name has no file to delete, here or elsewhere.
    if (const auto file = ProfileFile(ProfileIndex)) {
        std::error_code ignored;
        std::filesystem::remove(*file, ignored);
    }
    {
        const QSignalBlocker quiet(ProfileComboBox);
        ProfileComboBox->removeItem(ProfileIndex);
    }
    ProfileComboBox->setFocus();
    SelectProfile(0);
    ProfileIndex = 0;
    MappingListBox->clear();
    LoadMappingList(std::string(DefaultProfileFileName));
    BuildDriveTable();
    RefreshDriveTable();
    if (MappingListBox->count() == 0)
        DisableLineButtons();
    RemoveProfileBtn->setEnabled(false);
}
