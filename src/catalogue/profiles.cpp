#include "app/mainform.h"

#include "app/display_text.h"
#include "catalogue/add_profile_dialog.h"
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
    // The group of the profile left is dropped, saved or not.
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

void TMainPRGForm::AddProfile(const std::string& name)
{
    if (name.empty())
        return;
    ProfileComboBox->addItem(ToDisplay(name), QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    MappingListBox->clear();
    ProfileIndex = ProfileComboBox->count() - 1;
    ProfileComboBox->setFocus();
    SelectProfile(ProfileIndex);
    RemoveProfileBtn->setEnabled(true);
    BuildDriveTable();
    DisableLineButtons();
}

void TMainPRGForm::RemoveProfileBtnClick()
{
    if (SelectedProfileItem() <= 0) {
        ShowPlain("You can not delete the default profile!");
        return;
    }
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
