#include "support/main_window_fixture.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr std::uint32_t Bit(char letter)
{
    return 1U << (letter - 'A');
}

bool DetachButtons(const TMainPRGForm& form)
{
    EXPECT_EQ(form.Panel3->DetachAllBtn->isEnabled(), form.Panel3->DetachOneBtn->isEnabled());
    return form.Panel3->DetachAllBtn->isEnabled();
}

} // namespace

using DriveTableForm = MainWindowTest;

TEST_F(DriveTableForm, TheFirstShowBuildsTheTableOnceAndLaterShowsKeepIt)
{
    Drives.Mask = Bit('C') | Bit('Z');
    auto form = Start();
    EXPECT_TRUE(form->Panel3->DrivePathList.empty()) << "built before the window was shown";
    form->show();
    ASSERT_EQ(form->Panel3->DrivePathList.size(), 26u);
    EXPECT_EQ(Drives.MaskCalls, 1);

    form->Panel3->UpdateDriveEntry('E', 0, 1);
    for (int i = 0; i < 3; ++i) {
        form->hide();
        form->show();
        form->activateWindow();
        QApplication::processEvents();
    }
    EXPECT_EQ(Drives.MaskCalls, 1);
    ASSERT_EQ(form->Panel3->DrivePathList.size(), 26u);
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 1);
    EXPECT_EQ(form->Panel3->DrivePathList[4].Free, 0);
}

TEST_F(DriveTableForm, RefreshMarksTheGroupsLettersAndTheDetachButtonsFollowTheLastLine)
{
    WriteCatalogue("0 2.0");
    Drives.Mask = Bit('G');
    auto form = Start();
    form->Panel3->AddGroupLine("G: \\\\srv\\g");
    form->Panel3->AddGroupLine("E: \\\\srv\\e");
    form->show();
    EXPECT_EQ(form->Panel3->DrivePathList[4].Free, 0);
    EXPECT_EQ(form->Panel3->DrivePathList[6].Free, 0);
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 1);
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 0);
    EXPECT_TRUE(DetachButtons(*form)) << "G, the last line, is attached";

    Drives.Mask = Bit('E');
    form->Panel3->BuildDriveTable();
    form->Panel3->RefreshDriveTable();
    EXPECT_FALSE(DetachButtons(*form)) << "G, the last line, is not attached";
}

TEST_F(DriveTableForm, AnEmptyGroupLeavesTheDetachButtonsAlone)
{
    Drives.Mask = Bit('C');
    auto form = Start();
    form->Panel3->DetachAllBtn->setEnabled(true);
    form->Panel3->DetachOneBtn->setEnabled(true);
    form->show();
    EXPECT_TRUE(DetachButtons(*form));
}

TEST_F(DriveTableForm, ALineUnderNoCapitalLetterDisablesTheDetachButtons)
{
    Drives.Mask = Bit('E');
    auto form = Start();
    form->Panel3->AddGroupLine("e: \\\\srv\\small");
    form->Panel3->AddGroupLine("E: \\\\srv\\e");
    form->show();
    EXPECT_EQ(form->Panel3->GroupLines(), (std::vector<std::string>{"E: \\\\srv\\e", "e: \\\\srv\\small"}));
    EXPECT_FALSE(DetachButtons(*form));
    EXPECT_EQ(form->Panel3->IsDriveConnected('e'), 0);
}

TEST_F(DriveTableForm, GroupLinesKeepTheirBytesAndTheirOrder)
{
    auto form = Start();
    for (const auto* line : {"K: \\\\k", "E: \\\\s\xE9rver\\\xFF", "H: \\\\h", "E: \\\\a"})
        form->Panel3->AddGroupLine(line);
    EXPECT_EQ(form->Panel3->GroupLines(),
              (std::vector<std::string>{"E: \\\\a", "E: \\\\s\xE9rver\\\xFF", "H: \\\\h", "K: \\\\k"}));
    EXPECT_EQ(form->Panel3->SelectedGroupRow(), -1);
    form->Panel3->MappingListBox->setCurrentRow(2);
    EXPECT_EQ(form->Panel3->SelectedGroupRow(), 2);
    EXPECT_EQ(form->Panel3->GroupLine(2), "H: \\\\h");
}

TEST_F(DriveTableForm, PathRequiresPWReadsTheCatalogue)
{
    WriteCatalogue("2 2.0\r\n1,\\\\srv\\a\r\n\r\n0,\\\\srv\\b\r\n");
    auto form = Start();
    EXPECT_EQ(form->Panel3->PathRequiresPW("\\\\srv\\a"), 1);
    EXPECT_EQ(form->Panel3->PathRequiresPW("\\\\srv\\b"), 0);
    EXPECT_EQ(form->Panel3->PathRequiresPW("\\\\SRV\\a"), 0);
}

TEST_F(DriveTableForm, RunCommandKeepsTheWindowPaintingButTakesNoInput)
{
    auto form = StartShown();
    std::atomic<bool> eventLoopRan = false;
    bool busyCursor = false;
    Runner.OnRun = [&](const std::vector<std::string>&) {
        busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QMetaObject::invokeMethod(form.get(), [&] { eventLoopRan = true; }, Qt::QueuedConnection);
        const auto center = QPointF(form->ExitBtn->rect().center());
        QCoreApplication::postEvent(form->ExitBtn, new QMouseEvent(QEvent::MouseButtonPress, center, center,
                                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(form->ExitBtn, new QMouseEvent(QEvent::MouseButtonRelease, center, center,
                                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        for (int i = 0; i < 500 && !eventLoopRan; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    Runner.Results.push_back({2, "System error 67 has occurred."});
    const auto result = form->Panel3->RunCommand({"net", "use", "E:", "/DELETE"});
    EXPECT_EQ(result.ExitStatus, 2);
    EXPECT_EQ(result.Output, "System error 67 has occurred.");
    EXPECT_EQ(Runner.Calls, (std::vector<std::vector<std::string>>{{"net", "use", "E:", "/DELETE"}}));
    EXPECT_TRUE(eventLoopRan) << "the window's events waited for the command";
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(form->isVisible()) << "a click during the command reached the Exit button";
}
