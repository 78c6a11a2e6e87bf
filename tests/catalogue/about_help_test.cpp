#include "support/main_window_fixture.h"

#include "app/help_file_engine.h"
#include "app/about_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "catalogue/catalogue_list_view.h"

class AboutAndHelp : public MainWindowTest {
protected:
    AboutAndHelp() { WriteCatalogue("0 2.0"); }
};

TEST_F(AboutAndHelp, HelpSaysThereIsNone)
{
    auto form = StartShown();
    QTest::mouseClick(form->HelpBtn, Qt::LeftButton);
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "No help is available in this version!\nA new version requires a sponsor!");
    EXPECT_EQ(Ui.Messages[0].Caption, " Help");
    EXPECT_EQ(Ui.Messages[0].Icon, MessageIcon::Question);
    EXPECT_EQ(Ui.Messages[0].Buttons, MessageButtons::Ok);
    EXPECT_TRUE(Help.Topics.empty());
}

TEST_F(AboutAndHelp, TheAboutBoxOpensModallyFromItsButton)
{
    auto form = StartShown();
    Ui.Dialogs.push_back([](QDialog& dialog) {
        EXPECT_NE(dynamic_cast<TAboutBox*>(&dialog), nullptr);
        dialog.accept();
        return dialog.result();
    });
    QTest::mouseClick(form->AboutBtn, Qt::LeftButton);
    EXPECT_EQ(Ui.DialogTitles, std::vector<QString>{QStringLiteral(" About...")});
}

