#include "support/dialog_players.h"
#include "support/main_window_fixture.h"

#include "catalogue/catalogue_list_view.h"
#include "catalogue/network_path_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Entries = AvailablePathVector;

namespace {

const std::string TwoEntries = "2 2.0\r\n0,\\\\srv\\pub\r\nPublic\r\n1,\\\\srv\\secret\r\nSecret";

} // namespace

using CatalogueEditing = MainWindowTest;

TEST_F(CatalogueEditing, TheNetworkPathDialogsLayout)
{
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Select Network path..."));
    EXPECT_EQ(dialog.size(), QSize(482, 160));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.parentWidget(), form.get());
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Network Path:"));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("(Example: \\\\DefaultServer\\Public)"));
    EXPECT_EQ(dialog.Label3->text(), QStringLiteral("Description:"));
    EXPECT_EQ(dialog.Label2->geometry().right() + 1, dialog.PathEdit->geometry().right() + 1)
        << "the example stands under the right end of the path";
    EXPECT_LT(dialog.Label2->font().pointSizeF(), dialog.Label1->font().pointSizeF());
    EXPECT_EQ(dialog.BrowseBtn->text(), QStringLiteral("&Browse"));
    EXPECT_FALSE(dialog.BrowseBtn->icon().isNull());
    EXPECT_EQ(dialog.RequiresPWCheckBox->text(), QStringLiteral("Requires Username and Password"));
    EXPECT_FALSE(dialog.RequiresPWCheckBox->isChecked());
    EXPECT_EQ(dialog.BitBtn1->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.BitBtn2->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(dialog.BitBtn1->isDefault());
    EXPECT_FALSE(dialog.BitBtn1->isEnabled());
    EXPECT_EQ(dialog.DescriptionEdit->maxLength(), 120);
    EXPECT_EQ(dialog.PathEdit->maxLength(), std::numeric_limits<int>::max()) << "a stored path could be cut";

    EXPECT_EQ(NextTabStop(dialog.PathEdit), dialog.BrowseBtn);
    EXPECT_EQ(NextTabStop(dialog.BrowseBtn), dialog.DescriptionEdit);
    EXPECT_EQ(NextTabStop(dialog.DescriptionEdit), dialog.RequiresPWCheckBox);
    EXPECT_EQ(NextTabStop(dialog.RequiresPWCheckBox), dialog.BitBtn1);
    EXPECT_EQ(NextTabStop(dialog.BitBtn1), dialog.BitBtn2);
}

TEST_F(CatalogueEditing, OkFollowsThePathAndTheDescriptionStopsAt120)
{
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    QTest::keyClicks(dialog.PathEdit, QStringLiteral("  "));
    EXPECT_TRUE(dialog.BitBtn1->isEnabled()) << "a path of blanks is a path";
    QTest::keyClick(dialog.PathEdit, Qt::Key_Backspace);
    QTest::keyClick(dialog.PathEdit, Qt::Key_Backspace);
    EXPECT_FALSE(dialog.BitBtn1->isEnabled());
    QTest::keyClicks(dialog.DescriptionEdit, QString(130, u'd'));
    EXPECT_EQ(dialog.DescriptionEdit->text().size(), 120);
}

