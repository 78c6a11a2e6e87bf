#pragma once

#include "store/catalogue_file.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class FolderBrowser;

// Asks for one catalogue entry: its path (typed or browsed), its description
// and whether it needs credentials.
class TAddNetworkPath final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAddNetworkPath)

public:
    TAddNetworkPath(QWidget& owner, FolderBrowser& browser);

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

private:
    FolderBrowser& Browser;
    AvailablePathStructur Filled;
};
