#include "support/dialog_players.h"

#include "profiles/add_profile_dialog.h"
#include "catalogue/network_path_dialog.h"
#include "mapping/drive_letter_dialog.h"
#include "mapping/password_dialog.h"

#include <QCheckBox>
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

namespace {

TAddNetworkPath* PathDialog(QDialog& dialog, PathFields* seen)
{
    auto* paths = dynamic_cast<TAddNetworkPath*>(&dialog);
    if (!paths) {
        ADD_FAILURE() << "expected the network path dialog";
        return nullptr;
    }
    if (seen) {
        *seen = {paths->PathEdit->text(), paths->DescriptionEdit->text(), paths->RequiresPWCheckBox->isChecked(),
                 paths->BitBtn1->isEnabled()};
    }
    return paths;
}

} // namespace

DialogPlayer EnterPath(const PathFields& fields, PathFields* seen)
{
    return [fields, seen](QDialog& dialog) {
        auto* paths = PathDialog(dialog, seen);
        if (!paths)
            return int(QDialog::Rejected);
        // As typed (insert() keeps the typing limits), letters outside ASCII included.
        paths->PathEdit->clear();
        paths->PathEdit->insert(fields.Path);
        paths->DescriptionEdit->clear();
        paths->DescriptionEdit->insert(fields.Description);
        paths->RequiresPWCheckBox->setChecked(fields.RequiresPW);
        QTest::mouseClick(paths->BitBtn1, Qt::LeftButton);
        return dialog.result();
    };
}

DialogPlayer AcceptPath(PathFields* seen)
{
    return [seen](QDialog& dialog) {
        auto* paths = PathDialog(dialog, seen);
        if (!paths)
            return int(QDialog::Rejected);
        QTest::mouseClick(paths->BitBtn1, Qt::LeftButton);
        return dialog.result();
    };
}

DialogPlayer EnterProfileName(const QString& name)
{
    return [name](QDialog& dialog) {
        auto* profile = dynamic_cast<TAddProfile*>(&dialog);
        if (!profile) {
            ADD_FAILURE() << "expected the profile name dialog";
            return int(QDialog::Rejected);
        }
        profile->ProfileEdit->insert(name);
        QTest::mouseClick(profile->BitBtn1, Qt::LeftButton);
        return dialog.result();
    };
}
