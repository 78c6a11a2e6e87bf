#include "profile_panel.h"

#include "platform/path_style.h"
#include "profiles/add_profile_dialog.h"
#include "profiles/profile_book.h"
#include "ui/controls.h"
#include "ui/display_text.h"
#include "ui/handler_gate.h"
#include "ui/ui_services.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <utility>

namespace {

constexpr int BytesRole = Qt::UserRole;

} // namespace

ProfilePanel::ProfilePanel(ProfileBook& profiles, UiServices& ui, HandlerGate& gate, std::function<bool()> leaveGroup,
                           QWidget* parent)
    : QFrame(parent), Profiles(profiles), Ui(ui), LeaveGroup(std::move(leaveGroup))
{
    MakePanel(this, "Panel1", {0, 0, 722, 41});
    P1Label = MakeLabel(this, "P1Label", QStringLiteral("Profile List:"), {10, 12, 80, 17}, true);
    ProfileComboBox = Make<QComboBox>(this, "ProfileComboBox", {92, 9, 420, 23});
    ProfileComboBox->setEditable(true);
    ProfileComboBox->setInsertPolicy(QComboBox::NoInsert);
    AppendProfileItem(std::string(DefaultProfileName));
    ProfileComboBox->setToolTip(
        QStringLiteral("You should only select the profile! Use the Add button to create a new profile!"));
    ProfileComboBox->setAccessibleName(P1Label->text());
    P1Label->setBuddy(ProfileComboBox);
    AddProfileBtn = MakeButton(this, "AddProfileBtn", QStringLiteral("&Add"), {528, 8, 88, 25});
    RemoveProfileBtn = MakeButton(this, "RemoveProfileBtn", QStringLiteral("&Remove"), {624, 8, 88, 25}, false);

    gate.Connect(ProfileComboBox, &QComboBox::activated, this, &ProfilePanel::ProfileComboBoxChange);
    gate.Connect(ProfileComboBox, &QComboBox::editTextChanged, this, &ProfilePanel::ProfileComboBoxChange);
    gate.Connect(AddProfileBtn, &QPushButton::clicked, this, &ProfilePanel::AddProfileBtnClick);
    gate.Connect(RemoveProfileBtn, &QPushButton::clicked, this, &ProfilePanel::RemoveProfileBtnClick);
}

void ProfilePanel::MakeProfileFolder()
{
    const auto folder = Profiles.ProfileFolder() / "";
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return;
    // One level only: the parent must be there already.
    if (std::filesystem::create_directory(folder, error) && !error)
        return;
    ShowPlain(Ui, " Cannot create the directory\n " + PathText(folder) + "!");
}

void ProfilePanel::ReadProfiles()
{
    const auto& stored = Profiles.Read();
    if (stored.Status != FileReadStatus::Read)
        return;
    if (stored.Damaged)
        ShowPlain(Ui, " The Corvane2.cfg file is corrupted!");
    {
        const QSignalBlocker quiet(ProfileComboBox);
        for (int index = 1; index < Profiles.Count(); ++index)
            AppendProfileItem(Profiles.Name(index));
    }
    SelectProfile(Profiles.Current());
    if (Profiles.Count() > 1 && Profiles.Current() > 0)
        RemoveProfileBtn->setEnabled(true);
}

void ProfilePanel::SaveProfiles()
{
    if (!Profiles.Write())
        ShowBox(Ui, " Was not able to create the configuration file!", " Error", MessageIcon::Error);
}

std::int32_t ProfilePanel::ProfileIndex() const
{
    return Profiles.Current();
}

std::string ProfilePanel::ProfileName(int index) const
{
    return Profiles.Name(index);
}

int ProfilePanel::SelectedProfileItem() const
{
    // Text typed into the field selects no item, unless it still reads as one.
    const int index = ProfileComboBox->currentIndex();
    return index >= 0 && ProfileComboBox->itemText(index) == ProfileComboBox->currentText() ? index : -1;
}

void ProfilePanel::AppendProfileItem(const std::string& name)
{
    ProfileComboBox->addItem(ToDisplay(name), QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

void ProfilePanel::SelectProfile(int index)
{
    // The program's own choice of item is no change of the user's.
    const QSignalBlocker quiet(ProfileComboBox);
    ProfileComboBox->setCurrentIndex(index);
}

void ProfilePanel::ProfileComboBoxChange()
{
    const int index = SelectedProfileItem();
    if (index == ProfileIndex() || index == -1)
        return;
    // The group of the profile left is saved if the user wants it, or dropped;
    // one that could not be saved keeps the user where it is.
    if (!LeaveGroup()) {
        SelectProfile(ProfileIndex());
        return;
    }
    Profiles.SetCurrent(index);
    emit ProfileSwitched(true);
    RemoveProfileBtn->setEnabled(ProfileIndex() != 0);
}

void ProfilePanel::AddProfileBtnClick()
{
    TAddProfile dialog(*this);
    Ui.RunModal(dialog);
}

bool ProfilePanel::AddProfile(const std::string& name)
{
    if (name.empty())
        return true;
    // Two profiles of one name would share one file.
    if (Profiles.Has(name)) {
        ShowBox(Ui, " The profile " + name + " exists already!\n Please choose another name.", " Information",
                MessageIcon::Information);
        return false;
    }
    if (!LeaveGroup())
        return false;
    AppendProfileItem(name);
    Profiles.SetCurrent(Profiles.Add(name));
    ProfileComboBox->setFocus();
    SelectProfile(ProfileIndex());
    RemoveProfileBtn->setEnabled(true);
    emit ProfileSwitched(false);
    return true;
}

void ProfilePanel::RemoveProfileBtnClick()
{
    if (SelectedProfileItem() <= 0) {
        ShowPlain(Ui, "You can not delete the default profile!");
        return;
    }
    const int index = ProfileIndex();
    if (ShowBox(Ui, "Do you want to remove the profile " + ProfileName(index) + "?", " Warning",
                MessageIcon::Warning, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    Profiles.Remove(index);
    {
        const QSignalBlocker quiet(ProfileComboBox);
        ProfileComboBox->removeItem(index);
    }
    ProfileComboBox->setFocus();
    SelectProfile(0);
    emit ProfileSwitched(true);
    RemoveProfileBtn->setEnabled(false);
}
