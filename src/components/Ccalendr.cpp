#include "Ccalendr.h"

#include <QLocale>
#include <QPainter>

#include <utility>

TCCalendar::TCCalendar(QWidget* parent, CalendarModel::Clock today) : TCustomGrid(parent), Model(std::move(today))
{
    SetColCount(7);
    SetRowCount(7);
    SetFixedRows(1);
    // A handler sees the cursor on the new day: the change is told once the
    // grid has followed the model.
    Model.OnChange = [this] { ChangePending = true; };
    UpdateCalendar();
}

void TCCalendar::UpdateCalendar()
{
    // The model lays the month out; the grid follows its cursor.
    MoveCurrent(Model.CursorColumn(), Model.CursorRow());
    update();
    if (std::exchange(ChangePending, false) && OnChange)
        OnChange(*this);
}

void TCCalendar::SeTCCalendarDate(std::chrono::sys_days date)
{
    Model.SetCalendarDate(date);
    UpdateCalendar();
}

void TCCalendar::SetDateElement(int index, int value)
{
    Model.SetDateElement(index, value);
    UpdateCalendar();
}

void TCCalendar::SetStartOfWeek(int value)
{
    Model.SetStartOfWeek(value);
    UpdateCalendar();
}

void TCCalendar::SetUseCurrentDate(bool value)
{
    Model.SetUseCurrentDate(value);
    UpdateCalendar();
}

void TCCalendar::NextMonth()
{
    Model.NextMonth();
    UpdateCalendar();
}

void TCCalendar::PrevMonth()
{
    Model.PrevMonth();
    UpdateCalendar();
}

void TCCalendar::NextYear()
{
    Model.NextYear();
    UpdateCalendar();
}

void TCCalendar::PrevYear()
{
    Model.PrevYear();
    UpdateCalendar();
}

QString TCCalendar::GetCellText(int column, int row) const
{
    if (row == 0) {
        // Qt counts Monday as 1 and Sunday as 7.
        const int weekday = Model.WeekdayOf(column);
        return locale().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat);
    }
    const int day = Model.DayAt(column, row);
    return day == 0 ? QString() : QString::number(day);
}

void TCCalendar::DrawCell(QPainter& painter, int column, int row, QRect rect, bool)
{
    const auto text = GetCellText(column, row);
    const auto metrics = painter.fontMetrics();
    const int x = rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = rect.top() + (rect.height() - metrics.height()) / 2;
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

bool TCCalendar::SelectCell(int column, int row)
{
    if (IsReadOnly && !Model.Updating())
        return false;
    return !GetCellText(column, row).isEmpty() && TCustomGrid::SelectCell(column, row);
}

void TCCalendar::Click()
{
    TCustomGrid::Click();
    if (const int day = Model.DayAt(Col(), Row()); day > 0)
        SetDateElement(3, day);
}

void TCCalendar::WMSize(int width, int height)
{
    const int lines = 6 * GridLineWidth();
    SetDefaultColWidth((width - lines) / 7);
    SetDefaultRowHeight((height - lines) / 7);
}
