#include "mapping_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>

using MappingDialogs = MappingTest;

TEST_F(MappingDialogs, TheDriveLetterDialogsLayout)
{
    Drives.Mask = 0x03FFFFFFU;  // every letter taken
    auto form = StartShown();
    TDriveLetterSelection dialog(*form, form->Panel3->DrivePathList);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Select Drive Letter..."));
    EXPECT_EQ(dialog.size(), QSize(194, 42));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.parentWidget(), form.get());
    EXPECT_EQ(dialog.Image1->geometry(), QRect(8, 8, 16, 25));
    EXPECT_EQ(dialog.ComboBox->geometry().topLeft(), QPoint(32, 8));
    EXPECT_EQ(dialog.ComboBox->width(), 65);
    EXPECT_TRUE(dialog.ComboBox->isEditable());
    EXPECT_EQ(dialog.OkBtn->geometry(), QRect(112, 8, 75, 25));
    EXPECT_EQ(dialog.OkBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1) << "the dialog has no Cancel button";
    EXPECT_EQ(dialog.ComboBox->count(), 0);
    EXPECT_EQ(dialog.ComboBox->currentText(), QString());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));

    QTest::mouseClick(dialog.OkBtn, Qt::LeftButton);
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "OK closed the dialog with no letter";
    EXPECT_EQ(dialog.SelectedLetter, '\0');
}

TEST_F(MappingDialogs, TheDriveSymbolIsAGreyDriveWithARedLamp)
{
    const auto image = MakeDriveSymbol().toImage();
    ASSERT_EQ(image.size(), QSize(16, 25));
    int grey = 0;
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const auto c = image.pixelColor(x, y);
            if (c.alpha() < 128)
                continue;
            grey += c.red() == c.green() && c.green() == c.blue() ? 1 : 0;
            red += c.red() > 180 && c.green() < 40 && c.blue() < 40 ? 1 : 0;
        }
    }
    EXPECT_GT(grey, 100);
    EXPECT_EQ(red, 4);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

TEST_F(MappingDialogs, TheCredentialsDialogsLayout)
{
    auto form = StartShown();
    TPasswordDlg dialog(*form);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Password Dialog..."));
    EXPECT_EQ(dialog.size(), QSize(217, 161));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Enter Username:"));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("(if required with domainname)"));
    EXPECT_EQ(dialog.Label3->text(), QStringLiteral("Enter password:"));
    EXPECT_EQ(dialog.Label1->pos(), QPoint(8, 8));
    EXPECT_EQ(dialog.Label2->pos(), QPoint(8, 48));
    EXPECT_EQ(dialog.Label3->pos(), QPoint(8, 73));
    EXPECT_EQ(dialog.Label2->font().pixelSize(), 11);
    EXPECT_EQ(dialog.font().pixelSize(), 13);
    EXPECT_EQ(dialog.UserName->geometry().topLeft(), QPoint(8, 24));
    EXPECT_EQ(dialog.Password->geometry().topLeft(), QPoint(8, 91));
    EXPECT_EQ(dialog.UserName->width(), 200);
    EXPECT_EQ(dialog.Password->width(), 200);
    EXPECT_EQ(dialog.OkBtn->geometry(), QRect(16, 128, 75, 25));
    EXPECT_EQ(dialog.CancelBtn->geometry(), QRect(128, 128, 75, 25));
    EXPECT_EQ(dialog.OkBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.CancelBtn->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.Password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, dialog.Password),
              u'*');
    EXPECT_TRUE(dialog.UserName->text().isEmpty());
    EXPECT_TRUE(dialog.Password->text().isEmpty());
    EXPECT_EQ(dialog.UserName->accessibleName(), QStringLiteral("Enter Username:"));
    EXPECT_EQ(dialog.Password->accessibleName(), QStringLiteral("Enter password:"));

    EXPECT_EQ(NextTabStop(dialog.UserName), dialog.Password);
    EXPECT_EQ(NextTabStop(dialog.Password), dialog.OkBtn);
    EXPECT_EQ(NextTabStop(dialog.OkBtn), dialog.CancelBtn);
    EXPECT_EQ(NextTabStop(dialog.CancelBtn), dialog.UserName);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.focusWidget(), dialog.UserName);
}

TEST_F(MappingDialogs, OkFollowsTheUserNameOnlyOnceItIsTouched)
{
    auto form = StartShown();
    TPasswordDlg dialog(*form);
    EXPECT_TRUE(dialog.OkBtn->isEnabled());
    QTest::keyClicks(dialog.Password, QStringLiteral("secret"));
    EXPECT_TRUE(dialog.OkBtn->isEnabled());
    QTest::keyClicks(dialog.UserName, QStringLiteral("a"));
    EXPECT_TRUE(dialog.OkBtn->isEnabled());
    QTest::keyClick(dialog.UserName, Qt::Key_Backspace);
    EXPECT_FALSE(dialog.OkBtn->isEnabled());
    QTest::keyClicks(dialog.UserName, QStringLiteral("b"));
    EXPECT_TRUE(dialog.OkBtn->isEnabled());
}

TEST_F(MappingDialogs, EscapeAndTheCloseBoxCancelTheCredentials)
{
    auto form = StartShown();
    TPasswordDlg dialog(*form);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}
