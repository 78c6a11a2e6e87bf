#include "group_panel.h"

#include "base/ascii.h"
#include "base/ask_within.h"
#include "mapping/drive_letter_dialog.h"
#include "mapping/group_line.h"
#include "mapping/line_commands.h"
#include "mapping/line_states.h"
#include "mapping/messages.h"
#include "mapping/net_use.h"
#include "mapping/password_dialog.h"
#include "profiles/profile_book.h"
#include "ui/controls.h"
#include "ui/display_text.h"
#include "ui/handler_gate.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int BytesRole = Qt::UserRole;
constexpr int StateRole = Qt::UserRole + 1;
constexpr int RefreshPeriod = 30000;  // ms, while the window is shown
constexpr int CollectPause = 50;      // ms between looks at the probes
constexpr int StalledPause = 1000;    // ms, while only stalled ones are left

const char* const Succeeded = " The commad was successful completed";

// Eats the user's input to every window while it lives.
class InputBlocker final : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(InputBlocker)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::Close:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

// A dot before the line: green attached, amber not answering, a grey ring
// free, red taken.
QIcon StateIcon(LineState state)
{
    static const auto icons = [] {
        std::array<QIcon, 4> made;
        const std::array<QColor, 4> colours{QColor(0x2E, 0x9E, 0x3E), QColor(0xE0, 0x9A, 0x10), QColor(0x90, 0x90, 0x90),
                                           QColor(0xC8, 0x2A, 0x2A)};
        for (std::size_t i = 0; i < made.size(); ++i) {
            QPixmap dot(10, 10);
            dot.fill(Qt::transparent);
            QPainter painter(&dot);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(colours[i], 1.5));
            painter.setBrush(static_cast<LineState>(i) == LineState::NotAttached ? QBrush(Qt::NoBrush) : QBrush(colours[i]));
            painter.drawEllipse(QRectF(1, 1, 8, 8));
            made[i] = QIcon(dot);
        }
        return made;
    }();
    return icons[static_cast<std::size_t>(state)];
}

std::string LineOf(const QListWidgetItem* item)
{
    return item->data(BytesRole).toByteArray().toStdString();
}



QListWidgetItem* ItemOf(const std::string& line)
{
    auto* item = new QListWidgetItem(ToDisplay(line));
    item->setData(BytesRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    return item;
}

} // namespace

GroupPanel::GroupPanel(PlatformServices platform, UiServices& ui, HandlerGate& gate, const ProfileBook& profiles,
                       std::function<std::uint8_t(std::string_view)> requiresPassword, QWidget* parent)
    : QFrame(parent), Services(std::move(platform)), Ui(ui), Gate(gate), Profiles(profiles),
      RequiresPassword(std::move(requiresPassword))
{
    MakePanel(this, "Panel3", {392, 66, 322, 390});
    MappingListBox = Make<QListWidget>(this, "MappingListBox", {8, 8, 306, 262});
    MappingListBox->setUniformItemSizes(true);

    AttachAllBtn = MakeButton(this, "AttachAllBtn", QStringLiteral("&Attach All"), {8, 280, 98, 27}, false);
    DetachAllBtn = MakeButton(this, "DetachAllBtn", QStringLiteral("&Detach All"), {112, 280, 98, 27}, false);
    DriveBtn = MakeButton(this, "DriveBtn", QStringLiteral("&Change Drive"), {216, 280, 98, 27}, false);
    AttachOneBtn = MakeButton(this, "AttachOneBtn", QStringLiteral("Attach &1"), {8, 314, 98, 27}, false);
    DetachOneBtn = MakeButton(this, "DetachOneBtn", QStringLiteral("D&etach 1"), {112, 314, 98, 27}, false);
    SaveBtn = MakeButton(this, "SaveBtn", QStringLiteral("&Save Profile"), {216, 314, 98, 27}, false);
    RestoreConnectionCheckBox = Make<QCheckBox>(this, "RestoreConnectionCheckBox", {8, 354, 306, 20});
    RestoreConnectionCheckBox->setText(QStringLiteral("Restore at next login..."));

    Gate.Connect(SaveBtn, &QPushButton::clicked, this, &GroupPanel::SaveBtnClick);
    Gate.Connect(DriveBtn, &QPushButton::clicked, this, &GroupPanel::DriveBtnClick);
    Gate.Connect(AttachAllBtn, &QPushButton::clicked, this, &GroupPanel::AttachAllBtnClick);
    Gate.Connect(AttachOneBtn, &QPushButton::clicked, this, &GroupPanel::AttachOneBtnClick);
    Gate.Connect(DetachAllBtn, &QPushButton::clicked, this, &GroupPanel::DetachAllBtnClick);
    Gate.Connect(DetachOneBtn, &QPushButton::clicked, this, &GroupPanel::DetachOneBtnClick);
    CreateLineStateProbes();
}

