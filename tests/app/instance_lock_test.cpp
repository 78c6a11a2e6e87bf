#include "app/instance_lock.h"

#include "support/fake_services.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string AlreadyRunning(const fs::path& dir)
{
    return " The program is already running in\n " + dir.string() + "\n and may run only once there!";
}

} // namespace

TEST(InstanceLock, ASecondCopyInTheSameDirectoryIsTurnedAway)
{
    TempDir dir;
    FakeUi ui;
    {
        InstanceLock first(dir.Path());
        ASSERT_TRUE(first.Acquire(ui));
        InstanceLock second(dir.Path());
        EXPECT_FALSE(second.Acquire(ui));
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Text, AlreadyRunning(dir.Path()));
        EXPECT_EQ(ui.Messages[0].Caption, " Information");
        EXPECT_EQ(ui.Messages[0].Icon, MessageIcon::Information);

        TempDir other;
        InstanceLock elsewhere(other.Path());
        EXPECT_TRUE(elsewhere.Acquire(ui)) << "a copy in another directory was turned away";
    }
    InstanceLock afterwards(dir.Path());
    EXPECT_TRUE(afterwards.Acquire(ui)) << "the lock outlived the copy that held it";
    EXPECT_EQ(ui.Messages.size(), 1u);
}

TEST(InstanceLock, TheLockOfARunningProgramHoldsAndThatOfADeadOneIsTakenOver)
{
    TempDir dir;
    // Under its own file name: Windows starts only what ends in ".exe".
    const auto copy = dir.Path() / fs::path(CORVANE2).filename();
    fs::copy_file(CORVANE2, copy);
    QProcess program;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdU16String(copy.u16string()), {});
    ASSERT_TRUE(program.waitForStarted());
    for (int i = 0; i < 500 && !fs::exists(dir / "Corvane2.lock"); ++i)
        QThread::msleep(10);
    ASSERT_TRUE(fs::exists(dir / "Corvane2.lock"));

    FakeUi ui;
    {
        InstanceLock second(dir.Path());
        EXPECT_FALSE(second.Acquire(ui));
        EXPECT_EQ(ui.Messages.size(), 1u);
    }

    program.kill();
    ASSERT_TRUE(program.waitForFinished());
    // Under an emulator the killed process may linger after it is reported
    // finished, for seconds while other programs keep the emulator busy.
    InstanceLock third(dir.Path());
    FakeUi later;
    bool taken = false;
    for (int i = 0; i < 300 && !(taken = third.Acquire(later)); ++i)
        QThread::msleep(100);
    EXPECT_TRUE(taken) << "the dead program's lock was not taken over";
    EXPECT_EQ(ui.Messages.size(), 1u);
}
