#include "network_path_dialog.h"

#include "ui/display_text.h"
#include "platform/platform.h"
#include "ui/one_line_field.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <limits>

namespace {

constexpr int DescriptionLimit = 120;

// The bytes of a field: the original ones while it still shows them.
std::string BytesOf(const QLineEdit* edit, const std::string& original)
{
    return edit->text() == ToDisplay(original) ? original : FromDisplay(edit->text());
}

} // namespace

TAddNetworkPath::TAddNetworkPath(QWidget& owner, FolderBrowser& browser)
    : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Browser(browser)
{
    setObjectName(QStringLiteral("AddNetworkPath"));
    setWindowTitle(QStringLiteral(" Select Network path..."));
    setFixedSize(482, 160);

    Label1 = new QLabel(QStringLiteral("Network Path:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 200, 16);
    PathEdit = new QLineEdit(this);
    PathEdit->setObjectName(QStringLiteral("PathEdit"));
    PathEdit->setGeometry(8, 26, 370, 23);
    // A stored path of any length comes back whole through an edit.
    PathEdit->setMaxLength(std::numeric_limits<int>::max());
    KeepOnOneLine(PathEdit);
    Label1->setBuddy(PathEdit);
    PathEdit->setAccessibleName(Label1->text());
    Label2 = new QLabel(QStringLiteral("(Example: \\\\DefaultServer\\Public)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    auto small = Label2->font();
    small.setPointSize(7);
    Label2->setFont(small);
    auto black = Label2->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    Label2->setPalette(black);
    Label2->adjustSize();
    Label2->move(378 - Label2->width(), 51);
    BrowseBtn = new QPushButton(QIcon(QStringLiteral(":/images/folder.png")), QStringLiteral("&Browse"), this);
    BrowseBtn->setObjectName(QStringLiteral("BrowseBtn"));
    BrowseBtn->setGeometry(390, 25, 84, 25);

    Label3 = new QLabel(QStringLiteral("Description:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(8, 66, 200, 16);
    DescriptionEdit = new QLineEdit(this);
    DescriptionEdit->setObjectName(QStringLiteral("DescriptionEdit"));
    DescriptionEdit->setGeometry(8, 84, 370, 23);
    DescriptionEdit->setMaxLength(DescriptionLimit);
    KeepOnOneLine(DescriptionEdit);
    Label3->setBuddy(DescriptionEdit);
    DescriptionEdit->setAccessibleName(Label3->text());
    RequiresPWCheckBox = new QCheckBox(QStringLiteral("Requires Username and Password"), this);
    RequiresPWCheckBox->setObjectName(QStringLiteral("RequiresPWCheckBox"));
    RequiresPWCheckBox->setGeometry(8, 122, 280, 22);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(300, 120, 84, 27);
    BitBtn1->setDefault(true);
    BitBtn1->setEnabled(false);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(390, 120, 84, 27);

    setTabOrder(PathEdit, BrowseBtn);
    setTabOrder(BrowseBtn, DescriptionEdit);
    setTabOrder(DescriptionEdit, RequiresPWCheckBox);
    setTabOrder(RequiresPWCheckBox, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    PathEdit->setFocus();

    connect(PathEdit, &QLineEdit::textChanged, this, &TAddNetworkPath::PathEditChange);
    connect(BrowseBtn, &QPushButton::clicked, this, &TAddNetworkPath::BrowseBtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TAddNetworkPath::Fill(const AvailablePathStructur& entry)
{
    Filled = entry;
    // The limit holds for typing; a longer stored description stays whole.
    DescriptionEdit->setMaxLength(std::max(DescriptionLimit, static_cast<int>(ToDisplay(entry.Description).size())));
    PathEdit->setText(ToDisplay(entry.NetworkPath));
    DescriptionEdit->setText(ToDisplay(entry.Description));
    RequiresPWCheckBox->setChecked(entry.RequiresPW != 0);
}

AvailablePathStructur TAddNetworkPath::Entry() const
{
    return {BytesOf(PathEdit, Filled.NetworkPath), BytesOf(DescriptionEdit, Filled.Description),
            static_cast<std::uint8_t>(RequiresPWCheckBox->isChecked() ? 1 : 0)};
}

void TAddNetworkPath::PathEditChange()
{
    BitBtn1->setEnabled(!PathEdit->text().isEmpty());
}

void TAddNetworkPath::BrowseBtnClick()
{
    // Cancelling empties the path, and so disables OK.
    const auto folder = Browser.Browse("Select a shared network folder");
    PathEdit->setText(folder ? ToDisplay(*folder) : QString());
}
