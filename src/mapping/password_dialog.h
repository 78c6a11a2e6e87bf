#pragma once

#include "platform/secret.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the user name and password of one attach.
class TPasswordDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPasswordDlg)

public:
    explicit TPasswordDlg(QWidget& owner);

    void UserNameChange();
    // The password typed, as UTF-8; no copy of it is left behind.
    Secret TypedPassword() const;

    QLabel* Label3 = nullptr;
    QLineEdit* Password = nullptr;
    QLineEdit* UserName = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};
