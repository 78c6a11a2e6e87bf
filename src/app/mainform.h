#pragma once

#include "app/ui_services.h"
#include "mapping/drive_table.h"
#include "platform/platform.h"
#include "store/catalogue_file.h"

#include <QIcon>
#include <QWidget>

class QTimer;

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>

class CatalogueListView;
class CataloguePreload;
class CatalogueModel;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// The program's one window: it owns the catalogue and the group, loads them
// at start, and writes them back when it closes.
class TMainPRGForm final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainPRGForm)

public:
    // With preload, the catalogue read at the start is taken from it.
    TMainPRGForm(std::filesystem::path exeDirectory, PlatformServices platform, UiServices& ui,
                 QWidget* parent = nullptr, CataloguePreload* preload = nullptr);
    ~TMainPRGForm() override;

    // State, kept as the handlers of every subsystem use it.
    PathCatalogue AvailablePathList;
    DrivePathVector DrivePathList;
    std::filesystem::path ProfileDirectory;
    std::int32_t SelectedPathIndex = 0;
    char CurrentDrive = 0;
    std::int32_t ProfileIndex = 0;

    const std::filesystem::path& ExeDirectory() const { return ExeDir; }
    const std::string& HelpFile() const { return HelpFilePath; }
    PlatformServices& Platform() { return Services; }
    UiServices& Ui() { return UserInterface; }

    // Handlers and operations.
    void FormActivate();
    void FormClose();
    // The desktop session ends: everything is saved as at a close, and
    // nothing is asked, since nobody may be there to answer.
    void SaveAtSessionEnd();
    void ExitBtnClick();
    void RefreshCatalogueView(bool updateDetails);
    void AvailableListViewClick();
    void AddBtnClick();
    void EditBtnClick();
    void RemoveBtnClick();

    // The drive table.
    void BuildDriveTable();
    void RefreshDriveTable();
    void UpdateDriveEntry(std::int32_t letter, std::uint8_t free, std::int32_t connected);
    std::uint8_t IsDriveConnected(std::int32_t letter) const;
    std::uint8_t PathRequiresPW(std::string_view path) const;

    // The group: the lines of MappingListBox, kept in order, as bytes.
    std::vector<std::string> GroupLines() const;
    std::string GroupLine(int row) const;
    void AddGroupLine(const std::string& line);
    void AddGroupLines(std::vector<std::string> lines);
    // Takes the line out of the group; no line is selected afterwards.
    void TakeGroupLine(int row);
    int SelectedGroupRow() const;

    // Runs the network command; the window repaints meanwhile but takes no input.
    CommandResult RunCommand(const std::vector<std::string>& arguments);

    // The state of each group line's letter, as an image before the line and
    // its accessible description: found off the window's thread at the first
    // showing, after every command and change of the group, and every 30 s.
    void RefreshLineStates();

    // The group's operations.
    void RightBtnClick();
    void LeftBtnClick();
    void DriveBtnClick();
    void AttachAllBtnClick();
    void AttachOneBtnClick();
    void DetachAllBtnClick();
    void DetachOneBtnClick();

    // Profiles and their files.
    bool CheckDirectory(const std::filesystem::path& directory, bool create);
    std::string ReadConfigFile(const std::filesystem::path& path);
    void WriteConfigFile(const std::filesystem::path& path);
    void LoadMappingList(const std::string& fileName);
    void SaveBtnClick();
    void ProfileComboBoxChange();
    void AddProfileBtnClick();
    void RemoveProfileBtnClick();
    // Adds a profile and makes it current; nothing for an empty name. False
    // when the name was refused since a profile of that name exists, or when
    // the changed group of the profile left could not be saved.
    bool AddProfile(const std::string& name);
    // The name of the profile at index, as bytes.
    std::string ProfileName(int index) const;

    // About and help.
    void AboutBtnClick();
    void HelpBtnClick();
    // The help context number of widget or of its nearest enclosing control.
    std::optional<int> HelpContextOf(QWidget* widget) const;
    void ShowContextHelp(QWidget* widget);

    // Controls, named as the user sees them.
    QFrame* Panel1 = nullptr;
    QLabel* P1Label = nullptr;
    QComboBox* ProfileComboBox = nullptr;
    QPushButton* AddProfileBtn = nullptr;
    QPushButton* RemoveProfileBtn = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* Panel2 = nullptr;
    CatalogueListView* AvailableListView = nullptr;
    QLabel* NetworkPathLabel = nullptr;
    QLineEdit* NetworkPathEdit = nullptr;
    QLabel* DescriptionLabel = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    QLabel* RequiresPWLabel = nullptr;
    QPushButton* AddBtn = nullptr;
    QPushButton* EditBtn = nullptr;
    QPushButton* RemoveBtn = nullptr;
    QToolButton* RightBtn = nullptr;
    QToolButton* LeftBtn = nullptr;
    QFrame* Panel3 = nullptr;
    QListWidget* MappingListBox = nullptr;
    QPushButton* AttachAllBtn = nullptr;
    QPushButton* DetachAllBtn = nullptr;
    QPushButton* DriveBtn = nullptr;
    QPushButton* AttachOneBtn = nullptr;
    QPushButton* DetachOneBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    QCheckBox* RestoreConnectionCheckBox = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* AboutBtn = nullptr;
    QPushButton* ExitBtn = nullptr;

    // Image 0: no credentials needed; image 1: user name and password needed.
    std::array<QIcon, 2> ImageList1;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateLineStateProbes();
    void CollectLineStates();
    // A letter's probe under way. One whose time is up shows "not answering"
    // and is kept until its server answers: a stalled letter holds one thread.
    struct LetterProbe {
        std::future<DriveConnection> Answer;
        std::chrono::steady_clock::time_point Deadline;
        bool Late = false;
        bool Again = false;  // asked again while under way: probed anew after it answers
    };
    std::array<std::optional<LetterProbe>, 26> Probing;
    // Goes before the window itself: no word of the system comes after that.
    std::shared_ptr<void> NetworkWatch;
    void ShowLetterState(char letter, const std::optional<DriveConnection>& connection);
    QTimer* LineStateTimer = nullptr;
    QTimer* LineStateCollector = nullptr;
    QTimer* LineStateChange = nullptr;

    void CreateProfilePanel();
    void CreateCatalogueTitles();
    void CreateCataloguePanel();
    void CreateArrowButtons();
    void CreateGroupPanel();
    void CreateBottomButtons();
    void SetTabOrder();
    void SetHelpContexts();
    void ConnectHandlers();
    void SetUpContextHelp();

    // What a stored file held at start: a damaged one is put aside before
    // the first write over it, and one that could not be read is never
    // written over. The damaged one goes to the same name with ".bak".
    struct StoredFile {
        FileReadStatus Status = FileReadStatus::Missing;
        bool Damaged = false;
        std::string OriginalBytes;
    };
    bool WriteStoredFile(const std::filesystem::path& path, StoredFile& atStart, const std::string& bytes);

    void StartUp();
    void ReadCatalogue();
    // Writes the catalogue, as after every change of it; a failure is said.
    void SaveCatalogue();
    void SaveConfiguration();

    // Asks whether the changed group is to be saved, and saves or drops it;
    // false when it was to be saved and could not be, and so is still there.
    bool AskToSaveGroup();
    // Writes the group to its profile's file; says so when it cannot.
    bool SaveGroup();
    // The file of the profile at index; nothing when its name cannot be a file name.
    std::optional<std::filesystem::path> ProfileFile(int index) const;
    // The file of the profile at index as the user reads it.
    std::string ProfileFileText(int index) const;
    int SelectedProfileItem() const;
    void AppendProfileItem(const std::string& name);
    void SelectProfile(int index);
    void DisableLineButtons();

    // A line and how its attach ended.
    struct AttachReport {
        std::string Line;
        CommandResult Result;
    };
    std::optional<char> AskForDriveLetter();
    // Detaches an attached letter once the user agreed; false when not.
    bool DetachAfterAsking(char letter);
    CommandResult AttachLine(const std::string& line);
    void ShowAttachOutcome(const std::string& text, const std::vector<AttachReport>& reports);

    MessageAnswer ShowBox(const std::string& text, const std::string& caption, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);
    void ShowPlain(const std::string& text);

    std::filesystem::path ExeDir;
    std::string HelpFilePath;
    PlatformServices Services;
    UiServices& UserInterface;
    CataloguePreload* Preload;
    CatalogueModel* CatalogueRows = nullptr;
    StoredFile CatalogueAtStart;
    StoredFile ConfigAtStart;
    bool Activated = false;
    bool IconSet = false;
    bool Closed = false;
    bool HandlerRunning = false;
    // Set while the network command runs: the window cannot be closed then.
    bool CommandRunning = false;
};
