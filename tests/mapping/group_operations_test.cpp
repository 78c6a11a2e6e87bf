#include "mapping_fixture.h"

using Arguments = std::vector<std::string>;
using Lines = std::vector<std::string>;

using GroupOperations = MappingTest;

TEST_F(GroupOperations, APathGoesIntoTheGroupInLetterOrder)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("K:"));
    PutIntoGroup(*form, 2, QStringLiteral("E:"));
    EXPECT_EQ(ButtonsOf(*form), (GroupButtons{true, true, true, true, true, false, false, true}));
    QStringList offered;
    ClickRow(*form, 1);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("H:"), &offered));
    QTest::mouseClick(form->RightBtn, Qt::LeftButton);
    EXPECT_EQ(form->Panel3->GroupLines(), (Lines{"E: \\\\srv\\tools", "H: \\\\srv\\secret", "K: \\\\srv\\pub"}));
    EXPECT_FALSE(offered.contains(QStringLiteral("E:")));
    EXPECT_FALSE(offered.contains(QStringLiteral("K:")));
    EXPECT_EQ(form->Panel3->CurrentDrive, 'H');
    EXPECT_EQ(form->Panel3->DrivePathList['H' - 'A'].Free, 0);
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_EQ(Ui.DialogTitles.back(), QStringLiteral(" Select Drive Letter..."));
}

TEST_F(GroupOperations, TheSamePathMayGoInTwice)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    PutIntoGroup(*form, 0, QStringLiteral("F:"));
    EXPECT_EQ(form->Panel3->GroupLines(), (Lines{"E: \\\\srv\\pub", "F: \\\\srv\\pub"}));
}

TEST_F(GroupOperations, TheDetachButtonsFollowTheNewLettersConnection)
{
    Drives.Mask = Bit('E');
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));  // typed: E is present, and not offered
    EXPECT_TRUE(ButtonsOf(*form).DetachAll);
    PutIntoGroup(*form, 1, QStringLiteral("F:"));
    EXPECT_FALSE(ButtonsOf(*form).DetachAll);
}

TEST_F(GroupOperations, NothingHappensWithoutASelectionOrWithoutOk)
{
    auto form = StartWithCatalogue();
    ClickBelowRows(*form);
    form->RightBtnClick();
    EXPECT_TRUE(Ui.DialogTitles.empty()) << "asked for a letter with no path selected";

    ClickRow(*form, 0);
    Ui.Dialogs.push_back(CloseDialog());
    QTest::mouseClick(form->RightBtn, Qt::LeftButton);
    EXPECT_TRUE(form->Panel3->GroupLines().empty());
    EXPECT_EQ(ButtonsOf(*form), (GroupButtons{true, false, false, false, false, false, false, false}));

    form->LeftBtnClick();
    form->Panel3->DriveBtnClick();
    EXPECT_EQ(Ui.DialogTitles.size(), 1u);
    EXPECT_TRUE(Ui.Messages.empty());
}

TEST_F(GroupOperations, TheLetterDialogOffersTheFreeLettersWithTheLowestChosen)
{
    Drives.Mask = Bit('C') | Bit('D');
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    ClickRow(*form, 1);
    QStringList offered;
    QString preselected;
    Ui.Dialogs.push_back([&](QDialog& dialog) {
        auto& letters = dynamic_cast<TDriveLetterSelection&>(dialog);
        preselected = letters.ComboBox->currentText();
        return ChooseLetter(QStringLiteral("G:"), &offered)(dialog);
    });
    QTest::mouseClick(form->RightBtn, Qt::LeftButton);
    QStringList expected{QStringLiteral("A:"), QStringLiteral("B:")};
    for (char letter = 'F'; letter <= 'Z'; ++letter)
        expected.append(QString(QLatin1Char(letter)) + u':');
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(preselected, QStringLiteral("A:"));
    EXPECT_EQ(form->Panel3->GroupLine(1), "G: \\\\srv\\secret");
}

TEST_F(GroupOperations, TheLetterDialogTakesASmallLetterAsItsCapitalAndRefusesTheRest)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("m"));
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"M: \\\\srv\\pub"});

    for (const auto* text : {"", "1:", " E", ":"}) {
        SCOPED_TRACE(text);
        bool stayedOpen = false;
        ClickRow(*form, 1);
        Ui.Dialogs.push_back([&](QDialog& dialog) {
            const int result = ChooseLetter(QString::fromLatin1(text))(dialog);
            stayedOpen = result != QDialog::Accepted;
            dialog.reject();
            return dialog.result();
        });
        QTest::mouseClick(form->RightBtn, Qt::LeftButton);
        EXPECT_TRUE(stayedOpen) << "OK closed the dialog without a letter";
    }
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"M: \\\\srv\\pub"});
}

TEST_F(GroupOperations, TakingOutAnAttachedLineAsksFirst)
{
    Drives.Mask = Bit('E');
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    PutIntoGroup(*form, 1, QStringLiteral("F:"));
    form->Panel3->SaveBtn->setEnabled(false);
    SelectLine(*form, 0);

    Ui.Answers.push_back(MessageAnswer::No);
    QTest::mouseClick(form->LeftBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "Do you want to dettach the drive E:?");
    EXPECT_EQ(Ui.Messages[0].Caption, " Warning");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Stop);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(form->Panel3->GroupLines().size(), 2u);
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_FALSE(form->Panel3->SaveBtn->isEnabled());
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 1);

    Ui.Answers.push_back(MessageAnswer::Yes);
    Runner.Results.push_back({2, "it failed, and nobody minds"});
    QTest::mouseClick(form->LeftBtn, Qt::LeftButton);
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "E:", "/DELETE"}}));
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"F: \\\\srv\\secret"});
    EXPECT_EQ(form->Panel3->DrivePathList[4].Free, 1);
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 0);
    EXPECT_EQ(ButtonsOf(*form), (GroupButtons{true, true, true, true, true, false, false, true}));
    EXPECT_EQ(Ui.Messages.size(), 2u);

    QStringList offered;
    PutIntoGroup(*form, 2, QStringLiteral("G:"));
    ClickRow(*form, 2);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("H:"), &offered));
    QTest::mouseClick(form->RightBtn, Qt::LeftButton);
    EXPECT_TRUE(offered.contains(QStringLiteral("E:")));
}

