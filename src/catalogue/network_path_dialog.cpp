#include "network_path_dialog.h"

#include "base/ascii.h"
#include "base/ask_within.h"
#include "base/host_name.h"
#include "mapping/password_dialog.h"
#include "platform/platform.h"
#include "ui/display_text.h"
#include "ui/one_line_field.h"
#include "ui/ui_services.h"

#include <QCheckBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

constexpr int DescriptionLimit = 120;
constexpr int CollectPause = 50;  // ms between looks at the lists under way

// The bytes of a field: the original ones while it still shows them.
std::string BytesOf(const QLineEdit* edit, const std::string& original)
{
    return edit->text() == ToDisplay(original) ? original : FromDisplay(edit->text());
}

} // namespace

TAddNetworkPath::TAddNetworkPath(QWidget& owner, FolderBrowser& browser, std::shared_ptr<ShareLister> shares,
                                 UiServices& ui)
    : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Browser(browser), Shares(std::move(shares)), Ui(ui)
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

    ShareNames = new QStringListModel(this);
    ShareCompleter = new QCompleter(ShareNames, this);
    ShareCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    ShareCompleter->setCompletionMode(QCompleter::PopupCompletion);
    PathEdit->setCompleter(ShareCompleter);
    ShareCollector = new QTimer(this);
    ShareCollector->setInterval(CollectPause);
    connect(ShareCollector, &QTimer::timeout, this, &TAddNetworkPath::CollectShares);

    connect(PathEdit, &QLineEdit::textChanged, this, &TAddNetworkPath::PathEditChange);
    connect(BrowseBtn, &QPushButton::clicked, this, &TAddNetworkPath::BrowseBtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

// A list under way is left to end by itself: its answer goes nowhere.
TAddNetworkPath::~TAddNetworkPath() = default;

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
    OfferShares();
}

QStringList TAddNetworkPath::OfferedPaths() const
{
    return ShareNames->stringList();
}

void TAddNetworkPath::OfferShares()
{
    const auto text = PathEdit->text();
    if (!text.startsWith(QStringLiteral("\\\\")))
        return;
    const auto end = text.indexOf(QLatin1Char('\\'), 2);
    if (end < 0)
        return;
    const auto server = FromDisplay(text.mid(2, end - 2));
    if (!NamesHostText(server) || !AskedServers.insert(AsciiLowered(server)).second)
        return;
    ListShares(server, std::nullopt);
}

void TAddNetworkPath::ListShares(const std::string& server, std::optional<ShareLogin> login)
{
    const bool withLogin = login.has_value();
    Listings.push_back({server, withLogin,
                        AskOffThread([shares = Shares, server, login = std::move(login)] { return shares->List(server, login); }),
                        std::chrono::steady_clock::now() + ShareListLimit});
    ShareCollector->start();
}

void TAddNetworkPath::CollectShares()
{
    const auto now = std::chrono::steady_clock::now();
    // Taken out first: taking a list may ask for a login, and list again.
    std::vector<std::pair<Listing, ShareList>> answered;
    for (auto listing = Listings.begin(); listing != Listings.end();) {
        if (listing->Answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            auto list = listing->Answer.get();
            answered.emplace_back(std::move(*listing), std::move(list));
            listing = Listings.erase(listing);
        } else if (now >= listing->Deadline) {
            // Too late: what it says later is offered nowhere.
            listing = Listings.erase(listing);
        } else {
            ++listing;
        }
    }
    if (Listings.empty())
        ShareCollector->stop();
    for (const auto& [listing, list] : answered)
        TakeShares(listing, list);
}

void TAddNetworkPath::TakeShares(const Listing& listing, const ShareList& list)
{
    if (list.LoginNeeded && !listing.WithLogin && RequiresPWCheckBox->isChecked()) {
        TPasswordDlg login(*this);
        if (Ui.RunModal(login) == QDialog::Accepted)
            ListShares(listing.Server, ShareLogin{login.UserName->text().toStdString(), login.TypedPassword()});
        return;
    }
    auto offered = ShareNames->stringList();
    const auto prefix = QStringLiteral("\\\\") + ToDisplay(listing.Server) + QLatin1Char('\\');
    for (const auto& name : list.Names) {
        // A name the program's texts cannot hold would not come back whole.
        const auto shown = ToDisplay(name);
        if (!IsOfferedShareName(name) || FromDisplay(shown) != name || offered.contains(prefix + shown))
            continue;
        offered.append(prefix + shown);
    }
    if (offered.size() == ShareNames->rowCount())
        return;
    ShareNames->setStringList(offered);
    if (PathEdit->hasFocus() && PathEdit->text().startsWith(prefix, Qt::CaseInsensitive))
        ShareCompleter->complete();
}

void TAddNetworkPath::BrowseBtnClick()
{
    // Cancelling empties the path, and so disables OK.
    const auto folder = Browser.Browse("Select a shared network folder");
    PathEdit->setText(folder ? ToDisplay(*folder) : QString());
}
