#include "mapping_fixture.h"

#include <QAccessible>
#include <QCheckBox>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

using Arguments = std::vector<std::string>;

namespace {

void ExpectInformation(const Message& message, const std::string& text)
{
    EXPECT_EQ(message.Kind, MessageKind::Box);
    EXPECT_EQ(message.Text, text);
    EXPECT_EQ(message.Caption, " Information");
    EXPECT_EQ(message.Icon, MessageIcon::Information);
    EXPECT_EQ(message.Buttons, MessageButtons::Ok);
}

} // namespace

class Attach : public MappingTest {
protected:
    // E: pub, F: secret (asks for credentials), G: tools.
    std::unique_ptr<TMainPRGForm> StartWithGroup()
    {
        auto form = StartWithCatalogue();
        PutIntoGroup(*form, 0, QStringLiteral("E:"));
        PutIntoGroup(*form, 1, QStringLiteral("F:"));
        PutIntoGroup(*form, 2, QStringLiteral("G:"));
        return form;
    }
};

TEST_F(Attach, AllLinesWhereTheSecondFails)
{
    auto form = StartWithGroup();
    Ui.Dialogs.push_back(CancelCredentials());
    Runner.Results = {{0, {}}, {2, "System error 53 has occurred.\n"}, {0, {}}};
    QTest::mouseClick(form->Panel3->AttachAllBtn, Qt::LeftButton);
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "E:", Pub, "/PERSISTENT:NO"},
                                                    {"net", "use", "F:", Secret, "/PERSISTENT:NO"},
                                                    {"net", "use", "G:", Tools, "/PERSISTENT:NO"}}));
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 1);
    EXPECT_EQ(form->Panel3->IsDriveConnected('F'), 0);
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 1);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    ExpectInformation(Ui.Messages[0], " One or more paths were not attached");
    EXPECT_EQ(Ui.Messages[0].Details, "F: \\\\srv\\secret\nExit status 2\nSystem error 53 has occurred.\n");
    EXPECT_TRUE(ButtonsOf(*form).DetachAll);
}

TEST_F(Attach, AllLinesSucceedingSayItPlainly)
{
    auto form = StartWithGroup();
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("anna"), QStringLiteral("pw")));
    form->Panel3->RestoreConnectionCheckBox->setChecked(true);
    QTest::mouseClick(form->Panel3->AttachAllBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    ExpectInformation(Ui.Messages[0], " The commad was successful completed");
    EXPECT_TRUE(Ui.Messages[0].Details.empty());
    EXPECT_EQ(Runner.Calls[1], (Arguments{"net", "use", "F:", Secret, "pw", "/USER:anna", "/PERSISTENT:YES"}));
    EXPECT_EQ(form->Panel3->GroupLines().size(), 3u) << "attaching changed the group";

    // What a line that was attached could not do besides is told with it;
    // credentials go as typed, in UTF-8, whatever the stored files' code page.
    Ui.Dialogs.push_back(EnterCredentials(QString::fromUtf8("j\xC3\xB6rg"), QString::fromUtf8("\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x82\xAC")));
    Runner.Results = {{0, {}}, {0, {}, "The password was not kept for the next login: no room"}};
    QTest::mouseClick(form->Panel3->AttachAllBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 2u);
    ExpectInformation(Ui.Messages[1], " The commad was successful completed");
    EXPECT_EQ(Ui.Messages[1].Details, "F: \\\\srv\\secret\nThe password was not kept for the next login: no room");
    EXPECT_EQ(Runner.Calls[4], (Arguments{"net", "use", "F:", Secret, "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x82\xAC",
                                          "/USER:j\xC3\xB6rg", "/PERSISTENT:YES"}));

    // A password longer than any read at a console arrives whole.
    const QString longPassword(1500, QChar(0xE9));
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("anna"), longPassword));
    QTest::mouseClick(form->Panel3->AttachAllBtn, Qt::LeftButton);
    EXPECT_EQ(Runner.Calls[7], (Arguments{"net", "use", "F:", Secret, longPassword.toUtf8().toStdString(), "/USER:anna",
                                          "/PERSISTENT:YES"}));
}

