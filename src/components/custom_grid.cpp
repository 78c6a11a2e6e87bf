#include "custom_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TCustomGrid::TCustomGrid(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TCustomGrid::SetColCount(int value)
{
    Columns = std::max(value, 1);
    update();
}

void TCustomGrid::SetRowCount(int value)
{
    Rows = std::max(value, 1);
    update();
}

void TCustomGrid::SetFixedRows(int value)
{
    HeaderRows = std::clamp(value, 0, Rows - 1);
    update();
}

void TCustomGrid::SetDefaultColWidth(int value)
{
    ColumnWidth = std::max(value, 0);
    update();
}

void TCustomGrid::SetDefaultRowHeight(int value)
{
    RowHeight = std::max(value, 0);
    update();
}

void TCustomGrid::SetGridLineWidth(int value)
{
    LineWidth = std::max(value, 0);
    update();
}

QRect TCustomGrid::CellRect(int column, int row) const
{
    return {column * (ColumnWidth + LineWidth), row * (RowHeight + LineWidth), ColumnWidth, RowHeight};
}

bool TCustomGrid::CellAt(QPoint point, int& column, int& row) const
{
    for (row = 0; row < Rows; ++row) {
        for (column = 0; column < Columns; ++column) {
            if (CellRect(column, row).contains(point))
                return true;
        }
    }
    return false;
}

void TCustomGrid::MoveCurrent(int column, int row)
{
    CurrentColumn = column;
    CurrentRow = row;
    update();
}

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

void TCustomGrid::Click()
{
    emit Clicked();
}

void TCustomGrid::WMSize(int, int) {}

void TCustomGrid::MoveByUser(int column, int row)
{
    if (column < 0 || column >= Columns || row < HeaderRows || row >= Rows)
        return;
    if ((column == CurrentColumn && row == CurrentRow) || !SelectCell(column, row))
        return;
    MoveCurrent(column, row);
    Click();
}

void TCustomGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const auto cell = CellRect(column, row);
            const bool fixed = row < HeaderRows;
            const bool current = !fixed && column == CurrentColumn && row == CurrentRow;
            const auto background = fixed ? palette().color(QPalette::Button)
                                  : current ? palette().color(QPalette::Highlight)
                                            : palette().color(QPalette::Base);
            painter.fillRect(cell, background);
            painter.setPen(fixed ? palette().color(QPalette::ButtonText)
                           : current ? palette().color(QPalette::HighlightedText)
                                     : palette().color(QPalette::Text));
            painter.save();
            painter.setClipRect(cell);
            DrawCell(painter, column, row, cell, current);
            painter.restore();
        }
    }
}

void TCustomGrid::mousePressEvent(QMouseEvent* event)
{
    int column = 0;
    int row = 0;
    if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), column, row))
        MoveByUser(column, row);
}

void TCustomGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        MoveByUser(CurrentColumn - 1, CurrentRow);
        break;
    case Qt::Key_Right:
        MoveByUser(CurrentColumn + 1, CurrentRow);
        break;
    case Qt::Key_Up:
        MoveByUser(CurrentColumn, CurrentRow - 1);
        break;
    case Qt::Key_Down:
        MoveByUser(CurrentColumn, CurrentRow + 1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TCustomGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    WMSize(width(), height());
}