TEST_F(CatalogueEditing, EnterOksEscapeAndTheCloseBoxCancel)
{
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    dialog.show();
    QTest::keyClicks(dialog.PathEdit, QStringLiteral("\\\\a\\b"));
    QTest::keyClick(dialog.PathEdit, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    TAddNetworkPath escaped(*form, Browser, SharedShares, Ui);
    escaped.show();
    QTest::keyClick(&escaped, Qt::Key_Escape);
    EXPECT_EQ(escaped.result(), QDialog::Rejected);

    TAddNetworkPath closed(*form, Browser, SharedShares, Ui);
    closed.show();
    closed.close();
    EXPECT_EQ(closed.result(), QDialog::Rejected);
}

TEST_F(CatalogueEditing, BrowsingFillsThePathAndCancellingEmptiesIt)
{
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    Browser.Answer = "\\\\fileserver\\public";
    QTest::mouseClick(dialog.BrowseBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.PathEdit->text(), QStringLiteral("\\\\fileserver\\public"));
    EXPECT_TRUE(dialog.BitBtn1->isEnabled());
    Browser.Answer.reset();
    QTest::mouseClick(dialog.BrowseBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.PathEdit->text(), QString());
    EXPECT_FALSE(dialog.BitBtn1->isEnabled());
    EXPECT_EQ(Browser.Titles, (std::vector<std::string>{"Select a shared network folder",
                                                        "Select a shared network folder"}));
}

TEST_F(CatalogueEditing, AddTakesTheFieldsAsTypedAndShowsTheLastEntry)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    PathFields opened;
    Ui.Dialogs.push_back(EnterPath({QStringLiteral(" \\\\mid\\x "), QString(), true}, &opened));
    QTest::mouseClick(form->Panel2->AddBtn, Qt::LeftButton);
    EXPECT_EQ(opened.Path, QString());
    EXPECT_EQ(opened.Description, QString());
    EXPECT_FALSE(opened.RequiresPW);
    EXPECT_FALSE(opened.OkEnabled);
    EXPECT_EQ(ShownRows(*form), (std::vector<std::string>{" \\\\mid\\x ", "\\\\srv\\pub", "\\\\srv\\secret"}));
    EXPECT_EQ(form->Panel2->AvailablePathList[0], (AvailablePathStructur{" \\\\mid\\x ", "", 1}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 2);
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QStringLiteral("\\\\srv\\secret"));
    EXPECT_TRUE(form->Panel2->EditBtn->isEnabled());
    EXPECT_TRUE(form->Panel2->RemoveBtn->isEnabled());
    EXPECT_TRUE(form->RightBtn->isEnabled());
    EXPECT_EQ(Ui.DialogTitles, std::vector<QString>{QStringLiteral(" Select Network path...")});

    ClickRow(*form, 0);
    EXPECT_EQ(form->Panel2->DescriptionEdit->text(), QString());
    EXPECT_EQ(form->Panel2->RequiresPWLabel->text(), QStringLiteral("Requires Username and Password"));
}

TEST_F(CatalogueEditing, AddToAnEmptyCatalogueEnablesRemoveAndRight)
{
    auto form = StartShown();
    Ui.Messages.clear();
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\a\\b"), QStringLiteral("first"), false}));
    form->Panel2->AddBtnClick();
    EXPECT_EQ(form->Panel2->AvailablePathList, (Entries{{"\\\\a\\b", "first", 0}}));
    EXPECT_TRUE(form->Panel2->RemoveBtn->isEnabled());
    EXPECT_TRUE(form->RightBtn->isEnabled());
    EXPECT_EQ(form->Panel2->RequiresPWLabel->text(), QStringLiteral("No Username and Password required"));
}

TEST_F(CatalogueEditing, AnExistingPathIsAddedAgain)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\srv\\pub"), QStringLiteral("again"), false}));
    form->Panel2->AddBtnClick();
    EXPECT_EQ(ShownRows(*form), (std::vector<std::string>{"\\\\srv\\pub", "\\\\srv\\pub", "\\\\srv\\secret"}));
}

TEST_F(CatalogueEditing, CancelChangesNothing)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    ClickRow(*form, 0);
    const auto before = form->Panel2->AvailablePathList;
    Ui.Dialogs.push_back(CloseDialog());
    form->Panel2->AddBtnClick();
    Ui.Dialogs.push_back(CloseDialog());
    form->Panel2->EditBtnClick();
    EXPECT_EQ(form->Panel2->AvailablePathList, before);
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QStringLiteral("\\\\srv\\pub"));
    EXPECT_EQ(SelectedRows(*form), std::vector<int>{0});
}

TEST_F(CatalogueEditing, EditOpensFilledAndUnchangedKeepsTheValues)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    ClickRow(*form, 0);
    PathFields opened;
    Ui.Dialogs.push_back(AcceptPath(&opened));
    QTest::mouseClick(form->Panel2->EditBtn, Qt::LeftButton);
    EXPECT_EQ(opened.Path, QStringLiteral("\\\\srv\\pub"));
    EXPECT_EQ(opened.Description, QStringLiteral("Public"));
    EXPECT_FALSE(opened.RequiresPW);
    EXPECT_TRUE(opened.OkEnabled);
    EXPECT_EQ(form->Panel2->AvailablePathList, (Entries{{"\\\\srv\\pub", "Public", 0}, {"\\\\srv\\secret", "Secret", 1}}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QStringLiteral("\\\\srv\\secret"));
}

TEST_F(CatalogueEditing, AnEditedPathMovesToWhereItSorts)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\zzz\\pub"), QStringLiteral("moved"), true}));
    form->Panel2->EditBtnClick();
    EXPECT_EQ(form->Panel2->AvailablePathList, (Entries{{"\\\\srv\\secret", "Secret", 1}, {"\\\\zzz\\pub", "moved", 1}}));
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QStringLiteral("\\\\zzz\\pub"));
}

