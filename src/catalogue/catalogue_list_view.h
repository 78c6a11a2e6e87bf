#pragma once

#include <QListView>

#include <utility>

// The report list of the catalogue: one row per entry, every row as wide as
// the widest path, so that a long path scrolls rather than being cut. Rows are
// all of one height and lie one under the other, so a row's place follows from
// its number: showing, hitting, scrolling and selecting cost what is in view,
// however long the catalogue. It scrolls by whole rows. Only the rows in view
// are drawn; of the others only the few that may be the widest are measured.
// Reports a mouse click anywhere in it, on a row or below the rows, once the
// click has set the selection; keyboard moves report nothing.
class CatalogueListView final : public QListView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogueListView)

public:
    explicit CatalogueListView(QWidget* parent);

    void setModel(QAbstractItemModel* model) override;
    // The width every row is laid out with.
    int RowWidth() const { return Width; }

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

private:
    class RowDelegate;
    void MeasureRows();
    int Rows() const;
    // How many rows the list shows in full; at least one.
    int ShownRows() const;
    // The rows from the one at the view's height top to the one at bottom,
    // clamped to the rows there are; empty (first > last) when none.
    std::pair<int, int> RowsBetween(int top, int bottom) const;
    QModelIndex Row(int row) const;

    RowDelegate* Delegate;
    int Width = 0;
    int Height = 0;
    QPersistentModelIndex Hovered;
};
