#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>

// A date that does not exist was asked for.
class EDateEncode : public std::runtime_error {
public:
    EDateEncode() : std::runtime_error("Invalid argument to date encode") {}
};

// The month grid of a calendar: one date, the weekday that starts the week,
// and where the days fall in six rows of seven cells.
class CalendarModel {
public:
    using Clock = std::function<std::chrono::sys_days()>;

    explicit CalendarModel(Clock today = DefaultToday);

    static bool IsLeapYear(int year);
    static int DaysPerMonth(int year, int month);
    int DaysThisMonth() const;

    std::chrono::sys_days CalendarDate() const { return Date; }
    // Stores the date and lays the month out again; fires the change.
    void SetCalendarDate(std::chrono::sys_days date);
    bool StoreCalendarDate() const { return !UseCurrentDate; }

    // 1 the year, 2 the month, 3 the day; -1 for any other index.
    int GetDateElement(int index) const;
    // Throws EDateEncode, before anything changes, for a date that does not exist.
    void SetDateElement(int index, int value);

    void ChangeMonth(int delta);
    void NextMonth() { ChangeMonth(1); }
    void PrevMonth() { ChangeMonth(-1); }
    void NextYear();
    void PrevYear();

    int StartOfWeek() const { return WeekStart; }
    void SetStartOfWeek(int value);
    bool UsesCurrentDate() const { return UseCurrentDate; }
    void SetUseCurrentDate(bool value);

    int MonthOffset() const { return Offset; }
    // The day a cell shows (rows 1..6), 0 for a blank cell or the header.
    int DayAt(int column, int row) const;
    // The weekday column shows, 0 for Sunday ... 6 for Saturday.
    int WeekdayOf(int column) const { return (WeekStart + column) % 7; }
    int CursorColumn() const { return Column; }
    int CursorRow() const { return Row; }
    bool Updating() const { return InUpdate; }

    // Runs after every change of the date through a setter.
    std::function<void()> OnChange;

    static std::chrono::sys_days DefaultToday();

private:
    void UpdateCalendar();
    void Change();
    std::chrono::year_month_day Decoded() const { return std::chrono::year_month_day{Date}; }

    Clock Today;
    std::chrono::sys_days Date{};
    int Offset = 0;
    int WeekStart = 0;
    bool UseCurrentDate = true;
    bool InUpdate = false;
    int Column = 0;
    int Row = 1;
};
