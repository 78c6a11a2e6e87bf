#include "app/mainform.h"

#include "base/ascii.h"
#include "base/ask_within.h"
#include "mapping/group_line.h"
#include "mapping/line_states.h"

#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <future>
#include <memory>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RefreshPeriod = 30000;  // ms, while the window is shown
constexpr int CollectPause = 50;      // ms between looks at the probes
constexpr int StalledPause = 1000;    // ms, while only stalled ones are left
constexpr int StateRole = Qt::UserRole + 1;

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

} // namespace

void TMainPRGForm::CreateLineStateProbes()
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
    connect(LineStateCollector, &QTimer::timeout, this, &TMainPRGForm::CollectLineStates);
    // The system's word comes on any thread; the window looks on its own.
    NetworkWatch = Services.Drives->WatchNetwork(
        [this] { QMetaObject::invokeMethod(this, &TMainPRGForm::RefreshLineStates, Qt::QueuedConnection); });
    // Lines come, go and change letters in many handlers; each change is looked at anew.
    // A profile of many lines changes the model many times: one look follows them all.
    LineStateChange = new QTimer(this);
    LineStateChange->setSingleShot(true);
    LineStateChange->setInterval(0);
    connect(LineStateChange, &QTimer::timeout, this, &TMainPRGForm::RefreshLineStates);
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

void TMainPRGForm::RefreshLineStates()
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

void TMainPRGForm::CollectLineStates()
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

void TMainPRGForm::ShowLetterState(char letter, const std::optional<DriveConnection>& connection)
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
