#include "support/dialog_players.h"
#include "support/main_window_fixture.h"

#include "profiles/add_profile_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

struct LineButtons {
    bool AttachAll, AttachOne, Drive, Left, DetachAll, DetachOne, Save;
    friend bool operator==(const LineButtons&, const LineButtons&) = default;
    friend std::ostream& operator<<(std::ostream& out, const LineButtons& b)
    {
        return out << b.AttachAll << b.AttachOne << b.Drive << b.Left << b.DetachAll << b.DetachOne << b.Save;
    }
};

LineButtons LineButtonsOf(const TMainPRGForm& form)
{
    return {form.Panel3->AttachAllBtn->isEnabled(), form.Panel3->AttachOneBtn->isEnabled(), form.Panel3->DriveBtn->isEnabled(),
            form.LeftBtn->isEnabled(),      form.Panel3->DetachAllBtn->isEnabled(), form.Panel3->DetachOneBtn->isEnabled(),
            form.Panel3->SaveBtn->isEnabled()};
}

QStringList Items(const TMainPRGForm& form)
{
    QStringList items;
    for (int i = 0; i < form.Panel1->ProfileComboBox->count(); ++i)
        items.append(form.Panel1->ProfileComboBox->itemText(i));
    return items;
}

// Picks an item from the drop-down list, as the user does.
void Pick(TMainPRGForm& form, int index)
{
    form.Panel1->ProfileComboBox->setCurrentIndex(index);
    emit form.Panel1->ProfileComboBox->activated(index);
}

} // namespace

class Profiles : public MainWindowTest {
protected:
    Profiles()
    {
        fs::create_directories(Dir / "Profile");
        WriteCatalogue("1 2.0\r\n0,\\\\srv\\pub\r\n");
    }

    void WriteProfile(const std::string& name, std::string_view bytes)
    {
        WriteBytes(Dir / "Profile" / (name + ".pro"), bytes);
    }
};

TEST_F(Profiles, TheConfigurationChoosesTheCurrentProfileAndItsFile)
{
    WriteBytes(Dir / "Corvane2.cfg", "2-3\r\nHome\r\nOffice");
    WriteProfile("Office", "2\r\nK: \\\\office\\k\r\nE: \\\\office\\e");
    auto form = StartShown();
    EXPECT_EQ(Items(*form), (QStringList{QStringLiteral("Default Network Mapping List"), QStringLiteral("Home"),
                                         QStringLiteral("Office")}));
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentIndex(), 2);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentText(), QStringLiteral("Office"));
    EXPECT_EQ(form->Panel1->ProfileIndex(), 2);
    EXPECT_EQ(form->Panel3->GroupLines(), (Lines{"E: \\\\office\\e", "K: \\\\office\\k"}));
    EXPECT_TRUE(form->Panel1->RemoveProfileBtn->isEnabled());
    EXPECT_EQ(LineButtonsOf(*form), (LineButtons{true, true, true, true, false, false, false}));
    EXPECT_TRUE(Ui.Messages.empty());
}

TEST_F(Profiles, WithTheDefaultCurrentItsFileComesFromTheExecutablesDirectory)
{
    WriteBytes(Dir / "Corvane2.cfg", "0-3\r\nHome\r\nOffice");
    WriteBytes(Dir / "Corvane2.pro", "1\r\nH: \\\\default\\h");
    WriteProfile("Corvane2", "1\r\nZ: \\\\wrong\\place");
    auto form = StartShown();
    EXPECT_EQ(Items(*form).size(), 3);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentIndex(), 0);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"H: \\\\default\\h"});
    EXPECT_FALSE(form->Panel1->RemoveProfileBtn->isEnabled());
}

