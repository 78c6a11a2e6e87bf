#pragma once

#include "components/calendar_model.h"
#include "components/custom_grid.h"

#include <functional>

// One month as a 7 x 7 grid: a header of weekday names and six rows of days.
// The user picks a day by moving to its cell; the program steps by months and
// years and sets any date element.
class TCCalendar final : public TCustomGrid {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCCalendar)

public:
    explicit TCCalendar(QWidget* parent = nullptr, CalendarModel::Clock today = CalendarModel::DefaultToday);

    std::chrono::sys_days CalendarDate() const { return Model.CalendarDate(); }
    void SeTCCalendarDate(std::chrono::sys_days date);
    bool StoreCalendarDate() const { return Model.StoreCalendarDate(); }

    int Day() const { return Model.GetDateElement(3); }
    int Month() const { return Model.GetDateElement(2); }
    int Year() const { return Model.GetDateElement(1); }
    void SetDay(int value) { SetDateElement(3, value); }
    void SetMonth(int value) { SetDateElement(2, value); }
    void SetYear(int value) { SetDateElement(1, value); }
    int GetDateElement(int index) const { return Model.GetDateElement(index); }
    // Throws EDateEncode for a date that does not exist, changing nothing.
    void SetDateElement(int index, int value);

    bool ReadOnly() const { return IsReadOnly; }
    void SetReadOnly(bool value) { IsReadOnly = value; }
    int StartOfWeek() const { return Model.StartOfWeek(); }
    void SetStartOfWeek(int value);
    bool UseCurrentDate() const { return Model.UsesCurrentDate(); }
    void SetUseCurrentDate(bool value);
    int DaysThisMonth() const { return Model.DaysThisMonth(); }

    void NextMonth();
    void PrevMonth();
    void NextYear();
    void PrevYear();

    // The header's weekday names in the user's locale, else the day's number.
    QString GetCellText(int column, int row) const;

    std::function<void(TCCalendar&)> OnChange;

protected:
    void DrawCell(QPainter& painter, int column, int row, QRect rect, bool current) override;
    bool SelectCell(int column, int row) override;
    void Click() override;
    void WMSize(int width, int height) override;

private:
    void UpdateCalendar();

    CalendarModel Model;
    bool IsReadOnly = false;
    bool ChangePending = false;
};
