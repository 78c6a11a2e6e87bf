#pragma once

#include <QWidget>

// The little a month calendar needs of a grid: fixed header rows, cells of
// one size, a current cell the user moves with the mouse and the keys, and
// hooks to draw a cell, to refuse one, and to hear of a move.
class TCustomGrid : public QWidget {
    Q_OBJECT

public:
    explicit TCustomGrid(QWidget* parent = nullptr);

    int ColCount() const { return Columns; }
    int RowCount() const { return Rows; }
    int FixedRows() const { return HeaderRows; }
    int DefaultColWidth() const { return ColumnWidth; }
    int DefaultRowHeight() const { return RowHeight; }
    int GridLineWidth() const { return LineWidth; }
    int Col() const { return CurrentColumn; }
    int Row() const { return CurrentRow; }

    void SetColCount(int value);
    void SetRowCount(int value);
    void SetFixedRows(int value);
    void SetDefaultColWidth(int value);
    void SetDefaultRowHeight(int value);
    void SetGridLineWidth(int value);

    // The cell's rectangle on the widget.
    QRect CellRect(int column, int row) const;
    // The cell at a point; false when there is none.
    bool CellAt(QPoint point, int& column, int& row) const;

signals:
    void Clicked();

protected:
    // Moves the current cell without asking SelectCell and without a Click.
    void MoveCurrent(int column, int row);

    virtual void DrawCell(QPainter& painter, int column, int row, QRect rect, bool current) = 0;
    virtual bool SelectCell(int column, int row);
    // The user moved to a cell.
    virtual void Click();
    // The client area took a new size.
    virtual void WMSize(int width, int height);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void MoveByUser(int column, int row);

    int Columns = 5;
    int Rows = 5;
    int HeaderRows = 1;
    int ColumnWidth = 64;
    int RowHeight = 24;
    int LineWidth = 1;
    int CurrentColumn = 0;
    int CurrentRow = 1;
};