TEST_F(Profiles, AnIndexThatNamesNoProfileStartsWithTheDefaultOne)
{
    for (const auto* bytes : {"9-3\r\nA\r\nB", "-4-2\r\nA", "1-9\r\nA"}) {
        SCOPED_TRACE(bytes);
        Ui.Messages.clear();
        WriteBytes(Dir / "Corvane2.cfg", bytes);
        WriteProfile("A", "0");
        auto form = StartShown();
        EXPECT_LT(form->Panel1->ProfileIndex(), form->Panel1->ProfileComboBox->count());
        EXPECT_EQ(form->Panel1->ProfileComboBox->currentIndex(), form->Panel1->ProfileIndex());
        EXPECT_TRUE(Ui.Messages.empty());
    }
}

TEST_F(Profiles, AConfigurationWithoutACountIsReportedKeptAsideAndEveryNameRead)
{
    WriteBytes(Dir / "Corvane2.cfg", "Work\r\nHome");
    auto form = StartShown();
    ASSERT_FALSE(Ui.Messages.empty());
    EXPECT_EQ(Ui.Messages[0].Kind, MessageKind::Plain);
    EXPECT_EQ(Ui.Messages[0].Text, " The Corvane2.cfg file is corrupted!");
    EXPECT_EQ(Items(*form), (QStringList{QStringLiteral("Default Network Mapping List"), QStringLiteral("Work"),
                                          QStringLiteral("Home")}));
    EXPECT_EQ(form->Panel1->ProfileIndex(), 0);
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg.bak"), "Work\r\nHome");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-3\r\nWork\r\nHome");
}

TEST_F(Profiles, SavingWritesTheGroupInOrderAndClosingThenAsksNothing)
{
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("G:")));
    form->RightBtnClick();
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    ASSERT_TRUE(form->Panel3->SaveBtn->isEnabled());
    QTest::mouseClick(form->Panel3->SaveBtn, Qt::LeftButton);
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), "2\r\nE: \\\\srv\\pub\r\nG: \\\\srv\\pub");
    EXPECT_FALSE(form->Panel3->SaveBtn->isEnabled());
    EXPECT_FALSE(fs::exists(Dir / "Profile" / "Corvane2.pro"));
    form->close();
    EXPECT_TRUE(Ui.Messages.empty());

    auto again = StartShown();
    EXPECT_EQ(again->Panel3->GroupLines(), (Lines{"E: \\\\srv\\pub", "G: \\\\srv\\pub"}));
}

TEST_F(Profiles, AnEmptyGroupSavesAsZeroAndLoadsEnablingNothing)
{
    WriteBytes(Dir / "Corvane2.pro", "1\r\nE: \\\\srv\\pub");
    auto form = StartShown();
    form->Panel3->MappingListBox->setCurrentRow(0);
    form->LeftBtnClick();
    form->Panel3->SaveBtnClick();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), "0");
    auto again = StartShown();
    EXPECT_EQ(LineButtonsOf(*again), (LineButtons{false, false, false, false, false, false, false}));
}

TEST_F(Profiles, AMissingProfileFileIsAnnouncedWithItsFullPathAndChangesNoButton)
{
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\nTravel");
    auto form = StartShown();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text,
              "File :\n" + (Dir / "Profile" / "Travel.pro").string() + "\nwas not found and will be created...");
    EXPECT_EQ(Ui.Messages[0].Caption, " Information");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Information);
    EXPECT_TRUE(form->Panel3->GroupLines().empty());
    EXPECT_FALSE(fs::exists(Dir / "Profile" / "Travel.pro")) << "loading made the file";

    // Picking a profile without a file keeps the buttons loading left.
    form->Panel3->AttachAllBtn->setEnabled(true);
    Pick(*form, 0);
    Pick(*form, 1);
    EXPECT_EQ(Ui.Messages.size(), 2u);
}