TEST_F(Attach, FailuresAreCountedNotAddedUp)
{
    auto form = StartWithGroup();
    Ui.Dialogs.push_back(CancelCredentials());
    Runner.Results = {{1, {}}, {0, {}, "a note"}, {-1, {}}};
    form->Panel3->AttachAllBtnClick();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " One or more paths were not attached");
    EXPECT_EQ(Ui.Messages[0].Details, "E: \\\\srv\\pub\nExit status 1\n\nF: \\\\srv\\secret\na note\n\n"
                                      "G: \\\\srv\\tools\nExit status -1 (the network command could not be started)");
}

TEST_F(Attach, AlreadyAttachedLinesAreSentAgain)
{
    Drives.Mask = Bit('E');
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    form->Panel3->AttachAllBtnClick();
    EXPECT_EQ(Runner.Calls.size(), 1u);
}

TEST_F(Attach, TheCredentialsDialogComesNewAndEmptyForEveryLineThatNeedsIt)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 1, QStringLiteral("F:"));
    PutIntoGroup(*form, 1, QStringLiteral("K:"));
    bool firstEmpty = false;
    bool secondEmpty = false;
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("CORP\\anna"), QStringLiteral("one two"), &firstEmpty));
    Ui.Dialogs.push_back(CancelCredentials());
    Ui.Dialogs.push_back([&](QDialog& dialog) {
        auto& credentials = dynamic_cast<TPasswordDlg&>(dialog);
        secondEmpty = credentials.UserName->text().isEmpty() && credentials.Password->text().isEmpty();
        return EnterCredentials(QStringLiteral("bob"), QStringLiteral("x"))(dialog);
    });
    form->Panel3->AttachAllBtnClick();
    SelectLine(*form, 1);
    form->Panel3->AttachOneBtnClick();
    EXPECT_TRUE(firstEmpty);
    EXPECT_TRUE(secondEmpty);
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{
                                {"net", "use", "F:", Secret, "one two", "/USER:CORP\\anna", "/PERSISTENT:NO"},
                                {"net", "use", "K:", Secret, "/PERSISTENT:NO"},
                                {"net", "use", "K:", Secret, "x", "/USER:bob", "/PERSISTENT:NO"}}));
    EXPECT_EQ(Ui.DialogTitles.back(), QStringLiteral("Password Dialog..."));
}

TEST_F(Attach, OkOnAnUntouchedCredentialsDialogGivesEmptyCredentials)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 1, QStringLiteral("F:"));
    SelectLine(*form, 0);
    Ui.Dialogs.push_back([](QDialog& dialog) {
        QTest::mouseClick(dynamic_cast<TPasswordDlg&>(dialog).OkBtn, Qt::LeftButton);
        return dialog.result();
    });
    form->Panel3->AttachOneBtnClick();
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "F:", Secret, "", "/USER:", "/PERSISTENT:NO"}}));
}

TEST_F(Attach, OneLineReadsThePersistenceChoiceWhenItRuns)
{
    auto form = StartWithGroup();
    SelectLine(*form, 2);
    form->Panel3->RestoreConnectionCheckBox->setChecked(true);
    QTest::mouseClick(form->Panel3->AttachOneBtn, Qt::LeftButton);
    form->Panel3->RestoreConnectionCheckBox->setChecked(false);
    Runner.Results.push_back({85, "System error 85 has occurred."});
    form->Panel3->AttachOneBtnClick();
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "G:", Tools, "/PERSISTENT:YES"},
                                                    {"net", "use", "G:", Tools, "/PERSISTENT:NO"}}));
    ASSERT_EQ(Ui.Messages.size(), 2u);
    ExpectInformation(Ui.Messages[0], " The commad was successful completed");
    ExpectInformation(Ui.Messages[1], " Path was not attached");
    EXPECT_EQ(Ui.Messages[1].Details, "G: \\\\srv\\tools\nExit status 85\nSystem error 85 has occurred.");
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 1) << "a failed attach undid an earlier success";
}

