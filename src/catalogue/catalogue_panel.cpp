#include "catalogue_panel.h"

#include "catalogue/catalogue_images.h"
#include "catalogue/catalogue_list_view.h"
#include "catalogue/catalogue_model.h"
#include "catalogue/catalogue_preload.h"
#include "catalogue/network_path_dialog.h"
#include "platform/path_style.h"
#include "ui/controls.h"
#include "ui/display_text.h"
#include "ui/handler_gate.h"
#include "ui/ui_services.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <initializer_list>

CataloguePanel::CataloguePanel(std::filesystem::path dataDirectory, FolderBrowser& browser,
                               std::shared_ptr<ShareLister> shares, UiServices& ui, HandlerGate& gate, QWidget* parent)
    : QFrame(parent), CatalogueFile(dataDirectory / TextPath(std::string(CatalogueFileName))), Browser(browser),
      Shares(std::move(shares)), Ui(ui)
{
    MakePanel(this, "Panel2", {8, 66, 344, 390});
    ImageList1 = MakeCatalogueImages();
    AvailableListView = new CatalogueListView(this);
    AvailableListView->setObjectName(QStringLiteral("AvailableListView"));
    AvailableListView->setGeometry(8, 8, 328, 208);
    CatalogueRows = new CatalogueModel(AvailablePathList, ImageList1, AvailableListView);
    AvailableListView->setModel(CatalogueRows);

    NetworkPathLabel = MakeLabel(this, "NetworkPathLabel", QStringLiteral("Network Path:"), {8, 224, 328, 16});
    NetworkPathEdit = MakeReadOnlyEdit(this, "NetworkPathEdit", {8, 241, 328, 22}, NetworkPathLabel);
    DescriptionLabel = MakeLabel(this, "DescriptionLabel", QStringLiteral("Description:"), {8, 270, 328, 16});
    DescriptionEdit = MakeReadOnlyEdit(this, "DescriptionEdit", {8, 287, 328, 22}, DescriptionLabel);
    RequiresPWLabel = MakeLabel(this, "RequiresPWLabel", QStringLiteral("Requires Username and Password"),
                                {8, 318, 328, 17});
    auto blue = RequiresPWLabel->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    RequiresPWLabel->setPalette(blue);

    AddBtn = MakeButton(this, "AddBtn", QStringLiteral("&Add"), {8, 352, 104, 27});
    EditBtn = MakeButton(this, "EditBtn", QStringLiteral("&Edit"), {120, 352, 104, 27}, false);
    RemoveBtn = MakeButton(this, "RemoveBtn", QStringLiteral("&Remove"), {232, 352, 104, 27}, false);

    gate.Connect(AvailableListView, &CatalogueListView::Clicked, this, &CataloguePanel::AvailableListViewClick);
    gate.Connect(AddBtn, &QPushButton::clicked, this, &CataloguePanel::AddBtnClick);
    gate.Connect(EditBtn, &QPushButton::clicked, this, &CataloguePanel::EditBtnClick);
    gate.Connect(RemoveBtn, &QPushButton::clicked, this, &CataloguePanel::RemoveBtnClick);
}

void CataloguePanel::ReadCatalogue(CataloguePreload* preload)
{
    AvailablePathList.clear();
    SelectedPathIndex = 0;
    auto read = preload ? preload->Take(CatalogueFile, AvailablePathList)
                        : ReadCatalogueFile(CatalogueFile, AvailablePathList);
    CatalogueAtStart = {read.Status, read.Damaged, std::move(read.OriginalBytes)};
    if (CatalogueAtStart.Status != FileReadStatus::Read) {
        ShowBox(Ui, "Before you can start to use the program,\nYou need to define the available network connections...",
                " Information", MessageIcon::Information);
        return;
    }
    if (CatalogueAtStart.Damaged)
        ShowPlain(Ui, " The Corvane2.net file is corrupted!");
    RefreshCatalogueView(false);
    // The records read decide, as the header does wherever it is right.
    if (!AvailablePathList.empty()) {
        RemoveBtn->setEnabled(true);
        emit PathOffered(true);
    }
}

