#pragma once

#include "platform/share_lister.h"
#include "store/catalogue_file.h"

#include <QDialog>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QCheckBox;
class QCompleter;
class QStringListModel;
class QTimer;
class UiServices;
class QLabel;
class QLineEdit;
class QPushButton;
class FolderBrowser;

// Asks for one catalogue entry: its path (typed or browsed), its description
// and whether it needs credentials. Once the path reads \\server\, that
// server's disk shares are offered as completions: asked off the window's
// thread, once per server while the dialog is open, and never waited for.
class TAddNetworkPath final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAddNetworkPath)

public:
    TAddNetworkPath(QWidget& owner, FolderBrowser& browser, std::shared_ptr<ShareLister> shares, UiServices& ui);
    ~TAddNetworkPath() override;

    // Fills the fields from an entry, whose bytes come back unchanged from
    // Entry() when their fields are left as they are.
    void Fill(const AvailablePathStructur& entry);
    AvailablePathStructur Entry() const;

    void PathEditChange();
    void BrowseBtnClick();

    QLabel* Label1 = nullptr;
    QLineEdit* PathEdit = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BrowseBtn = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    QCheckBox* RequiresPWCheckBox = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // The completions offered so far, whole paths.
    QStringList OfferedPaths() const;

private:
    // A server's list under way.
    struct Listing {
        std::string Server;
        bool WithLogin = false;
        std::future<ShareList> Answer;
        std::chrono::steady_clock::time_point Deadline;
    };
    void OfferShares();
    void ListShares(const std::string& server, std::optional<ShareLogin> login);
    void CollectShares();
    void TakeShares(const Listing& listing, const ShareList& list);

    FolderBrowser& Browser;
    std::shared_ptr<ShareLister> Shares;
    UiServices& Ui;
    QCompleter* ShareCompleter = nullptr;
    QStringListModel* ShareNames = nullptr;
    QTimer* ShareCollector = nullptr;
    std::vector<Listing> Listings;
    // The servers asked while the dialog is open, without case: each is asked
    // once, and for a login at most once.
    std::set<std::string> AskedServers;
    AvailablePathStructur Filled;
};