TEST_F(Attach, OneWithoutASelectionOnlyAsksForOne)
{
    auto form = StartWithGroup();
    form->Panel3->MappingListBox->clearSelection();
    form->Panel3->AttachOneBtnClick();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    ExpectInformation(Ui.Messages[0], " Please select the network path that should be attached!");
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_EQ(Ui.DialogTitles.size(), 3u) << "only the three letter dialogs of the set-up";
}

TEST_F(Attach, AFailedLineOfAnotherMachinesLetterLeavesTheTableAlone)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    const auto table = form->Panel3->DrivePathList;
    Runner.Results.push_back({2, {}});
    form->Panel3->AttachAllBtnClick();
    EXPECT_EQ(form->Panel3->DrivePathList, table);
    EXPECT_FALSE(ButtonsOf(*form).DetachAll);
}

TEST_F(Attach, WhatNetPrintsIsLeftOutWhereItHoldsThePassword)
{
    const std::string withheld = "(What the command printed held the password and is not shown.)";
    // A password of stars, one letter, or one that is not printed at all.
    for (const auto& [password, printed, shown] :
         {std::tuple{"Sesame42", "The password Sesame42 is not correct.", withheld},
          std::tuple{"**", "Enter the password: ******", withheld}, std::tuple{"e", "The user name is not correct.", withheld},
          std::tuple{"zq", "Access is denied.", std::string("Access is denied.")}}) {
        SCOPED_TRACE(password);
        Ui.Messages.clear();
        auto form = StartWithCatalogue();
        PutIntoGroup(*form, 1, QStringLiteral("F:"));
        Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("anna"), QString::fromLatin1(password)));
        Runner.Results.push_back({86, printed});
        form->Panel3->AttachAllBtnClick();
        ASSERT_EQ(Ui.Messages.size(), 1u);
        EXPECT_EQ(Ui.Messages[0].Details, "F: \\\\srv\\secret\nExit status 86\n" + shown);
    }
}

TEST_F(Attach, ALineWithoutALetterAndAPathIsNeverRunAndFails)
{
    WriteCatalogue("1 2.0\r\n0,\\\\srv\\pub\r\nPublic");
    WriteBytes(Dir / "Corvane2.pro", "2\r\nE: \\\\srv\\pub\r\n");
    auto form = StartShown();
    ASSERT_EQ(form->Panel3->GroupLines(), (std::vector<std::string>{"", "E: \\\\srv\\pub"}));
    Runner.Results.push_back({0, ""});
    form->Panel3->AttachAllBtnClick();
    ASSERT_EQ(Runner.Calls.size(), 1u) << "the empty line was run";
    EXPECT_EQ(Runner.Calls[0][2], "E:");
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " One or more paths were not attached");

    // Change Drive on it asks nothing and changes nothing.
    form->Panel3->MappingListBox->setCurrentRow(0);
    form->Panel3->DriveBtnClick();
    EXPECT_EQ(form->Panel3->GroupLines(), (std::vector<std::string>{"", "E: \\\\srv\\pub"}));
    EXPECT_TRUE(Ui.DialogTitles.empty());
}

using Detach = Attach;