TEST_F(Profiles, AProfileDirectoryThatCannotBeMadeIsReportedAndSavingFails)
{
    fs::remove_all(Dir / "Profile");
    WriteBytes(Dir / "Profile", "a file in the way");
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\nHome");
    auto form = StartShown();
    ASSERT_GE(Ui.Messages.size(), 2u);
    EXPECT_EQ(Ui.Messages[0].Kind, MessageKind::Plain);
    EXPECT_EQ(Ui.Messages[0].Text, " Cannot create the directory\n " + (Dir / "Profile" / "").string() + "!");
    EXPECT_EQ(Ui.Messages[0].Caption, " Corvane V 2.0");
    EXPECT_NE(Ui.Messages[1].Text.find("was not found"), std::string::npos);

    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    form->Panel3->SaveBtnClick();
    EXPECT_EQ(Ui.Messages.back().Text, " Was not able to save the profile mapping list!");
    EXPECT_EQ(Ui.Messages.back().Caption, " Error");
    EXPECT_EQ(Ui.Messages.back().Icon, MessageIcon::Error);
    EXPECT_TRUE(form->Panel3->SaveBtn->isEnabled());
    EXPECT_EQ(ReadBytes(Dir / "Profile"), "a file in the way");
}

TEST_F(Profiles, ADirectoryPathOfAnyLengthFitsItsMessage)
{
    TempDir deep;
    auto exeDir = deep.Path();
    for (int i = 0; i < 12; ++i)
        exeDir /= std::string(40, static_cast<char>('a' + i));
    fs::create_directories(exeDir);
    WriteBytes(exeDir / "Profile", "in the way");
    WriteBytes(exeDir / "Corvane2.pro", "0");
    TMainPRGForm form(exeDir, Services(), Ui);
    ASSERT_FALSE(Ui.Messages.empty());
    EXPECT_EQ(Ui.Messages[0].Text, " Cannot create the directory\n " + (exeDir / "Profile" / "").string() + "!");
}

TEST_F(Profiles, ClosingWithUnsavedChangesAsksAndNoKeepsTheOldProfile)
{
    WriteBytes(Dir / "Corvane2.pro", "1\r\nE: \\\\old");
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("F:")));
    form->RightBtnClick();
    WriteCatalogue("stale");
    Ui.Answers.push_back(MessageAnswer::No);
    form->close();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " Do you want to save the profile mapping list?");
    EXPECT_EQ(Ui.Messages[0].Caption, " Warnint");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), "1\r\nE: \\\\old");
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\srv\\pub\r\n");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-1");
}

TEST_F(Profiles, ClosingWithAFailingSaveReportsItAndStillWritesTheOtherFiles)
{
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\nHome");
    WriteProfile("Home", "0");
    fs::create_directories(Dir / "Profile" / "Home.pro.tmp" / "blocker");
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("F:")));
    form->RightBtnClick();
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->close();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{" Do you want to save the profile mapping list?",
                                                        " Was not able to save the profile mapping list!"}));
    EXPECT_EQ(ReadBytes(Dir / "Profile" / "Home.pro"), "0");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "1-2\r\nHome");
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\srv\\pub\r\n");
}

TEST_F(Profiles, AConfigurationThatCannotBeWrittenIsReported)
{
    fs::create_directories(Dir / "Corvane2.cfg" / "blocker");
    auto form = StartShown();
    form->close();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " Was not able to create the configuration file!");
    EXPECT_EQ(Ui.Messages[0].Caption, " Error");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Error);
}

