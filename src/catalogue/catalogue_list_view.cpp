#include "catalogue_list_view.h"

#include "catalogue/catalogue_model.h"

#include <QEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <array>

// Every row the size of the widest one.
class CatalogueListView::RowDelegate final : public QStyledItemDelegate {
public:
    explicit RowDelegate(CatalogueListView& view) : QStyledItemDelegate(&view), View(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {View.Width, QStyledItemDelegate::sizeHint(option, index).height()};
    }

    QSize NaturalSize(const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        return QStyledItemDelegate::sizeHint(option, index);
    }

private:
    const CatalogueListView& View;
};

CatalogueListView::CatalogueListView(QWidget* parent) : QListView(parent), Rows(new RowDelegate(*this))
{
    setItemDelegate(Rows);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
}

void CatalogueListView::setModel(QAbstractItemModel* model)
{
    if (auto* old = QListView::model())
        disconnect(old, nullptr, this, nullptr);
    QListView::setModel(model);
    if (model) {
        // Connected after the view's own handler, so the rows are measured
        // before the list is laid out again.
        connect(model, &QAbstractItemModel::modelReset, this, &CatalogueListView::MeasureRows);
    }
    MeasureRows();
}

void CatalogueListView::MeasureRows()
{
    const auto* catalogue = qobject_cast<const CatalogueModel*>(model());
    if (!catalogue || catalogue->rowCount() == 0) {
        Width = 0;
        return;
    }
    // A text's width estimated from its characters' own advances; a byte
    // beyond ASCII or a control byte counts as the font's widest character,
    // so that no estimate falls short of the text as laid out.
    const auto metrics = fontMetrics();
    std::array<int, 256> advances{};
    advances.fill(metrics.maxWidth());
    for (char16_t c = 32; c < 127; ++c)
        advances[c] = metrics.horizontalAdvance(QChar(c));
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int widest = 0;
    for (const int row : catalogue->WidestRows(advances, metrics.maxWidth()))
        widest = std::max(widest, Rows->NaturalSize(option, catalogue->index(row, 0)).width());
    Width = widest;
}

void CatalogueListView::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        MeasureRows();
        scheduleDelayedItemsLayout();
    }
}

void CatalogueListView::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}