TEST_F(Detach, AllAsksFirstAndDetachesOnlyConnectedLetters)
{
    Drives.Mask = Bit('E');
    auto form = StartWithGroup();
    Ui.Answers.push_back(MessageAnswer::No);
    form->Panel3->DetachAllBtnClick();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "Do you want to dettach all drives?");
    EXPECT_EQ(Ui.Messages[0].Caption, " Warning");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Stop);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 1);

    Ui.Answers.push_back(MessageAnswer::Yes);
    Runner.Results.push_back({2, {}});
    form->Panel3->DetachAllBtnClick();
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "E:", "/DELETE"}}));
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 0) << "a failed detach still counts as done";
    EXPECT_EQ(form->Panel3->DrivePathList[4].Free, 0) << "the line still holds the letter";
    EXPECT_EQ(form->Panel3->GroupLines().size(), 3u);
    EXPECT_EQ(Ui.Messages.size(), 2u);
    EXPECT_FALSE(ButtonsOf(*form).DetachAll);
}

TEST_F(Detach, AllWithNothingConnectedRunsNothing)
{
    auto form = StartWithGroup();
    const auto table = form->Panel3->DrivePathList;
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->Panel3->DetachAllBtnClick();
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_EQ(form->Panel3->DrivePathList, table);
    EXPECT_EQ(Ui.Messages.size(), 1u);
}

TEST_F(Detach, OneNotConnectedAsksNothingAndDisablesTheDetachButtons)
{
    Drives.Mask = Bit('G');
    auto form = StartWithGroup();
    SelectLine(*form, 0);
    ASSERT_TRUE(ButtonsOf(*form).DetachAll);
    form->Panel3->DetachOneBtnClick();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_FALSE(ButtonsOf(*form).DetachAll);
    EXPECT_FALSE(ButtonsOf(*form).DetachOne);
    EXPECT_EQ(form->Panel3->GroupLines().size(), 3u);
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 1) << "other lines stay attached";
}

TEST_F(Detach, OneConnectedAsksAndOnlyYesDetaches)
{
    Drives.Mask = Bit('G');
    auto form = StartWithGroup();
    SelectLine(*form, 2);
    Ui.Answers.push_back(MessageAnswer::No);
    QTest::mouseClick(form->Panel3->DetachOneBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "Do you want to dettach the drive G:?");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Stop);
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_TRUE(ButtonsOf(*form).DetachOne);

    Ui.Answers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(form->Panel3->DetachOneBtn, Qt::LeftButton);
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "G:", "/DELETE"}}));
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 0);
    EXPECT_FALSE(ButtonsOf(*form).DetachOne);
    EXPECT_EQ(form->Panel3->CurrentDrive, 'G');
}

TEST_F(Attach, NoHandlerStartsWhileNetRunsWhateverPressesTheButtons)
{
    auto form = StartWithGroup();
    SelectLine(*form, 0);
    std::atomic<int> clicks = 0;
    for (auto* button : {form->Panel3->AttachAllBtn, form->ExitBtn})
        QObject::connect(button, &QPushButton::clicked, form.get(), [&] { ++clicks; });
    bool once = true;
    Runner.OnRun = [&](const std::vector<std::string>&) {
        if (!std::exchange(once, false))
            return;
        // A screen reader's press, the close box and Return, while the command runs.
        QMetaObject::invokeMethod(
            form.get(),
            [&] {
                for (auto* button : {form->Panel3->AttachAllBtn, form->ExitBtn}) {
                    auto* accessible = QAccessible::queryAccessibleInterface(button);
                    ASSERT_NE(accessible, nullptr);
                    ASSERT_NE(accessible->actionInterface(), nullptr);
                    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
                }
                form->close();
                QTest::keyClick(form->Panel3->AttachOneBtn, Qt::Key_Return);
            },
            Qt::QueuedConnection);
        // The command lasts until both presses have clicked their buttons.
        for (int i = 0; i < 1000 && clicks < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    form->Panel3->AttachOneBtn->click();
    EXPECT_EQ(clicks, 2) << "the presses never reached the buttons";
    EXPECT_EQ(Runner.Calls.size(), 1u) << "a second command started inside the first";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{" The commad was successful completed"});
    EXPECT_TRUE(form->isVisible()) << "the window closed while net ran";
}
