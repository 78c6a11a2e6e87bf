#include "app/mainform.h"

#include "catalogue/catalogue_list_view.h"
#include "catalogue/network_path_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

void TMainPRGForm::AddBtnClick()
{
    TAddNetworkPath dialog(*this);
    if (UserInterface.RunModal(dialog) != QDialog::Accepted)
        return;
    AvailablePathList.push_back(dialog.Entry());
    RefreshCatalogueView(true);
    RemoveBtn->setEnabled(true);
    RightBtn->setEnabled(true);
    SaveCatalogue();
}

void TMainPRGForm::EditBtnClick()
{
    if (SelectedPathIndex < 0 || static_cast<std::size_t>(SelectedPathIndex) >= AvailablePathList.size())
        return;
    const auto index = static_cast<std::size_t>(SelectedPathIndex);
    TAddNetworkPath dialog(*this);
    dialog.Fill(AvailablePathList[index].Copy());
    if (UserInterface.RunModal(dialog) != QDialog::Accepted)
        return;
    AvailablePathList.Replace(index, dialog.Entry());
    RefreshCatalogueView(true);
    SaveCatalogue();
}

void TMainPRGForm::RemoveBtnClick()
{
    auto rows = AvailableListView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const int row = std::min_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                        return a.row() < b.row();
                    })->row();
    if (ShowBox(" Are you sure that you want to remove the selected network path?", " Warning", MessageIcon::Warning,
                MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    AvailablePathList.Erase(static_cast<std::size_t>(row));
    RefreshCatalogueView(true);
    if (AvailablePathList.empty()) {
        EditBtn->setEnabled(false);
        RemoveBtn->setEnabled(false);
        RightBtn->setEnabled(false);
        NetworkPathEdit->clear();
        DescriptionEdit->clear();
        RequiresPWLabel->setText(QStringLiteral(" "));
    }
    SaveCatalogue();
}
