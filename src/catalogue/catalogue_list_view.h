#pragma once

#include <QListView>

// The report list of the catalogue: one row per entry, every row as wide as
// the widest path, so that a long path scrolls rather than being cut. Rows are
// all of one size, so only the rows in view are ever measured and drawn.
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

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class RowDelegate;
    void MeasureRows();

    RowDelegate* Rows;
    int Width = 0;
};
