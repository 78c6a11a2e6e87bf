#include "catalogue_list_view.h"

#include "catalogue/catalogue_model.h"

#include <QEvent>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>
#include <climits>

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

CatalogueListView::CatalogueListView(QWidget* parent) : QListView(parent), Delegate(new RowDelegate(*this))
{
    setItemDelegate(Delegate);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setIconSize(QSize(16, 16));
}

void CatalogueListView::setModel(QAbstractItemModel* model)
{
    if (auto* old = QListView::model())
        disconnect(old, nullptr, this, nullptr);
    QListView::setModel(model);
    if (model) {
        // Connected after the view's own handlers, so the rows are measured
        // before the list is laid out again.
        connect(model, &QAbstractItemModel::modelReset, this, &CatalogueListView::MeasureRows);
        connect(model, &QAbstractItemModel::layoutChanged, this, &CatalogueListView::MeasureRows);
        connect(model, &QAbstractItemModel::rowsInserted, this, &CatalogueListView::MeasureRows);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &CatalogueListView::MeasureRows);
    }
    MeasureRows();
}

int CatalogueListView::Rows() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex CatalogueListView::Row(int row) const
{
    return model()->index(row, modelColumn(), rootIndex());
}

void CatalogueListView::MeasureRows()
{
    Width = 0;
    Height = 0;
    if (Rows() == 0)
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    Height = std::max(1, Delegate->NaturalSize(option, Row(0)).height());
    const auto* catalogue = qobject_cast<const CatalogueModel*>(model());
    if (!catalogue)
        return;
    // A text's width estimated from its characters' own advances; a byte
    // beyond ASCII or a control byte counts as the font's widest character,
    // so that no estimate falls short of the text as laid out.
    const auto metrics = fontMetrics();
    std::array<int, 256> advances{};
    advances.fill(metrics.maxWidth());
    for (char16_t c = 32; c < 127; ++c)
        advances[c] = metrics.horizontalAdvance(QChar(c));
    // A tab reaches as far as the next tab stop.
    advances['\t'] = std::max(metrics.maxWidth(), metrics.horizontalAdvance(QStringLiteral("\t")));
    int widest = 0;
    for (const int row : catalogue->WidestRows(advances, metrics.maxWidth()))
        widest = std::max(widest, Delegate->NaturalSize(option, catalogue->index(row, 0)).width());
    Width = widest;
}

std::pair<int, int> CatalogueListView::RowsBetween(int top, int bottom) const
{
    if (Height == 0 || top > bottom)
        return {0, -1};
    // Rounded down, so that a point above the view falls in a row above it.
    const auto rowAt = [this](qint64 y) { return verticalScrollBar()->value() + y / Height - (y % Height < 0); };
    const auto first = std::max<qint64>(0, rowAt(top));
    const auto last = std::min<qint64>(Rows() - 1, rowAt(bottom));
    if (first > last)
        return {0, -1};
    return {static_cast<int>(first), static_cast<int>(last)};
}

QRect CatalogueListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn())
        return {};
    // A row reaches across the list when its path is shorter than the list is wide.
    const qint64 top = (qint64{index.row()} - verticalScrollBar()->value()) * Height;
    return {-horizontalOffset(), static_cast<int>(std::clamp<qint64>(top, INT_MIN / 2, INT_MAX / 2)),
            std::max(Width, viewport()->width()), Height};
}

QModelIndex CatalogueListView::indexAt(const QPoint& point) const
{
    const auto [first, last] = RowsBetween(point.y(), point.y());
    return first <= last ? Row(first) : QModelIndex();
}

void CatalogueListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (visualRect(index).isEmpty())
        return;
    const int row = index.row();
    const int shown = ShownRows();
    auto* bar = verticalScrollBar();
    switch (hint) {
    case EnsureVisible:
        if (row < bar->value())
            bar->setValue(row);
        else if (row >= bar->value() + shown)
            bar->setValue(row - shown + 1);
        break;
    case PositionAtTop:
        bar->setValue(row);
        break;
    case PositionAtBottom:
        bar->setValue(row - shown + 1);
        break;
    case PositionAtCenter:
        bar->setValue(row - shown / 2);
        break;
    }
    // A path begins at the row's left edge: show that edge.
    horizontalScrollBar()->setValue(0);
}

void CatalogueListView::doItemsLayout()
{
    // Nothing to place row by row: skip the list's own layout.
    QAbstractItemView::doItemsLayout();
}

void CatalogueListView::updateGeometries()
{
    // The list scrolls by whole rows, the top one always in full.
    const QSize area = viewport()->size();
    auto* vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(ShownRows());
    vertical->setRange(0, std::max(0, Rows() - ShownRows()));
    auto* horizontal = horizontalScrollBar();
    horizontal->setSingleStep(std::max(1, Height));
    horizontal->setPageStep(area.width());
    horizontal->setRange(0, std::max(0, Width - area.width()));
    QAbstractItemView::updateGeometries();
}

void CatalogueListView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy * Height);
}

int CatalogueListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int CatalogueListView::verticalOffset() const
{
    return static_cast<int>(std::min<qint64>(qint64{verticalScrollBar()->value()} * Height, INT_MAX / 2));
}

int CatalogueListView::ShownRows() const
{
    return std::max(1, viewport()->height() / std::max(1, Height));
}

QModelIndex CatalogueListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int rows = Rows();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return Row(0);
    const int page = std::max(1, ShownRows() - 1);
    int row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row -= 1;
        break;
    case MoveDown:
    case MoveNext:
        row += 1;
        break;
    case MovePageUp:
        row -= page;
        break;
    case MovePageDown:
        row += page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case MoveRight:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    }
    return Row(std::clamp(row, 0, rows - 1));
}

void CatalogueListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags)
{
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    const auto [first, last] = RowsBetween(area.top(), area.bottom());
    QItemSelection rows;
    if (first <= last)
        rows.select(Row(first), Row(last));
    selectionModel()->select(rows, flags);
}

QRegion CatalogueListView::visualRegionForSelection(const QItemSelection& selection) const
{
    const QRect area = viewport()->rect();
    const auto [firstShown, lastShown] = RowsBetween(0, area.height() - 1);
    QRegion region;
    for (const auto& range : selection) {
        const int first = std::max(range.top(), firstShown);
        const int last = std::min(range.bottom(), lastShown);
        if (range.parent() == rootIndex() && first <= last)
            region += visualRect(Row(first)).united(visualRect(Row(last))).intersected(area);
    }
    return region;
}

void CatalogueListView::paintEvent(QPaintEvent* event)
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State state = option.state;
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const auto* selection = selectionModel();
    QPainter painter(viewport());
    const QRect area = event->rect();
    const auto [first, last] = RowsBetween(area.top(), area.bottom());
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = Row(row);
        option.rect = visualRect(index);
        option.state = state;
        option.state.setFlag(QStyle::State_Selected, selection && selection->isSelected(index));
        if (isEnabled()) {
            const bool enabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
            option.state.setFlag(QStyle::State_Enabled, enabled);
            option.palette.setCurrentColorGroup(enabled ? QPalette::Normal : QPalette::Disabled);
        }
        option.state.setFlag(QStyle::State_HasFocus, focus && index == current);
        option.state.setFlag(QStyle::State_MouseOver, index == Hovered);
        option.features.setFlag(QStyleOptionViewItem::Alternate, alternatingRowColors() && row % 2 == 1);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

bool CatalogueListView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        Hovered = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        Hovered = QModelIndex();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
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
