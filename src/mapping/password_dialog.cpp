#include "password_dialog.h"

#include "ui/one_line_field.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QPoint at)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    label->move(at);
    label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int top, QLabel* label)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setGeometry(8, top, 200, 21);
    label->setBuddy(edit);
    edit->setAccessibleName(label->text());
    return edit;
}

} // namespace

TPasswordDlg::TPasswordDlg(QWidget& owner)
    : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Password Dialog..."));
    setFixedSize(217, 161);
    auto dialogFont = font();
    dialogFont.setPixelSize(13);
    setFont(dialogFont);

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Enter Username:"), {8, 8});
    UserName = MakeEdit(this, "UserName", 24, Label1);
    KeepOnOneLine(UserName);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("(if required with domainname)"), {8, 48});
    auto smaller = Label2->font();
    smaller.setPixelSize(11);
    Label2->setFont(smaller);
    Label2->adjustSize();
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Enter password:"), {8, 73});
    Password = MakeEdit(this, "Password", 91, Label3);
    Password->setEchoMode(QLineEdit::Password);
    Password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setGeometry(16, 128, 75, 25);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(128, 128, 75, 25);

    setTabOrder(UserName, Password);
    setTabOrder(Password, OkBtn);
    setTabOrder(OkBtn, CancelBtn);
    UserName->setFocus();

    connect(UserName, &QLineEdit::textChanged, this, &TPasswordDlg::UserNameChange);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    if (const auto* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TPasswordDlg::UserNameChange()
{
    OkBtn->setEnabled(!UserName->text().isEmpty());
}

Secret TPasswordDlg::TypedPassword() const
{
    auto bytes = Password->text().toUtf8();
    Secret password(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    WipeMemory(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return password;
}