TEST_F(Profiles, SwitchingLoadsTheOtherGroupRebuildsTheDrivesAndAsksBeforeUnsavedChangesGo)
{
    WriteBytes(Dir / "Corvane2.cfg", "0-2\r\nOffice");
    WriteProfile("Office", "1\r\nK: \\\\office\\k");
    Drives.Mask = 1u << ('C' - 'A');
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    ASSERT_EQ(Drives.MaskCalls, 1);

    const auto defaultGroup = ReadBytes(Dir / "Corvane2.pro");
    Ui.Answers.push_back(MessageAnswer::No);
    Pick(*form, 1);
    ASSERT_EQ(Ui.Messages.size(), 1u) << "the unsaved group went without a question";
    EXPECT_EQ(Ui.Messages[0].Text, " Do you want to save the profile mapping list?");
    EXPECT_EQ(Ui.Messages[0].Caption, " Warnint");
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), defaultGroup) << "No saved the group";
    EXPECT_EQ(form->Panel1->ProfileIndex(), 1);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"K: \\\\office\\k"});
    EXPECT_EQ(Drives.MaskCalls, 2);
    EXPECT_EQ(form->Panel3->DrivePathList.size(), 26u);
    EXPECT_EQ(form->Panel3->DrivePathList['E' - 'A'].Free, 1);
    EXPECT_EQ(form->Panel3->DrivePathList['K' - 'A'].Free, 0);
    EXPECT_TRUE(form->Panel1->RemoveProfileBtn->isEnabled());
    EXPECT_FALSE(form->Panel3->SaveBtn->isEnabled()) << "the group loaded is unchanged";

    QStringList offered;
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("F:"), &offered));
    form->RightBtnClick();
    EXPECT_EQ(offered.size(), 24);
    EXPECT_FALSE(offered.contains(QStringLiteral("C:")));
    EXPECT_FALSE(offered.contains(QStringLiteral("K:")));
    EXPECT_TRUE(offered.contains(QStringLiteral("E:")));

    Ui.Answers.push_back(MessageAnswer::Yes);
    Pick(*form, 0);
    EXPECT_EQ(ReadBytes(Dir / "Profile" / "Office.pro"), "2\r\nF: \\\\srv\\pub\r\nK: \\\\office\\k");
    EXPECT_TRUE(form->Panel3->GroupLines().empty());
    EXPECT_EQ(LineButtonsOf(*form), (LineButtons{false, false, false, false, false, false, false}));
    EXPECT_FALSE(form->Panel1->RemoveProfileBtn->isEnabled());
}

TEST_F(Profiles, PickingTheCurrentProfileOrTypingSwitchesNothing)
{
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\nOffice");
    WriteProfile("Office", "1\r\nK: \\\\office\\k");
    auto form = StartShown();
    Pick(*form, 1);
    EXPECT_EQ(Drives.MaskCalls, 1);

    form->Panel1->ProfileComboBox->lineEdit()->clear();
    QTest::keyClicks(form->Panel1->ProfileComboBox->lineEdit(), QStringLiteral("Something typed"));
    EXPECT_EQ(form->Panel1->ProfileIndex(), 1);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"K: \\\\office\\k"});
    EXPECT_EQ(Drives.MaskCalls, 1);

    QTest::mouseClick(form->Panel1->RemoveProfileBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Kind, MessageKind::Plain);
    EXPECT_EQ(Ui.Messages[0].Text, "You can not delete the default profile!");
    EXPECT_TRUE(fs::exists(Dir / "Profile" / "Office.pro"));
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 2);
}

TEST_F(Profiles, TheProfileNameDialogsLayout)
{
    auto form = StartShown();
    TAddProfile dialog(*form->Panel1);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Enter a profile name..."));
    EXPECT_EQ(dialog.size(), QSize(464, 71));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.ProfileEdit->toolTip(), QStringLiteral(" Max profile name length is 40 characters!"));
    EXPECT_EQ(dialog.BitBtn1->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dialog.BitBtn1->isDefault());
    EXPECT_TRUE(dialog.BitBtn1->isEnabled());
    EXPECT_EQ(dialog.BitBtn2->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(NextTabStop(dialog.ProfileEdit), dialog.BitBtn1);
    EXPECT_EQ(NextTabStop(dialog.BitBtn1), dialog.BitBtn2);
    QTest::keyClicks(dialog.ProfileEdit, QString(41, u'n'));
    EXPECT_EQ(dialog.ProfileEdit->text(), QString(40, u'n'));
}