GroupPanel::~GroupPanel()
{
    // The list empties itself after this panel is gone: nothing is to look at its lines then.
    NetworkWatch.reset();
    MappingListBox->model()->disconnect(this);
    LineStateChange->stop();
    // A probe under way still asks the inventory, which may go with this window;
    // one past its time lies on a stalled server and is left behind.
    for (auto& probe : Probing) {
        if (probe && !probe->Late)
            probe->Answer.wait_until(probe->Deadline);
    }
}

CommandResult GroupPanel::RunCommand(const std::vector<std::string>& arguments)
{
    InputBlocker blocker;
    const QScopedValueRollback running(Gate.CommandRunning, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    // The command runs beside the event loop so that the windows still paint.
    CommandResult result;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] { result = Services.Runner.Run(arguments); }));
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();

    QApplication::restoreOverrideCursor();
    RefreshLineStates();
    return result;
}

void GroupPanel::CreateLineStateProbes()
{
    MappingListBox->setIconSize(QSize(10, 10));
    LineStateTimer = new QTimer(this);
    LineStateTimer->setInterval(RefreshPeriod);
    connect(LineStateTimer, &QTimer::timeout, this, [this] {
        if (isVisible())
            RefreshLineStates();
    });
    LineStateTimer->start();
    LineStateCollector = new QTimer(this);
    LineStateCollector->setInterval(CollectPause);
    connect(LineStateCollector, &QTimer::timeout, this, &GroupPanel::CollectLineStates);
    // The system's word comes on any thread; the window looks on its own.
    NetworkWatch = Services.Drives->WatchNetwork(
        [this] { QMetaObject::invokeMethod(this, &GroupPanel::RefreshLineStates, Qt::QueuedConnection); });
    // Lines come, go and change letters in many handlers; each change is looked at anew.
    // A profile of many lines changes the model many times: one look follows them all.
    LineStateChange = new QTimer(this);
    LineStateChange->setSingleShot(true);
    LineStateChange->setInterval(0);
    connect(LineStateChange, &QTimer::timeout, this, &GroupPanel::RefreshLineStates);
    auto* model = MappingListBox->model();
    const auto changed = [this] { LineStateChange->start(); };
    connect(model, &QAbstractItemModel::rowsInserted, this, changed);
    connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(model, &QAbstractItemModel::modelReset, this, changed);
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                // What the states themselves set changes no line.
                const bool ours = !roles.isEmpty() && std::all_of(roles.begin(), roles.end(), [](int role) {
                    return role == Qt::DecorationRole || role == Qt::AccessibleDescriptionRole || role == StateRole;
                });
                if (!ours)
                    LineStateChange->start();
            });
}

void GroupPanel::RefreshLineStates()
{
    for (int row = 0; row < MappingListBox->count(); ++row) {
        const auto line = GroupLine(row);
        if (!HasLetterAndPath(line))
            continue;
        const auto index = static_cast<std::size_t>(DriveLetterIndex(GroupLineLetter(line)));
        if (auto& probe = Probing[index]) {
            probe->Again = true;
            continue;
        }
        // Off the window's thread, and left behind should its server never answer.
        Probing[index] = LetterProbe{
            AskOffThread([drives = Services.Drives, letter = static_cast<char>('A' + index)] { return drives->ConnectionAt(letter); }),
            Clock::now() + AnswerTimeLimit};
    }
    if (std::any_of(Probing.begin(), Probing.end(), [](const auto& probe) { return probe && !probe->Late; }))
        LineStateCollector->start(CollectPause);
}

void GroupPanel::CollectLineStates()
{
    const auto now = Clock::now();
    bool again = false;
    for (std::size_t i = 0; i < Probing.size(); ++i) {
        auto& probe = Probing[i];
        if (!probe)
            continue;
        const auto letter = static_cast<char>('A' + i);
        if (probe->Answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            again = again || probe->Again;
            ShowLetterState(letter, probe->Answer.get());
            probe.reset();
        } else if (!probe->Late && now >= probe->Deadline) {
            probe->Late = true;
            ShowLetterState(letter, std::nullopt);
        }
    }
    if (again)
        RefreshLineStates();
    // Only stalled letters left: their answers are looked for now and then.
    const bool busy = std::any_of(Probing.begin(), Probing.end(), [](const auto& probe) { return probe && !probe->Late; });
    const bool stalled = std::any_of(Probing.begin(), Probing.end(), [](const auto& probe) { return probe.has_value(); });
    if (busy)
        LineStateCollector->setInterval(CollectPause);
    else if (stalled)
        LineStateCollector->setInterval(StalledPause);
    else
        LineStateCollector->stop();
}

