#pragma once

#include <QFrame>

#include <cstdint>
#include <functional>
#include <string>

class HandlerGate;
class ProfileBook;
class QComboBox;
class QLabel;
class QPushButton;
class UiServices;

// The profile strip: which profile is current, and the adding and removing
// of profiles. The group shown follows it through the window.
class ProfilePanel final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProfilePanel)

public:
    // leaveGroup: asked before the current profile is left; false keeps it.
    ProfilePanel(ProfileBook& profiles, UiServices& ui, HandlerGate& gate, std::function<bool()> leaveGroup,
                 QWidget* parent);

    // Makes the folder of the named profiles where it is missing; a failure is said.
    void MakeProfileFolder();
    // Reads the profiles and the current one's name; a damaged file is said.
    void ReadProfiles();
    // Writes them back; a failure is said.
    void SaveProfiles();

    void ProfileComboBoxChange();
    void AddProfileBtnClick();
    void RemoveProfileBtnClick();
    // Adds a profile and makes it current; nothing for an empty name. False
    // when the name was refused since a profile of that name exists, or when
    // the changed group of the profile left could not be saved.
    bool AddProfile(const std::string& name);

    std::int32_t ProfileIndex() const;
    // The name of the profile at index, as bytes.
    std::string ProfileName(int index) const;

    QLabel* P1Label = nullptr;
    QComboBox* ProfileComboBox = nullptr;
    QPushButton* AddProfileBtn = nullptr;
    QPushButton* RemoveProfileBtn = nullptr;

signals:
    // Another profile is current: its group is to be shown, read from its
    // file unless the profile was just made.
    void ProfileSwitched(bool read);

private:
    int SelectedProfileItem() const;
    void AppendProfileItem(const std::string& name);
    void SelectProfile(int index);

    ProfileBook& Profiles;
    UiServices& Ui;
    std::function<bool()> LeaveGroup;
};