TEST_F(Profiles, AddingMakesTheNewProfileCurrentWithAnEmptyGroupAndNoFile)
{
    WriteBytes(Dir / "Corvane2.pro", "1\r\nE: \\\\srv\\pub");
    auto form = StartShown();
    ASSERT_EQ(form->Panel3->GroupLines().size(), 1u);
    Ui.Dialogs.push_back(EnterProfileName(QString(40, u'w')));
    QTest::mouseClick(form->Panel1->AddProfileBtn, Qt::LeftButton);
    EXPECT_EQ(Ui.DialogTitles, std::vector<QString>{QStringLiteral(" Enter a profile name...")});
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 2);
    EXPECT_EQ(form->Panel1->ProfileIndex(), 1);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentText(), QString(40, u'w'));
    EXPECT_TRUE(form->Panel3->GroupLines().empty());
    EXPECT_TRUE(form->Panel1->RemoveProfileBtn->isEnabled());
    EXPECT_EQ(LineButtonsOf(*form), (LineButtons{false, false, false, false, false, false, false}));
    EXPECT_EQ(Drives.MaskCalls, 2);
    EXPECT_EQ(form->Panel3->DrivePathList['E' - 'A'].Free, 1);
    EXPECT_TRUE(fs::is_empty(Dir / "Profile"));
    EXPECT_EQ(form->focusWidget(), form->Panel1->ProfileComboBox);

    // A name already there would share its file: refused, and the dialog stays open.
    bool stillOpen = false;
    Ui.Dialogs.push_back([&](QDialog& dialog) {
        const int result = EnterProfileName(QString(40, u'w'))(dialog);
        stillOpen = result != QDialog::Accepted;
        return result;
    });
    form->Panel1->AddProfileBtnClick();
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 2);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{" The profile " + std::string(40, 'w')
                                                       + " exists already!\n Please choose another name."});
    EXPECT_TRUE(stillOpen);

    // With unsaved lines, adding asks first; Yes saves them to the profile left.
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    Ui.Answers.push_back(MessageAnswer::Yes);
    Ui.Dialogs.push_back(EnterProfileName(QStringLiteral("Next")));
    form->Panel1->AddProfileBtnClick();
    EXPECT_EQ(ReadBytes(Dir / "Profile" / (std::string(40, 'w') + ".pro")), "1\r\nE: \\\\srv\\pub");
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentText(), QStringLiteral("Next"));
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "2-3\r\n" + std::string(40, 'w') + "\r\nNext");
}

TEST_F(Profiles, AnEmptyNameOrCancelAddsNothing)
{
    auto form = StartShown();
    Ui.Dialogs.push_back(EnterProfileName(QString()));
    form->Panel1->AddProfileBtnClick();
    Ui.Dialogs.push_back(CloseDialog());
    form->Panel1->AddProfileBtnClick();
    EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 1);
    EXPECT_EQ(form->Panel1->ProfileIndex(), 0);
    EXPECT_EQ(Drives.MaskCalls, 1);
}

TEST_F(Profiles, RemovingAsksThenDeletesTheFileAndReturnsToTheDefault)
{
    WriteBytes(Dir / "Corvane2.cfg", "2-3\r\nHome\r\nOffice");
    WriteProfile("Home", "1\r\nH: \\\\home");
    WriteProfile("Office", "1\r\nK: \\\\office");
    WriteBytes(Dir / "Corvane2.pro", "1\r\nD: \\\\default");
    auto form = StartShown();
    Ui.Answers.push_back(MessageAnswer::No);
    QTest::mouseClick(form->Panel1->RemoveProfileBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "Do you want to remove the profile Office?");
    EXPECT_EQ(Ui.Messages[0].Caption, " Warning");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_TRUE(fs::exists(Dir / "Profile" / "Office.pro")) << "No removed the profile";
    EXPECT_EQ(form->Panel1->ProfileIndex(), 2);

    Ui.Answers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(form->Panel1->RemoveProfileBtn, Qt::LeftButton);
    EXPECT_FALSE(fs::exists(Dir / "Profile" / "Office.pro"));
    EXPECT_TRUE(fs::exists(Dir / "Profile" / "Home.pro"));
    EXPECT_EQ(Items(*form), (QStringList{QStringLiteral("Default Network Mapping List"), QStringLiteral("Home")}));
    EXPECT_EQ(form->Panel1->ProfileIndex(), 0);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentIndex(), 0);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"D: \\\\default"});
    EXPECT_FALSE(form->Panel1->RemoveProfileBtn->isEnabled());
    EXPECT_EQ(Drives.MaskCalls, 2);
    EXPECT_EQ(form->Panel3->DrivePathList['D' - 'A'].Free, 0);
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "0-2\r\nHome");
}

