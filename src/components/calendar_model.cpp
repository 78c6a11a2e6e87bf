#include "calendar_model.h"

#include "platform/local_time.h"

namespace {

using namespace std::chrono;

sys_days Encode(int year, int month, int day)
{
    const year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                              std::chrono::day(static_cast<unsigned>(day))};
    if (year < 1 || year > 9999 || !date.ok())
        throw EDateEncode();
    return sys_days(date);
}

} // namespace

CalendarModel::CalendarModel(Clock today) : Today(std::move(today))
{
    SetStartOfWeek(1);
    Date = Today();
    UpdateCalendar();
}

sys_days CalendarModel::DefaultToday()
{
    return LocalToday();
}

bool CalendarModel::IsLeapYear(int year)
{
    return std::chrono::year(year).is_leap();
}

int CalendarModel::DaysPerMonth(int year, int month)
{
    const auto last = std::chrono::year(year) / std::chrono::month(static_cast<unsigned>(month)) / std::chrono::last;
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

int CalendarModel::DaysThisMonth() const
{
    return DaysPerMonth(GetDateElement(1), GetDateElement(2));
}

int CalendarModel::GetDateElement(int index) const
{
    const auto date = Decoded();
    switch (index) {
    case 1:
        return int(date.year());
    case 2:
        return static_cast<int>(unsigned(date.month()));
    case 3:
        return static_cast<int>(unsigned(date.day()));
    default:
        return -1;
    }
}

void CalendarModel::SetCalendarDate(sys_days date)
{
    Date = date;
    UpdateCalendar();
    Change();
}

void CalendarModel::SetDateElement(int index, int value)
{
    if (value <= 0)
        return;
    int year = GetDateElement(1);
    int month = GetDateElement(2);
    int day = GetDateElement(3);
    bool changed = false;
    if (index == 1 && value != year) {
        year = value;
        changed = true;
    } else if (index == 2 && value <= 12 && value != month) {
        month = value;
        changed = true;
    } else if (index == 3 && value <= DaysThisMonth() && value != day) {
        day = value;
        changed = true;
    }
    if (!changed)
        return;
    Date = Encode(year, month, day);
    UseCurrentDate = false;
    UpdateCalendar();
    Change();
}

void CalendarModel::ChangeMonth(int delta)
{
    const auto date = Decoded();
    const int wanted = static_cast<int>(unsigned(date.day()));
    const auto edge = delta > 0 ? sys_days(date.year() / date.month() / last) : sys_days(date.year() / date.month() / 1);
    const year_month_day moved{edge + days(delta)};
    const int length = DaysPerMonth(int(moved.year()), static_cast<int>(unsigned(moved.month())));
    SetCalendarDate(Encode(int(moved.year()), static_cast<int>(unsigned(moved.month())), std::min(wanted, length)));
}

void CalendarModel::NextYear()
{
    if (IsLeapYear(GetDateElement(1)) && GetDateElement(2) == 2 && GetDateElement(3) == 29)
        SetDateElement(3, 28);
    SetDateElement(1, GetDateElement(1) + 1);
}

void CalendarModel::PrevYear()
{
    if (IsLeapYear(GetDateElement(1)) && GetDateElement(2) == 2 && GetDateElement(3) == 29)
        SetDateElement(3, 28);
    SetDateElement(1, GetDateElement(1) - 1);
}

void CalendarModel::SetStartOfWeek(int value)
{
    if (value < 1 || value > 7)
        value = 1;
    if (value != WeekStart) {
        WeekStart = value;
        UpdateCalendar();
    }
}

void CalendarModel::SetUseCurrentDate(bool value)
{
    if (value == UseCurrentDate)
        return;
    UseCurrentDate = value;
    if (value) {
        Date = Today();
        UpdateCalendar();
    }
}

int CalendarModel::DayAt(int column, int row) const
{
    if (row < 1)
        return 0;
    const int day = Offset + column + 7 * (row - 1);
    return day < 1 || day > DaysThisMonth() ? 0 : day;
}

void CalendarModel::UpdateCalendar()
{
    InUpdate = true;
    const auto date = Decoded();
    // 1 = Sunday ... 7 = Saturday, as the layout counts weekdays.
    const int first = static_cast<int>(weekday(sys_days(date.year() / date.month() / 1)).c_encoding()) + 1;
    const int k = (first - WeekStart + 7) % 7;
    Offset = k == 0 ? -5 : 2 - k;
    const int i = static_cast<int>(unsigned(date.day())) - Offset;
    Column = i % 7;
    Row = i / 7 + 1;
    InUpdate = false;
}

void CalendarModel::Change()
{
    if (OnChange)
        OnChange();
}
