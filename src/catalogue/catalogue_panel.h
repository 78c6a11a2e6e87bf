#pragma once

#include "store/catalogue_file.h"
#include "store/stored_file.h"

#include <QFrame>
#include <QIcon>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class CatalogueListView;
class CatalogueModel;
class CataloguePreload;
class FolderBrowser;
class HandlerGate;
class ShareLister;
class QLabel;
class QLineEdit;
class QPushButton;
class UiServices;

// The catalogue's panel: the network paths one can put into a group, the
// selected one's details, and Add, Edit and Remove. Every change is written
// to the catalogue's file at once.
class CataloguePanel final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CataloguePanel)

public:
    CataloguePanel(std::filesystem::path dataDirectory, FolderBrowser& browser, std::shared_ptr<ShareLister> shares,
                   UiServices& ui, HandlerGate& gate, QWidget* parent);

    // Reads the catalogue, or takes what preload read already.
    void ReadCatalogue(CataloguePreload* preload);
    // Writes the catalogue; a failure is said.
    void SaveCatalogue();

    void RefreshCatalogueView(bool updateDetails);
    void AvailableListViewClick();
    void AddBtnClick();
    void EditBtnClick();
    void RemoveBtnClick();

    bool HasSelection() const;
    // The path last clicked; nothing when it is gone.
    std::optional<std::string> SelectedPath() const;

    PathCatalogue AvailablePathList;
    std::int32_t SelectedPathIndex = 0;
    // Image 0: no credentials needed; image 1: user name and password needed.
    std::array<QIcon, 2> ImageList1;

    CatalogueListView* AvailableListView = nullptr;
    QLabel* NetworkPathLabel = nullptr;
    QLineEdit* NetworkPathEdit = nullptr;
    QLabel* DescriptionLabel = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    QLabel* RequiresPWLabel = nullptr;
    QPushButton* AddBtn = nullptr;
    QPushButton* EditBtn = nullptr;
    QPushButton* RemoveBtn = nullptr;

signals:
    // Whether a path is there to be put into the group.
    void PathOffered(bool offered);

private:
    std::filesystem::path CatalogueFile;
    FolderBrowser& Browser;
    std::shared_ptr<ShareLister> Shares;
    UiServices& Ui;
    CatalogueModel* CatalogueRows = nullptr;
    StoredFile CatalogueAtStart;
};
