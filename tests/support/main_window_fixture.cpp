#include "support/main_window_fixture.h"

#include "catalogue/catalogue_list_view.h"
#include "catalogue/catalogue_model.h"

#include <QTest>

#include <algorithm>

std::unique_ptr<TMainPRGForm> MainWindowTest::Start()
{
    return std::make_unique<TMainPRGForm>(Dir.Path(), Services(), Ui);
}

std::unique_ptr<TMainPRGForm> MainWindowTest::StartShown()
{
    auto form = Start();
    form->show();
    return form;
}

PlatformServices MainWindowTest::Services()
{
    return {SharedDrives, Runner, Browser, Shell, Help, SharedShares};
}

std::vector<std::string> MainWindowTest::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& message : Ui.Messages)
        texts.push_back(message.Text);
    return texts;
}

void ClickRow(TMainPRGForm& form, int row, Qt::KeyboardModifiers modifiers)
{
    auto* view = form.Panel2->AvailableListView;
    const auto rect = view->visualRect(view->model()->index(row, 0));
    ASSERT_TRUE(rect.isValid()) << "row " << row << " is not shown";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void ClickBelowRows(TMainPRGForm& form)
{
    auto* view = form.Panel2->AvailableListView;
    const QPoint below(5, view->viewport()->height() - 3);
    ASSERT_FALSE(view->indexAt(below).isValid()) << "the rows reach the bottom of the list";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, below);
}

std::vector<std::string> ShownRows(TMainPRGForm& form)
{
    const auto* model = form.Panel2->AvailableListView->model();
    std::vector<std::string> rows;
    for (int row = 0; row < model->rowCount(); ++row)
        rows.push_back(model->index(row, 0).data(CatalogueModel::BytesRole).toByteArray().toStdString());
    return rows;
}

std::vector<int> SelectedRows(TMainPRGForm& form)
{
    std::vector<int> rows;
    for (const auto& index : form.Panel2->AvailableListView->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QWidget* NextTabStop(QWidget* widget)
{
    do
        widget = widget->nextInFocusChain();
    while (!(widget->focusPolicy() & Qt::TabFocus) || widget->objectName().isEmpty()
           || widget->objectName().startsWith(QLatin1StringView("qt_")));
    return widget;
}