void GroupPanel::ShowLetterState(char letter, const std::optional<DriveConnection>& connection)
{
    for (int row = 0; row < MappingListBox->count(); ++row) {
        const auto line = GroupLine(row);
        if (!HasLetterAndPath(line) || DriveLetterIndex(GroupLineLetter(line)) != letter - 'A')
            continue;
        const auto state = StateOfLine(GroupLinePath(line), connection);
        auto* item = MappingListBox->item(row);
        if (item->data(StateRole).toInt() == static_cast<int>(state) + 1)
            continue;
        item->setData(StateRole, static_cast<int>(state) + 1);
        item->setIcon(StateIcon(state));
        item->setData(Qt::AccessibleDescriptionRole, QString::fromLatin1(LineStateText(state)));
    }
}

std::vector<std::string> GroupPanel::GroupLines() const
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(MappingListBox->count()));
    for (int row = 0; row < MappingListBox->count(); ++row)
        lines.push_back(LineOf(MappingListBox->item(row)));
    return lines;
}

std::string GroupPanel::GroupLine(int row) const
{
    return LineOf(MappingListBox->item(row));
}


void GroupPanel::AddGroupLine(const std::string& line)
{
    // After the lines that sort equal, as a sorted list box places it.
    int low = 0;
    int high = MappingListBox->count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (GroupLineLess(line, LineOf(MappingListBox->item(middle))))
            high = middle;
        else
            low = middle + 1;
    }
    MappingListBox->insertItem(low, ItemOf(line));
}

void GroupPanel::AddGroupLines(std::vector<std::string> lines)
{
    if (MappingListBox->count() > 0) {
        for (const auto& line : lines)
            AddGroupLine(line);
        return;
    }
    // A whole profile at once: sorted first, then appended in one go.
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return GroupLineLess(a, b); });
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        texts.append(ToDisplay(line));
    MappingListBox->addItems(texts);
    for (int row = 0; row < MappingListBox->count(); ++row) {
        const auto& line = lines[static_cast<std::size_t>(row)];
        MappingListBox->item(row)->setData(BytesRole, QByteArray(line.data(), static_cast<qsizetype>(line.size())));
    }
}

int GroupPanel::SelectedGroupRow() const
{
    const auto selected = MappingListBox->selectedItems();
    return selected.isEmpty() ? -1 : MappingListBox->row(selected.front());
}

void GroupPanel::TakeGroupLine(int row)
{
    delete MappingListBox->takeItem(row);
    // The list would select the next line, which the user never picked.
    MappingListBox->clearSelection();
    MappingListBox->setCurrentRow(-1);
}

void GroupPanel::BuildDriveTable()
{
    DrivePathList = ::BuildDriveTable(*Services.Drives);
}

void GroupPanel::RefreshDriveTable()
{
    for (const auto& line : GroupLines())
        UpdateDriveEntry(static_cast<unsigned char>(GroupLineLetter(line)), 0, -1);
}

void GroupPanel::UpdateDriveEntry(std::int32_t letter, std::uint8_t free, std::int32_t connected)
{
    // The Detach buttons follow the letter updated last, not the whole group.
    const bool attached = ::UpdateDriveEntry(DrivePathList, *Services.Drives, letter, free, connected) != 0;
    DetachAllBtn->setEnabled(attached);
    DetachOneBtn->setEnabled(attached);
}

std::uint8_t GroupPanel::IsDriveConnected(std::int32_t letter) const
{
    return ::IsDriveConnected(DrivePathList, letter);
}

std::uint8_t GroupPanel::PathRequiresPW(std::string_view path) const
{
    return RequiresPassword(path);
}