TEST_F(GroupOperations, TakingOutTheOnlyLineDisablesAllButSaveAndRight)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    form->Panel3->DetachAllBtn->setEnabled(true);
    form->Panel3->DetachOneBtn->setEnabled(true);
    form->Panel3->SaveBtn->setEnabled(false);
    SelectLine(*form, 0);
    QTest::mouseClick(form->LeftBtn, Qt::LeftButton);
    EXPECT_TRUE(Ui.Messages.empty()) << "asked about a letter not attached";
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_TRUE(form->Panel3->GroupLines().empty());
    EXPECT_EQ(ButtonsOf(*form), (GroupButtons{true, false, false, false, false, false, false, true}));
}

TEST_F(GroupOperations, ChangingTheDriveOfAnAttachedLineDetachesTheOldLetterFirst)
{
    Drives.Mask = Bit('E');
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    form->Panel3->SaveBtn->setEnabled(false);
    SelectLine(*form, 0);
    QStringList offered;
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("G:"), &offered));
    Runner.OnRun = [&](const Arguments&) {
        ASSERT_EQ(Ui.Messages.size(), 1u) << "the message comes before the command";
    };
    QTest::mouseClick(form->Panel3->DriveBtn, Qt::LeftButton);
    EXPECT_FALSE(offered.contains(QStringLiteral("E:"))) << "the old letter was offered";
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "The current network path E: will be dettach!");
    EXPECT_EQ(Ui.Messages[0].Caption, " Information");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Information);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::Ok);
    EXPECT_EQ(Runner.Calls, (std::vector<Arguments>{{"net", "use", "E:", "/DELETE"}}));
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"G: \\\\srv\\pub"});
    EXPECT_EQ(form->Panel3->IsDriveConnected('G'), 0);
    EXPECT_EQ(form->Panel3->IsDriveConnected('E'), 0);
    EXPECT_EQ(form->Panel3->DrivePathList[4].Free, 1);
    EXPECT_EQ(form->Panel3->DrivePathList[6].Free, 0);
    EXPECT_EQ(form->Panel3->CurrentDrive, 'G');
    EXPECT_EQ(ButtonsOf(*form), (GroupButtons{true, true, true, true, true, false, false, true}));
}

TEST_F(GroupOperations, ChangingTheDriveMovesTheLineInOrder)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    PutIntoGroup(*form, 1, QStringLiteral("K:"));
    SelectLine(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("Z:")));
    QTest::mouseClick(form->Panel3->DriveBtn, Qt::LeftButton);
    EXPECT_EQ(form->Panel3->GroupLines(), (Lines{"K: \\\\srv\\secret", "Z: \\\\srv\\pub"}));
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_TRUE(Runner.Calls.empty());
}

TEST_F(GroupOperations, ChangingTheDriveWithoutOkChangesNothingEvenWhenAttached)
{
    Drives.Mask = Bit('E');
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    form->Panel3->SaveBtn->setEnabled(false);
    SelectLine(*form, 0);
    const auto table = form->Panel3->DrivePathList;
    Ui.Dialogs.push_back(CloseDialog());
    QTest::mouseClick(form->Panel3->DriveBtn, Qt::LeftButton);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"E: \\\\srv\\pub"});
    EXPECT_EQ(form->Panel3->DrivePathList, table);
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_TRUE(Runner.Calls.empty());
    EXPECT_FALSE(form->Panel3->SaveBtn->isEnabled());
}

TEST_F(GroupOperations, DialogsComingAndGoingNeverRebuildTheDriveTable)
{
    auto form = StartWithCatalogue();
    for (const auto* letter : {"E:", "F:", "G:"})
        PutIntoGroup(*form, 0, QString::fromLatin1(letter));
    EXPECT_EQ(Drives.MaskCalls, 1);
    EXPECT_EQ(form->Panel3->DrivePathList.size(), 26u);
    EXPECT_EQ(form->Panel3->DrivePathList[4].Free, 0);
    EXPECT_EQ(form->Panel3->DrivePathList[5].Free, 0);
    EXPECT_EQ(form->Panel3->DrivePathList[6].Free, 0);
}

TEST_F(GroupOperations, AfterALineIsTakenOutOrMovedNoLineIsSelected)
{
    auto form = StartWithCatalogue();
    PutIntoGroup(*form, 0, QStringLiteral("E:"));
    PutIntoGroup(*form, 1, QStringLiteral("F:"));
    PutIntoGroup(*form, 2, QStringLiteral("G:"));
    SelectLine(*form, 1);
    QTest::mouseClick(form->LeftBtn, Qt::LeftButton);
    EXPECT_EQ(form->Panel3->GroupLines().size(), 2u);
    EXPECT_EQ(form->Panel3->SelectedGroupRow(), -1) << "the next line was selected for the user";
    QTest::mouseClick(form->LeftBtn, Qt::LeftButton);
    EXPECT_EQ(form->Panel3->GroupLines().size(), 2u) << "a second click took out a line nobody picked";

    SelectLine(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("K:")));
    form->Panel3->DriveBtnClick();
    EXPECT_EQ(form->Panel3->GroupLines().back().front(), 'K');
    EXPECT_EQ(form->Panel3->SelectedGroupRow(), -1);
}