TEST_F(CatalogueEditing, EditActsOnTheLastClickedEntryNotTheSelection)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    ClickRow(*form, 0);
    QTest::keyClick(form->Panel2->AvailableListView, Qt::Key_Down);
    PathFields opened;
    Ui.Dialogs.push_back(AcceptPath(&opened));
    form->Panel2->EditBtnClick();
    EXPECT_EQ(opened.Path, QStringLiteral("\\\\srv\\pub"));
}

TEST_F(CatalogueEditing, RemoveAsksAndTakesOnlyTheUpperOfTwoSelectedRows)
{
    WriteCatalogue("3 2.0\r\n0,a\r\n\r\n0,b\r\n\r\n0,c\r\n");
    auto form = StartShown();
    ClickRow(*form, 2);
    ClickRow(*form, 1, Qt::ControlModifier);
    Ui.Answers.push_back(MessageAnswer::No);
    QTest::mouseClick(form->Panel2->RemoveBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, " Are you sure that you want to remove the selected network path?");
    EXPECT_EQ(Ui.Messages[0].Caption, " Warning");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(ShownRows(*form).size(), 3u);

    Ui.Answers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(form->Panel2->RemoveBtn, Qt::LeftButton);
    EXPECT_EQ(ShownRows(*form), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(form->Panel2->SelectedPathIndex, 1);
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QStringLiteral("c"));
}

TEST_F(CatalogueEditing, RemoveWithNothingSelectedAsksNothing)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    ClickBelowRows(*form);
    form->Panel2->RemoveBtnClick();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 2u);
}

TEST_F(CatalogueEditing, RemovingTheOnlyEntryClearsThePanel)
{
    WriteCatalogue("1 2.0\r\n1,\\\\only\\one\r\nlast");
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->Panel2->RemoveBtnClick();
    EXPECT_TRUE(ShownRows(*form).empty());
    EXPECT_FALSE(form->Panel2->EditBtn->isEnabled());
    EXPECT_FALSE(form->Panel2->RemoveBtn->isEnabled());
    EXPECT_FALSE(form->RightBtn->isEnabled());
    EXPECT_TRUE(form->Panel2->AddBtn->isEnabled());
    EXPECT_EQ(form->Panel2->NetworkPathEdit->text(), QString());
    EXPECT_EQ(form->Panel2->DescriptionEdit->text(), QString());
    EXPECT_EQ(form->Panel2->RequiresPWLabel->text(), QStringLiteral(" "));
    form->close();
    EXPECT_EQ(Catalogue(), "0 2.0");
}

TEST_F(CatalogueEditing, EditsNeverTouchTheGroupAndCredentialsFollowTheCatalogue)
{
    WriteCatalogue(TwoEntries);
    auto form = StartShown();
    ClickRow(*form, 1);
    Ui.Dialogs.push_back(ChooseLetter(QStringLiteral("E:")));
    form->RightBtnClick();
    const auto table = form->Panel3->DrivePathList;

    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\srv\\renamed"), QStringLiteral("Secret"), true}));
    form->Panel2->EditBtnClick();
    EXPECT_EQ(form->Panel3->GroupLines(), std::vector<std::string>{"E: \\\\srv\\secret"});
    EXPECT_EQ(form->Panel3->DrivePathList, table);

    // The group's path is in the catalogue no more: no credentials are asked.
    form->Panel3->AttachAllBtnClick();
    EXPECT_EQ(Runner.Calls.back(), (std::vector<std::string>{"net", "use", "E:", "\\\\srv\\secret", "/PERSISTENT:NO"}));

    // An entry with exactly that path asks for them again.
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\srv\\secret"), QString(), true}));
    form->Panel2->AddBtnClick();
    Ui.Dialogs.push_back(EnterCredentials(QStringLiteral("u"), QStringLiteral("p")));
    form->Panel3->AttachAllBtnClick();
    EXPECT_EQ(Runner.Calls.back().size(), 7u);

    ASSERT_EQ(ShownRows(*form)[2], "\\\\srv\\secret");
    ClickRow(*form, 2);
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->Panel2->RemoveBtnClick();
    form->Panel3->AttachAllBtnClick();
    EXPECT_EQ(Runner.Calls.back().size(), 5u) << "the removed entry still asked for credentials";
    EXPECT_EQ(form->Panel3->GroupLines(), std::vector<std::string>{"E: \\\\srv\\secret"});
}

TEST_F(CatalogueEditing, TypedTextsReachTheFileAsEightBitBytesAndComeBack)
{
    auto form = StartShown();
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\s\u00e9rveur\\donn\u00e9es"), QStringLiteral("\u00c0 bient\u00f4t"), false}));
    form->Panel2->AddBtnClick();
    form->close();
    const auto expected = QStringLiteral("\\\\s\u00e9rveur\\donn\u00e9es").toLocal8Bit().toStdString();
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0," + expected + "\r\n" + QStringLiteral("\u00c0 bient\u00f4t").toLocal8Bit().toStdString());

    auto again = StartShown();
    ClickRow(*again, 0);
    EXPECT_EQ(again->Panel2->NetworkPathEdit->text(), QStringLiteral("\\\\s\u00e9rveur\\donn\u00e9es"));
    EXPECT_EQ(again->Panel2->AvailablePathList[0].NetworkPath, expected);
}