CommandResult GroupPanel::AttachLine(const std::string& line)
{
    std::optional<Credentials> credentials;
    // A line that is never run asks for nothing.
    if (HasLetterAndPath(line) && PathRequiresPW(GroupLinePath(line)) != 0) {
        TPasswordDlg dialog(*window());
        if (Ui.RunModal(dialog) == QDialog::Accepted)
            credentials = Credentials{dialog.UserName->text().toStdString(), dialog.TypedPassword()};
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

void GroupPanel::ShowAttachOutcome(const std::string& text, const std::vector<AttachReport>& reports)
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
    Ui.ShowMessage(message);
}

void GroupPanel::AttachAllBtnClick()
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

void GroupPanel::AttachOneBtnClick()
{
    const int row = SelectedGroupRow();
    if (row < 0) {
        ShowBox(Ui, " Please select the network path that should be attached!", " Information", MessageIcon::Information);
        return;
    }
    const auto line = GroupLine(row);
    auto result = AttachLine(line);
    const bool attached = result.ExitStatus == 0;
    ShowAttachOutcome(attached ? Succeeded : " Path was not attached", {{line, std::move(result)}});
}

void GroupPanel::DetachAllBtnClick()
{
    if (ShowBox(Ui, "Do you want to dettach all drives?", " Warning", MessageIcon::Stop, MessageButtons::YesNo)
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

void GroupPanel::DetachOneBtnClick()
{
    DetachSelectedLine(0);
}

bool GroupPanel::DetachAfterAsking(char letter)
{
    // A letter not attached needs no question and no command.
    if (IsDriveConnected(static_cast<unsigned char>(letter)) == 0)
        return true;
    if (ShowBox(Ui, DetachQuestion(letter), " Warning", MessageIcon::Stop, MessageButtons::YesNo) != MessageAnswer::Yes)
        return false;
    RunCommand(DetachArguments(letter));
    return true;
}

// Asks for a letter; nothing when the dialog was closed without one.
std::optional<char> GroupPanel::AskForDriveLetter()
{
    TDriveLetterSelection dialog(*window(), DrivePathList);
    if (Ui.RunModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.SelectedLetter;
}

void GroupPanel::AddPath(char letter, const std::string& path)
{
    CurrentDrive = letter;
    AddGroupLine(MakeGroupLine(CurrentDrive, path));
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), 0, -1);
    for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DriveBtn, SaveBtn})
        control->setEnabled(true);
    emit LinesRemovable(true);
}

std::optional<int> GroupPanel::DetachSelectedLine(std::uint8_t free)
{
    const int row = SelectedGroupRow();
    if (row < 0)
        return std::nullopt;
    CurrentDrive = GroupLineLetter(GroupLine(row));
    if (!DetachAfterAsking(CurrentDrive))
        return std::nullopt;
    UpdateDriveEntry(static_cast<unsigned char>(CurrentDrive), free, 0);
    return row;
}

void GroupPanel::RemoveSelectedLine()
{
    const auto row = DetachSelectedLine(1);
    if (!row)
        return;
    TakeGroupLine(*row);
    SaveBtn->setEnabled(true);
    if (MappingListBox->count() == 0)
        DisableLineButtons();
}

void GroupPanel::DisableLineButtons()
{
    for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DetachAllBtn, DetachOneBtn,
                                                            DriveBtn})
        control->setEnabled(false);
    emit LinesRemovable(false);
}

void GroupPanel::DriveBtnClick()
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
        ShowBox(Ui, std::string("The current network path ") + CurrentDrive + ": will be dettach!", " Information",
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

void GroupPanel::ShowProfileGroup(bool read)
{
    MappingListBox->clear();
    if (read)
        LoadMappingList();
    BuildDriveTable();
    if (read)
        RefreshDriveTable();
    if (MappingListBox->count() == 0)
        DisableLineButtons();
}

void GroupPanel::LoadMappingList()
{
    const auto index = Profiles.Current();
    auto lines = Profiles.ReadGroup(index);
    if (!lines) {
        ShowBox(Ui, "File :\n" + Profiles.FileText(index) + "\nwas not found and will be created...", " Information",
                MessageIcon::Information);
        return;
    }
    const bool any = !lines->empty();
    AddGroupLines(std::move(*lines));
    if (any) {
        for (QWidget* control : std::initializer_list<QWidget*>{AttachAllBtn, AttachOneBtn, DriveBtn})
            control->setEnabled(true);
        emit LinesRemovable(true);
    }
}

void GroupPanel::SaveBtnClick()
{
    SaveGroup();
}

bool GroupPanel::SaveGroup()
{
    if (!Profiles.SaveGroup(Profiles.Current(), GroupLines())) {
        ShowBox(Ui, " Was not able to save the profile mapping list!", " Error", MessageIcon::Error);
        return false;
    }
    SaveBtn->setEnabled(false);
    return true;
}

bool GroupPanel::AskToSaveGroup()
{
    if (!SaveBtn->isEnabled())
        return true;
    if (ShowBox(Ui, " Do you want to save the profile mapping list?", " Warnint", MessageIcon::Warning,
                MessageButtons::YesNo)
        == MessageAnswer::Yes)
        return SaveGroup();
    // Dropped: what is loaded next is unchanged.
    SaveBtn->setEnabled(false);
    return true;
}
