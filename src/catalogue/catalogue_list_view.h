#pragma once

#include <QTreeView>

// The report list of the catalogue. Reports a mouse click anywhere in it, on a
// row or below the rows, once the click has set the selection; keyboard moves
// report nothing.
class CatalogueListView final : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CatalogueListView)

public:
    explicit CatalogueListView(QWidget* parent);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