void CataloguePanel::SaveCatalogue()
{
    // What edits left behind goes before it is written.
    AvailablePathList.Compact();
    if (!CatalogueAtStart.Write(CatalogueFile, FormatCatalogue(AvailablePathList)))
        ShowBox(Ui, " Was not able to save the network path list!", " Error", MessageIcon::Error);
}

void CataloguePanel::RefreshCatalogueView(bool updateDetails)
{
    CatalogueRows->BeginRefresh();
    AvailablePathList.Sort();
    CatalogueRows->EndRefresh();

    // The last row is marked selected without becoming the current row.
    if (const auto count = CatalogueRows->rowCount(); count > 0) {
        AvailableListView->selectionModel()->select(CatalogueRows->index(count - 1, 0),
                                                    QItemSelectionModel::ClearAndSelect
                                                        | QItemSelectionModel::Rows);
    }
    if (!updateDetails)
        return;
    AvailableListViewClick();
    AvailableListView->setFocus();
}

void CataloguePanel::AvailableListViewClick()
{
    const auto selected = AvailableListView->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const bool one = selected.size() == 1;
    for (QWidget* control : std::initializer_list<QWidget*>{NetworkPathEdit, DescriptionEdit, AddBtn, EditBtn})
        control->setEnabled(one);
    emit PathOffered(one);
    if (!one) {
        NetworkPathEdit->clear();
        DescriptionEdit->clear();
        RequiresPWLabel->clear();
        return;
    }
    SelectedPathIndex = selected.front().row();
    const auto entry = AvailablePathList[static_cast<std::size_t>(SelectedPathIndex)];
    NetworkPathEdit->setText(ToDisplay(entry.NetworkPath));
    NetworkPathEdit->setCursorPosition(0);
    DescriptionEdit->setText(ToDisplay(entry.Description));
    DescriptionEdit->setCursorPosition(0);
    RequiresPWLabel->setText(entry.RequiresPW != 0 ? QStringLiteral("Requires Username and Password")
                                                   : QStringLiteral("No Username and Password required"));
}

void CataloguePanel::AddBtnClick()
{
    TAddNetworkPath dialog(*window(), Browser, Shares, Ui);
    if (Ui.RunModal(dialog) != QDialog::Accepted)
        return;
    AvailablePathList.push_back(dialog.Entry());
    RefreshCatalogueView(true);
    RemoveBtn->setEnabled(true);
    emit PathOffered(true);
    SaveCatalogue();
}

void CataloguePanel::EditBtnClick()
{
    if (SelectedPathIndex < 0 || static_cast<std::size_t>(SelectedPathIndex) >= AvailablePathList.size())
        return;
    const auto index = static_cast<std::size_t>(SelectedPathIndex);
    TAddNetworkPath dialog(*window(), Browser, Shares, Ui);
    dialog.Fill(AvailablePathList[index].Copy());
    if (Ui.RunModal(dialog) != QDialog::Accepted)
        return;
    AvailablePathList.Replace(index, dialog.Entry());
    RefreshCatalogueView(true);
    SaveCatalogue();
}

void CataloguePanel::RemoveBtnClick()
{
    auto rows = AvailableListView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const int row = std::min_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                        return a.row() < b.row();
                    })->row();
    if (ShowBox(Ui, " Are you sure that you want to remove the selected network path?", " Warning",
                MessageIcon::Warning, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    AvailablePathList.Erase(static_cast<std::size_t>(row));
    RefreshCatalogueView(true);
    if (AvailablePathList.empty()) {
        EditBtn->setEnabled(false);
        RemoveBtn->setEnabled(false);
        emit PathOffered(false);
        NetworkPathEdit->clear();
        DescriptionEdit->clear();
        RequiresPWLabel->setText(QStringLiteral(" "));
    }
    SaveCatalogue();
}

bool CataloguePanel::HasSelection() const
{
    return !AvailableListView->selectionModel()->selectedRows().isEmpty();
}

std::optional<std::string> CataloguePanel::SelectedPath() const
{
    if (SelectedPathIndex < 0 || static_cast<std::size_t>(SelectedPathIndex) >= AvailablePathList.size())
        return std::nullopt;
    return std::string(AvailablePathList[static_cast<std::size_t>(SelectedPathIndex)].NetworkPath);
}
