#include "support/dialog_players.h"

#include "mapping/drive_letter_dialog.h"
#include "mapping/password_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

DialogPlayer ChooseLetter(const QString& text, QStringList* offered)
{
    return [text, offered](QDialog& dialog) {
        auto* letters = dynamic_cast<TDriveLetterSelection*>(&dialog);
        if (!letters) {
            ADD_FAILURE() << "expected the drive letter dialog";
            return int(QDialog::Rejected);
        }
        if (offered) {
            offered->clear();
            for (int i = 0; i < letters->ComboBox->count(); ++i)
                offered->append(letters->ComboBox->itemText(i));
        }
        letters->ComboBox->setEditText(text);
        QTest::mouseClick(letters->OkBtn, Qt::LeftButton);
        return dialog.result();
    };
}

DialogPlayer CloseDialog()
{
    return [](QDialog& dialog) {
        dialog.reject();
        return dialog.result();
    };
}

DialogPlayer EnterCredentials(const QString& user, const QString& password, bool* seenEmpty)
{
    return [=](QDialog& dialog) {
        auto* credentials = dynamic_cast<TPasswordDlg*>(&dialog);
        if (!credentials) {
            ADD_FAILURE() << "expected the credentials dialog";
            return int(QDialog::Rejected);
        }
        if (seenEmpty)
            *seenEmpty = credentials->UserName->text().isEmpty() && credentials->Password->text().isEmpty();
        credentials->UserName->setText(user);
        credentials->Password->setText(password);
        QTest::mouseClick(credentials->OkBtn, Qt::LeftButton);
        return dialog.result();
    };
}

DialogPlayer CancelCredentials()
{
    return [](QDialog& dialog) {
        auto* credentials = dynamic_cast<TPasswordDlg*>(&dialog);
        if (!credentials) {
            ADD_FAILURE() << "expected the credentials dialog";
            return int(QDialog::Rejected);
        }
        QTest::mouseClick(credentials->CancelBtn, Qt::LeftButton);
        return dialog.result();
    };
}
