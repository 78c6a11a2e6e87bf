#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class ProfilePanel;

// Asks for the name of a new profile; OK adds it while the dialog is open.
class TAddProfile final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAddProfile)

public:
    explicit TAddProfile(ProfilePanel& owner);

    void BitBtn1Click();

    QLineEdit* ProfileEdit = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    ProfilePanel& Owner;
};