TEST_F(CatalogueEditing, AnUnchangedEditKeepsBytesTheDisplayCannotShowAndLongDescriptions)
{
    const std::string odd = "\\\\srv\\\xFF\xFE\x80";
    const std::string longDescription(300, 'L');
    WriteCatalogue("1 2.0\r\n1," + odd + "\r\n" + longDescription);
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(AcceptPath());
    form->Panel2->EditBtnClick();
    EXPECT_EQ(form->Panel2->AvailablePathList, (Entries{{odd, longDescription, 1}}));
    form->close();
    EXPECT_EQ(Catalogue(), "1 2.0\r\n1," + odd + "\r\n" + longDescription);
}

TEST_F(CatalogueEditing, EveryChangeReachesTheFileAtOnceAndADamagedOneIsPutAsideFirst)
{
    const std::string damaged = "5 2.0\r\n0,\\\\srv\\pub\r\nPublic";
    WriteCatalogue(damaged);
    auto form = StartShown();
    Ui.Messages.clear();
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\a\\b"), QStringLiteral("added"), false}));
    form->Panel2->AddBtnClick();
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), damaged);
    EXPECT_EQ(Catalogue(), "2 2.0\r\n0,\\\\a\\b\r\nadded\r\n0,\\\\srv\\pub\r\nPublic");

    ClickRow(*form, 0);
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\z\\b"), QStringLiteral("edited"), true}));
    form->Panel2->EditBtnClick();
    EXPECT_EQ(Catalogue(), "2 2.0\r\n0,\\\\srv\\pub\r\nPublic\r\n1,\\\\z\\b\r\nedited");

    ClickRow(*form, 1);
    Ui.Answers.push_back(MessageAnswer::Yes);
    form->Panel2->RemoveBtnClick();
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0,\\\\srv\\pub\r\nPublic");
    EXPECT_EQ(ReadBytes(Dir / "Corvane2.net.bak"), damaged) << "the backup was written over by a later save";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{" Are you sure that you want to remove the selected network path?"});
}

TEST_F(CatalogueEditing, AnUnreadableCatalogueIsNotWrittenOverByAnAdd)
{
    std::filesystem::create_directory(Dir / "Corvane2.net");
    auto form = StartShown();
    Ui.Messages.clear();
    Ui.Dialogs.push_back(EnterPath({QStringLiteral("\\\\a\\b"), QString(), false}));
    form->Panel2->AddBtnClick();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{" Was not able to save the network path list!"});
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "Corvane2.net"));
    EXPECT_EQ(form->Panel2->AvailablePathList.size(), 1u);
}

TEST_F(CatalogueEditing, LineEndsTypedOrPastedBecomeBlanks)
{
    auto form = StartShown();
    TAddNetworkPath dialog(*form, Browser, SharedShares, Ui);
    dialog.PathEdit->insert(QStringLiteral("\\\\srv\r\n\\share"));
    dialog.DescriptionEdit->insert(QStringLiteral("two\nlines\u2028here"));
    EXPECT_EQ(dialog.PathEdit->text(), QStringLiteral("\\\\srv  \\share"));
    EXPECT_EQ(dialog.DescriptionEdit->text(), QStringLiteral("two lines here"));
    QApplication::clipboard()->setText(QStringLiteral("\\pasted\nline"));
    dialog.PathEdit->end(false);
    dialog.PathEdit->paste();
    EXPECT_EQ(dialog.PathEdit->text(), QStringLiteral("\\\\srv  \\share\\pasted line"));
}

TEST_F(CatalogueEditing, AnUnchangedEditKeepsAPathOfAnyLength)
{
    const std::string path = "\\\\srv\\" + std::string(40000, 'p');
    WriteCatalogue("1 2.0\r\n0," + path + "\r\nlong");
    auto form = StartShown();
    ClickRow(*form, 0);
    Ui.Dialogs.push_back(AcceptPath());
    form->Panel2->EditBtnClick();
    ASSERT_EQ(form->Panel2->AvailablePathList.size(), 1u);
    EXPECT_EQ(form->Panel2->AvailablePathList[0].NetworkPath, path);
    EXPECT_EQ(Catalogue(), "1 2.0\r\n0," + path + "\r\nlong");
}
