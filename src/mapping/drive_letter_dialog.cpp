#include "drive_letter_dialog.h"

#include "ui/display_text.h"
#include "mapping/drive_table.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TDriveLetterSelection::TDriveLetterSelection(QWidget& owner, const DrivePathVector& drives)
    : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("DriveLetterSelection"));
    setWindowTitle(QStringLiteral(" Select Drive Letter..."));
    setFixedSize(194, 42);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 16, 25);
    Image1->setPixmap(MakeDriveSymbol());

    ComboBox = new QComboBox(this);
    ComboBox->setObjectName(QStringLiteral("ComboBox"));
    ComboBox->setGeometry(32, 8, 65, 25);
    ComboBox->setEditable(true);
    ComboBox->setInsertPolicy(QComboBox::NoInsert);
    ComboBox->setAccessibleName(QStringLiteral("Drive letter"));
    auto comboFont = ComboBox->font();
    comboFont.setPixelSize(13);
    ComboBox->setFont(comboFont);
    for (const auto& name : FreeDriveNames(drives))
        ComboBox->addItem(ToDisplay(name));
    ComboBox->setCurrentIndex(ComboBox->count() > 0 ? 0 : -1);

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setGeometry(112, 8, 75, 25);
    OkBtn->setDefault(true);
    connect(OkBtn, &QPushButton::clicked, this, &TDriveLetterSelection::OkBtnClick);
}

void TDriveLetterSelection::OkBtnClick()
{
    // Only a letter closes the dialog; a small one stands for its capital.
    const auto text = ComboBox->currentText();
    if (text.isEmpty())
        return;
    const auto first = text.front().unicode();
    if (first >= u'a' && first <= u'z')
        SelectedLetter = static_cast<char>(first - u'a' + 'A');
    else if (first >= u'A' && first <= u'Z')
        SelectedLetter = static_cast<char>(first);
    else
        return;
    accept();
}

QPixmap MakeDriveSymbol()
{
    return QPixmap(QStringLiteral(":/images/drive.png"));
}