TEST_F(AboutAndHelp, TheAboutBoxShowsEveryElement)
{
    auto form = StartShown();
    TAboutBox box(*form, Shell);
    EXPECT_EQ(box.windowTitle(), QStringLiteral(" About..."));
    EXPECT_EQ(box.size(), QSize(391, 257));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.Panel1->height(), 257);
    EXPECT_EQ(box.Panel1->palette().color(QPalette::Window), box.palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(box.ProgramIcon->size(), QSize(33, 33));
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Corvane  2.0"));
    EXPECT_EQ(box.ProductName->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_TRUE(box.ProductName->font().bold());
    EXPECT_TRUE(box.ProductName->font().italic());
    EXPECT_EQ(box.ProductName->font().pixelSize(), 21);
    EXPECT_EQ(box.ProductName->font().styleHint(), QFont::Serif);
    EXPECT_EQ(box.CompanyLabel1->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    EXPECT_TRUE(box.CompanyLabel1->font().bold());
    EXPECT_TRUE(box.CompanyLabel2->font().bold() && box.CompanyLabel2->font().italic());
    EXPECT_EQ(box.Label1->text(), QStringLiteral("Contact at:"));
    EXPECT_TRUE(box.Label1->font().bold());
    EXPECT_EQ(box.Internet->text(), QStringLiteral("Internet: corvane.example.org"));
    EXPECT_EQ(box.SendEmail->text(), QStringLiteral("E-mail: support@corvane.example.org"));
    for (const auto* link : {box.Internet, box.SendEmail}) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        EXPECT_TRUE(link->font().bold());
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(box.Memo1->document()->blockCount(), 4);
    EXPECT_FALSE(box.Memo1->isReadOnly());
    EXPECT_EQ(box.Memo1->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(box.Label2->font().bold());
    EXPECT_EQ(box.BitBtn1->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.BitBtn1->isDefault());
    EXPECT_GE(box.BitBtn1->x(), box.Panel1->geometry().right());

    // The panel in the tooltip colour, the box's own background beside it.
    const auto image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(285, 140), box.palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(image.pixelColor(350, 100), box.palette().color(QPalette::Window));
}

TEST_F(AboutAndHelp, EnterInTheNoteAddsALineInsteadOfClosing)
{
    auto form = StartShown();
    TAboutBox box(*form, Shell);
    box.show();
    QApplication::setActiveWindow(&box);
    EXPECT_EQ(box.focusWidget(), box.Memo1);
    QTest::keyClick(box.Memo1, Qt::Key_Return);
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(box.Memo1->document()->blockCount(), 5);
    EXPECT_EQ(NextTabStop(box.Memo1), box.Internet);
}

TEST_F(AboutAndHelp, TheLinksOpenThroughTheShellAndTheBoxStaysOpen)
{
    auto form = StartShown();
    TAboutBox box(*form, Shell);
    box.show();
    QTest::mouseClick(box.Internet, Qt::LeftButton);
    QTest::mouseClick(box.SendEmail, Qt::LeftButton);
    box.SendEmail->setFocus();
    QTest::keyClick(box.SendEmail, Qt::Key_Space);
    EXPECT_EQ(Shell.Opened, (std::vector<std::string>{"https://corvane.example.org/", "mailto:support@corvane.example.org",
                                                      "mailto:support@corvane.example.org"}));
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(Ui.Messages.empty());
}

TEST_F(AboutAndHelp, ContextHelpAsksForTheNumberOfTheControlOrItsNearestEnclosingOne)
{
    auto form = StartShown();
    const std::pair<QWidget*, int> expected[] = {
        {form.get(), 1000},
        {form->Label2, 1001},
        {form->Label3, 1002},
        {form->Panel1->P1Label, 1009},
        {form->Panel2->DescriptionLabel, 1014},
        {form->Panel2->NetworkPathLabel, 1015},
        {form->Panel2->RequiresPWLabel, 1016},
        {form->Panel1, 3050},
        {form->Panel1->ProfileComboBox, 3050},
        {form->Panel1->ProfileComboBox->lineEdit(), 3050},
        {form->Panel1->AddProfileBtn, 3050},
        {form->Panel1->RemoveProfileBtn, 3050},
        {form->Panel2, 3030},
        {form->Panel2->AvailableListView, 3030},
        {form->Panel2->AvailableListView->viewport(), 3030},
        {form->Panel2->NetworkPathEdit, 3030},
        {form->Panel2->DescriptionEdit, 3030},
        {form->Panel2->AddBtn, 3030},
        {form->Panel2->EditBtn, 3030},
        {form->Panel2->RemoveBtn, 3030},
        {form->Panel3, 3040},
        {form->Panel3->MappingListBox, 3040},
        {form->Panel3->MappingListBox->viewport(), 3040},
        {form->Panel3->AttachAllBtn, 3040},
        {form->Panel3->DetachAllBtn, 3040},
        {form->Panel3->DriveBtn, 3040},
        {form->Panel3->AttachOneBtn, 3040},
        {form->Panel3->DetachOneBtn, 3040},
        {form->Panel3->SaveBtn, 3040},
        {form->Panel3->RestoreConnectionCheckBox, 3040},
        {form->RightBtn, 3040},
        {form->LeftBtn, 3040},
        {form->HelpBtn, 1000},
        {form->AboutBtn, 3060},
        {form->ExitBtn, 3060},
    };
    for (const auto& [widget, number] : expected) {
        SCOPED_TRACE(widget->objectName().toStdString() + " " + std::to_string(number));
        Help.Topics.clear();
        QHelpEvent query(QEvent::QueryWhatsThis, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
        EXPECT_TRUE(QApplication::sendEvent(widget, &query));
        QHelpEvent ask(QEvent::WhatsThis, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(widget, &ask);
        ASSERT_EQ(Help.Topics.size(), 1u);
        EXPECT_EQ(Help.Topics[0], (std::pair<std::string, int>{(Dir / "Corvane2.hlp").string(), number}));
    }
}

TEST_F(AboutAndHelp, ShiftF1AsksAboutTheFocusedControl)
{
    auto form = StartShown();
    QApplication::setActiveWindow(form.get());
    form->Panel3->MappingListBox->setFocus();
    QTest::keyClick(form->Panel3->MappingListBox, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_EQ(Help.Topics.size(), 1u);
    EXPECT_EQ(Help.Topics[0].second, 3040);
}

TEST_F(AboutAndHelp, TheDialogsOfferNoContextHelp)
{
    auto form = StartShown();
    TAboutBox box(*form, Shell);
    QHelpEvent ask(QEvent::WhatsThis, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(box.BitBtn1, &ask);
    EXPECT_TRUE(Help.Topics.empty());
    EXPECT_FALSE(box.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST(HelpFileEngine, OpensAnExistingFileAndNamesAMissingOne)
{
    TempDir dir;
    FakeUi ui;
    FakeShell shell;
    HelpFileEngine help(ui, shell);
    const auto file = (dir / "Corvane2.hlp").string();
    help.ShowTopic(file, 3040);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, "The help file\n" + file + "\nwas not found.");
    EXPECT_EQ(ui.Messages[0].Caption, " Help");
    EXPECT_TRUE(shell.Opened.empty());

    WriteBytes(dir / "Corvane2.hlp", "help");
    help.ShowTopic(file, 3040);
    EXPECT_EQ(shell.Opened, std::vector<std::string>{file});
    EXPECT_EQ(ui.Messages.size(), 1u);
}
