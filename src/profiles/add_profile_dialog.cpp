#include "add_profile_dialog.h"

#include "ui/display_text.h"
#include "profiles/profile_panel.h"
#include "ui/one_line_field.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TAddProfile::TAddProfile(ProfilePanel& owner)
    : QDialog(owner.window(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Owner(owner)
{
    setObjectName(QStringLiteral("AddProfile"));
    setWindowTitle(QStringLiteral(" Enter a profile name..."));
    setFixedSize(464, 71);

    ProfileEdit = new QLineEdit(this);
    ProfileEdit->setObjectName(QStringLiteral("ProfileEdit"));
    ProfileEdit->setGeometry(8, 22, 270, 25);
    ProfileEdit->setMaxLength(40);
    KeepOnOneLine(ProfileEdit);
    ProfileEdit->setToolTip(QStringLiteral(" Max profile name length is 40 characters!"));
    ProfileEdit->setAccessibleName(QStringLiteral("Profile name"));

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(290, 21, 80, 27);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(376, 21, 80, 27);

    setTabOrder(ProfileEdit, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    ProfileEdit->setFocus();

    connect(BitBtn1, &QPushButton::clicked, this, &TAddProfile::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TAddProfile::BitBtn1Click()
{
    // A name that is refused leaves the dialog open for another one.
    if (Owner.AddProfile(FromDisplay(ProfileEdit->text())))
        accept();
}
