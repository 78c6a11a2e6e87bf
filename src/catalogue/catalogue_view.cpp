#include "app/mainform.h"

#include "catalogue/catalogue_list_view.h"
#include "catalogue/catalogue_model.h"
#include "catalogue/catalogue_order.h"
#include "app/display_text.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

void TMainPRGForm::RefreshCatalogueView(bool updateDetails)
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

void TMainPRGForm::AvailableListViewClick()
{
    const auto selected = AvailableListView->selectionModel()->selectedRows();
    if (selected.size() >= 2) {
        NetworkPathEdit->clear();
        DescriptionEdit->clear();
        RequiresPWLabel->clear();
        for (QWidget* control : std::initializer_list<QWidget*>{NetworkPathEdit, DescriptionEdit, AddBtn,
                                                                EditBtn, RightBtn})
            control->setEnabled(false);
        return;
    }
    if (selected.isEmpty())
        return;

    for (QWidget* control : std::initializer_list<QWidget*>{NetworkPathEdit, DescriptionEdit, AddBtn, EditBtn,
                                                            RightBtn})
        control->setEnabled(true);
    SelectedPathIndex = selected.front().row();
    const auto entry = AvailablePathList[static_cast<std::size_t>(SelectedPathIndex)];
    NetworkPathEdit->setText(ToDisplay(entry.NetworkPath));
    NetworkPathEdit->setCursorPosition(0);
    DescriptionEdit->setText(ToDisplay(entry.Description));
    DescriptionEdit->setCursorPosition(0);
    RequiresPWLabel->setText(entry.RequiresPW != 0 ? QStringLiteral("Requires Username and Password")
                                                   : QStringLiteral("No Username and Password required"));
}
