#pragma once

#include "mapping/drive_table.h"
#include "platform/platform.h"

#include <QFrame>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class HandlerGate;
class ProfileBook;
class QCheckBox;
class QListWidget;
class QPushButton;
class QTimer;
class UiServices;

// The group's panel: the current profile's lines, each with its letter's
// state, and what attaches, detaches and saves them.
class GroupPanel final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GroupPanel)

public:
    // requiresPassword: whether the catalogue asks credentials for a path.
    GroupPanel(PlatformServices platform, UiServices& ui, HandlerGate& gate, const ProfileBook& profiles,
               std::function<std::uint8_t(std::string_view)> requiresPassword, QWidget* parent);
    ~GroupPanel() override;

    // The drive table.
    void BuildDriveTable();
    void RefreshDriveTable();
    void UpdateDriveEntry(std::int32_t letter, std::uint8_t free, std::int32_t connected);
    std::uint8_t IsDriveConnected(std::int32_t letter) const;
    std::uint8_t PathRequiresPW(std::string_view path) const;

    // The lines of MappingListBox, kept in order, as bytes.
    std::vector<std::string> GroupLines() const;
    std::string GroupLine(int row) const;
    void AddGroupLine(const std::string& line);
    void AddGroupLines(std::vector<std::string> lines);
    // Takes the line out of the group; no line is selected afterwards.
    void TakeGroupLine(int row);
    int SelectedGroupRow() const;

    // Shows the current profile's group, read from its file, or empty for a
    // profile just made.
    void ShowProfileGroup(bool read);
    // Reads the current profile's lines into the group; a missing file is said.
    void LoadMappingList();
    // Asks whether the changed group is to be saved, and saves or drops it;
    // false when it was to be saved and could not be, and so is still there.
    bool AskToSaveGroup();

    // Asks for a free letter; nothing when the dialog was closed without one.
    std::optional<char> AskForDriveLetter();
    // Puts path into the group at letter.
    void AddPath(char letter, const std::string& path);
    // Takes the selected line out, its letter detached first as the user agrees.
    void RemoveSelectedLine();

    // Runs the network command; the windows repaint meanwhile but take no input.
    CommandResult RunCommand(const std::vector<std::string>& arguments);

    // The state of each line's letter, as an image before the line and its
    // accessible description: found off the window's thread at the first
    // showing, after every command and change of the group, and every 30 s.
    void RefreshLineStates();

    void DriveBtnClick();
    void AttachAllBtnClick();
    void AttachOneBtnClick();
    void DetachAllBtnClick();
    void DetachOneBtnClick();
    void SaveBtnClick();

    DrivePathVector DrivePathList;
    char CurrentDrive = 0;

    QListWidget* MappingListBox = nullptr;
    QPushButton* AttachAllBtn = nullptr;
    QPushButton* DetachAllBtn = nullptr;
    QPushButton* DriveBtn = nullptr;
    QPushButton* AttachOneBtn = nullptr;
    QPushButton* DetachOneBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    QCheckBox* RestoreConnectionCheckBox = nullptr;

signals:
    // Whether the group holds a line to take out.
    void LinesRemovable(bool removable);

private:
    // A line and how its attach ended.
    struct AttachReport {
        std::string Line;
        CommandResult Result;
    };
    CommandResult AttachLine(const std::string& line);
    void ShowAttachOutcome(const std::string& text, const std::vector<AttachReport>& reports);
    // Detaches an attached letter once the user agreed; false when not.
    bool DetachAfterAsking(char letter);
    // The selected line's row once its letter is detached, with the user's
    // leave where it was attached; nothing when not.
    std::optional<int> DetachSelectedLine(std::uint8_t free);
    void DisableLineButtons();
    bool SaveGroup();

    void CreateLineStateProbes();
    void CollectLineStates();
    void ShowLetterState(char letter, const std::optional<DriveConnection>& connection);
    // A letter's probe under way. One whose time is up shows "not answering"
    // and is kept until its server answers: a stalled letter holds one thread.
    struct LetterProbe {
        std::future<DriveConnection> Answer;
        std::chrono::steady_clock::time_point Deadline;
        bool Late = false;
        bool Again = false;  // asked again while under way: probed anew after it answers
    };
    std::array<std::optional<LetterProbe>, 26> Probing;
    // Goes before the panel itself: no word of the system comes after that.
    std::shared_ptr<void> NetworkWatch;
    QTimer* LineStateTimer = nullptr;
    QTimer* LineStateCollector = nullptr;
    QTimer* LineStateChange = nullptr;

    PlatformServices Services;
    UiServices& Ui;
    HandlerGate& Gate;
    const ProfileBook& Profiles;
    std::function<std::uint8_t(std::string_view)> RequiresPassword;
};