TEST_F(Profiles, ARestartRestoresTheListAndTheCurrentProfile)
{
    auto form = StartShown();
    Ui.Dialogs.push_back(EnterProfileName(QStringLiteral(" Home ")));
    form->Panel1->AddProfileBtnClick();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("H:")));
    form->RightBtnClick();
    form->Panel3->SaveBtnClick();
    Ui.Dialogs.push_back(EnterProfileName(QStringLiteral("Office")));
    form->Panel1->AddProfileBtnClick();
    Pick(*form, 1);
    form->close();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.cfg"), "1-3\r\n Home \r\nOffice");
    EXPECT_EQ(ReadBytes(Dir / "Profile" / " Home .pro"), "1\r\nH: \\\\srv\\pub");

    auto again = StartShown();
    EXPECT_EQ(Items(*again), (QStringList{QStringLiteral("Default Network Mapping List"), QStringLiteral(" Home "),
                                          QStringLiteral("Office")}));
    EXPECT_EQ(again->Panel1->ProfileIndex(), 1);
    EXPECT_EQ(again->Panel3->GroupLines(), Lines{"H: \\\\srv\\pub"});
}

TEST_F(Profiles, ANameBeyondAsciiNamesItsFileAsTheUserWroteIt)
{
    const auto name = QStringLiteral("B\u00FCro \u00C4rger");
    auto form = StartShown();
    Ui.Dialogs.push_back(EnterProfileName(name));
    form->Panel1->AddProfileBtnClick();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("K:")));
    form->RightBtnClick();
    form->Panel3->SaveBtnClick();
    EXPECT_TRUE(MessageTexts().empty());
    // The name the system shows for the file is the one typed, whatever 8-bit text stands for it.
    const auto file = Dir / "Profile" / fs::path(u8"B\u00FCro \u00C4rger.pro");
    EXPECT_EQ(ReadBytes(file), "1\r\nK: \\\\srv\\pub");
    form->close();

    auto again = StartShown();
    EXPECT_EQ(again->Panel1->ProfileComboBox->currentText(), name);
    EXPECT_EQ(again->Panel3->GroupLines(), Lines{"K: \\\\srv\\pub"});
    EXPECT_TRUE(MessageTexts().empty()) << MessageTexts().front();
}

TEST_F(Profiles, NamesThatAreNoFileNamesNeverReachOutsideTheProfileDirectory)
{
    TempDir elsewhere;
    const auto absolute = (elsewhere / "victim").string();
    WriteBytes(elsewhere / "victim.pro", "keep me");
    WriteBytes(Dir / "x.pro", "keep me");
    for (const auto& name : {std::string("../x"), std::string("..\\x"), std::string("a/b"), absolute}) {
        SCOPED_TRACE(name);
        Ui.Messages.clear();
        auto form = StartShown();
        Ui.Dialogs.push_back(EnterProfileName(QString::fromStdString(name)));
        form->Panel1->AddProfileBtnClick();
        ClickRow(*form, 0);
        Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
        form->RightBtnClick();
        form->Panel3->SaveBtnClick();
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{" Was not able to save the profile mapping list!"});
        Ui.Answers.push_back(MessageAnswer::Yes);
        form->Panel1->RemoveProfileBtnClick();
        EXPECT_EQ(form->Panel1->ProfileComboBox->count(), 1);
        form->Panel3->SaveBtn->setEnabled(false);
        form->close();
        EXPECT_EQ(ReadBytes(elsewhere / "victim.pro"), "keep me");
        EXPECT_EQ(ReadBytes(Dir / "x.pro"), "keep me");
    }
    EXPECT_TRUE(fs::is_empty(Dir / "Profile"));
}

