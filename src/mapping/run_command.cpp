#include "app/mainform.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QThread>

#include <memory>

namespace {

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

} // namespace

CommandResult TMainPRGForm::RunCommand(const std::vector<std::string>& arguments)
{
    InputBlocker blocker;
    const QScopedValueRollback running(CommandRunning, true);
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
