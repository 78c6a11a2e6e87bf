#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <chrono>
#include <cstdio>

// For the start-up benchmark: with CORVANE_REPORT_SHOWN set, the window's
// first paint prints the wall clock in nanoseconds and ends the program.
class ShownReport final : public QObject {
public:
    static void Watch(QWidget& window)
    {
        if (qEnvironmentVariableIsSet("CORVANE_REPORT_SHOWN"))
            window.installEventFilter(new ShownReport(&window));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
            std::fflush(stdout);
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    using QObject::QObject;
};
