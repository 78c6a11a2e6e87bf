#pragma once

#include "mapping/drive_table.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// Offers the free letters of the drive table; OK gives one letter A to Z.
class TDriveLetterSelection final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDriveLetterSelection)

public:
    TDriveLetterSelection(QWidget& owner, const DrivePathVector& drives);

    void OkBtnClick();

    QLabel* Image1 = nullptr;
    QComboBox* ComboBox = nullptr;
    QPushButton* OkBtn = nullptr;
    char SelectedLetter = '\0';
};

// A grey drive with a red lamp, 16 by 25 pixels.
QPixmap MakeDriveSymbol();