TEST_F(Profiles, ACurrentProfileNamedOutsideTheDirectoryLoadsNothingFromThere)
{
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\n../Corvane2");
    WriteBytes(Dir / "Corvane2.pro", "1\r\nE: \\\\default");
    auto form = StartShown();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "File :\n" + (Dir / "Profile" / "").string()
                                       + "../Corvane2.pro\nwas not found and will be created...");
    EXPECT_TRUE(form->Panel3->GroupLines().empty());
}

TEST_F(Profiles, NoDropsTheChangedGroupSoTheNextSwitchAsksNothingAndWritesNothing)
{
    WriteBytes(Dir / "Corvane2.cfg", "0-3\r\nOffice\r\nNew");
    WriteProfile("Office", "1\r\nK: \\\\office\\k");
    WriteBytes(Dir / "Corvane2.pro", "1\r\nD: \\\\default");
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    ASSERT_TRUE(form->Panel3->SaveBtn->isEnabled());
    Ui.Answers.push_back(MessageAnswer::No);
    Pick(*form, 1);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_FALSE(form->Panel3->SaveBtn->isEnabled());

    // Office was not changed: the switch to a profile without a file asks nothing and makes no file.
    Pick(*form, 2);
    ASSERT_EQ(form->Panel1->ProfileIndex(), 2);
    EXPECT_EQ(MessageTexts().size(), 2u) << "only the missing file was announced";
    Pick(*form, 0);
    EXPECT_EQ(MessageTexts().size(), 2u);
    EXPECT_FALSE(fs::exists(Dir / "Profile" / "New.pro"));
    EXPECT_EQ(ReadBytes(Dir / "Profile" / "Office.pro"), "1\r\nK: \\\\office\\k");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), "1\r\nD: \\\\default");
}

TEST_F(Profiles, AGroupThatCouldNotBeSavedKeepsTheUserOnItsProfile)
{
    fs::remove_all(Dir / "Profile");
    WriteBytes(Dir / "Profile", "a file in the way");
    WriteBytes(Dir / "Corvane2.cfg", "1-2\r\nHome");
    WriteBytes(Dir / "Corvane2.pro", "1\r\nD: \\\\default");
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    const auto before = Ui.Messages.size();

    Ui.Answers.push_back(MessageAnswer::Yes);
    Pick(*form, 0);
    ASSERT_EQ(Ui.Messages.size(), before + 2);
    EXPECT_EQ(Ui.Messages[before].Text, " Do you want to save the profile mapping list?");
    EXPECT_EQ(Ui.Messages[before + 1].Text, " Was not able to save the profile mapping list!");
    EXPECT_EQ(form->Panel1->ProfileIndex(), 1);
    EXPECT_EQ(form->Panel1->ProfileComboBox->currentIndex(), 1);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"E: \\\\srv\\pub"});
    EXPECT_TRUE(form->Panel3->SaveBtn->isEnabled());
    EXPECT_TRUE(form->Panel1->RemoveProfileBtn->isEnabled());

    // Adding a profile: the name is kept in its dialog, and nothing is added.
    Ui.Answers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(form->Panel1->AddProfile("Other"));
    EXPECT_EQ(Ui.Messages.back().Text, " Was not able to save the profile mapping list!");
    EXPECT_EQ(Items(*form), (QStringList{QStringLiteral("Default Network Mapping List"), QStringLiteral("Home")}));
    EXPECT_EQ(form->Panel1->ProfileIndex(), 1);
    EXPECT_EQ(form->Panel3->GroupLines(), Lines{"E: \\\\srv\\pub"});
    EXPECT_TRUE(form->Panel3->SaveBtn->isEnabled());
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.pro"), "1\r\nD: \\\\default");
}
