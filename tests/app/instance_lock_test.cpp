#include "app/instance_lock.h"

#include "support/fake_services.h"
#include "support/read_only_folder.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_view_literals;

namespace {

const std::string AlreadyRunning(const fs::path& dir)
{
    return " The program is already running in\n " + dir.string() + "\n and may run only once there!";
}

// The lock file as a copy holds it between making it and writing its name in
// it: open, and locked against removal the way the system's lock does it.
class HeldOpen {
public:
    explicit HeldOpen(const fs::path& file)
    {
#ifdef _WIN32
        Handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        Held = Handle != INVALID_HANDLE_VALUE;
#else
        Descriptor = open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        Held = Descriptor >= 0 && flock(Descriptor, LOCK_EX | LOCK_NB) == 0;
#endif
    }
    ~HeldOpen()
    {
#ifdef _WIN32
        if (Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
#else
        if (Descriptor >= 0)
            close(Descriptor);
#endif
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

    bool Held = false;

private:
#ifdef _WIN32
    HANDLE Handle = INVALID_HANDLE_VALUE;
#else
    int Descriptor = -1;
#endif
};

qint64 LockOwner(const fs::path& file)
{
    return std::stoll("0" + ReadBytes(file));
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

TEST(InstanceLock, ALockLeftWithoutItsOwnersNameIsTakenOverUnlessItIsStillHeld)
{
    // A copy that dies between making its lock and writing its name in it
    // leaves a file no one can tell the owner of; the next start must not be
    // turned away for ever.
    for (const std::string_view left : {""sv, "12"sv, "not a lock\n"sv, "\0\0\0\0"sv}) {
        TempDir dir;
        WriteBytes(dir / "Corvane2.lock", left);
        FakeUi ui;
        InstanceLock lock(dir.Path());
        EXPECT_TRUE(lock.Acquire(ui)) << "left: " << testing::PrintToString(left);
        EXPECT_TRUE(ui.Messages.empty());
        EXPECT_EQ(LockOwner(dir / "Corvane2.lock"), QCoreApplication::applicationPid());
    }

    // A copy that is starting holds its lock before it has named itself.
    TempDir dir;
    HeldOpen starting(dir / "Corvane2.lock");
    ASSERT_TRUE(starting.Held);
    FakeUi ui;
    InstanceLock lock(dir.Path());
    EXPECT_FALSE(lock.Acquire(ui));
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, AlreadyRunning(dir.Path()));
    EXPECT_TRUE(fs::exists(dir / "Corvane2.lock"));
}

#ifndef _WIN32
TEST(InstanceLock, WhereNoLockCanBeHadTheProgramStillStarts)
{
    // A read-only folder that holds a dead copy's lock (a disk mounted read-only after a crash).
    {
        TempDir dir;
        WriteBytes(dir / "Corvane2.lock", "4242\n");
        ReadOnlyFolder readOnly(dir.Path());
        if (!readOnly.Made())
            GTEST_SKIP() << readOnly.Why;
        FakeUi ui;
        InstanceLock first(dir.Path());
        EXPECT_TRUE(first.Acquire(ui));
        InstanceLock second(dir.Path());
        EXPECT_FALSE(second.Acquire(ui)) << "the lock read-only still holds against a second copy";
        EXPECT_EQ(ui.Messages.size(), 1u);
    }
    // Something other than a plain file in the lock's place: never waited on, never removed.
    const std::function<void(const fs::path&)> planted[] = {
        [](const fs::path& lock) { fs::create_directory(lock); },
        [](const fs::path& lock) { fs::create_symlink("/nowhere/at/all", lock); },
        [](const fs::path& lock) { ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0); },
    };
    for (const auto& plant : planted) {
        TempDir dir;
        plant(dir / "Corvane2.lock");
        FakeUi ui;
        InstanceLock lock(dir.Path());
        EXPECT_TRUE(lock.Acquire(ui));
        EXPECT_TRUE(ui.Messages.empty());
        EXPECT_TRUE(fs::exists(fs::symlink_status(dir / "Corvane2.lock")));
    }
}
#endif

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
    // Under an emulator the killed process's files may be let go a moment
    // after it is reported finished.
    InstanceLock third(dir.Path());
    FakeUi later;
    bool taken = false;
    for (int i = 0; i < 100 && !(taken = third.Acquire(later)); ++i)
        QThread::msleep(100);
    EXPECT_TRUE(taken) << "the dead program's lock was not taken over";
    EXPECT_EQ(ui.Messages.size(), 1u);
}
