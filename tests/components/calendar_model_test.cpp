#include "components/calendar_model.h"

#include <gtest/gtest.h>

using namespace std::chrono;

namespace {

sys_days Date(int y, unsigned m, unsigned d)
{
    return sys_days(year(y) / month(m) / day(d));
}

// A calendar whose today is a fixed day, counting its changes.
struct Fixture {
    explicit Fixture(sys_days today = Date(2005, 1, 31)) : Model([today] { return today; })
    {
        Model.OnChange = [this] { ++Changes; };
    }
    CalendarModel Model;
    int Changes = 0;
};

} // namespace

TEST(CalendarModel, LeapYearsAndMonthLengths)
{
    EXPECT_EQ(CalendarModel::DaysPerMonth(2000, 2), 29);
    EXPECT_EQ(CalendarModel::DaysPerMonth(1900, 2), 28);
    EXPECT_EQ(CalendarModel::DaysPerMonth(2004, 2), 29);
    EXPECT_EQ(CalendarModel::DaysPerMonth(2005, 2), 28);
    EXPECT_EQ(CalendarModel::DaysPerMonth(2005, 4), 30);
    EXPECT_EQ(CalendarModel::DaysPerMonth(2005, 12), 31);
}

TEST(CalendarModel, StartsOnTodayAndFollowsIt)
{
    Fixture f;
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 1, 31));
    EXPECT_TRUE(f.Model.UsesCurrentDate());
    EXPECT_FALSE(f.Model.StoreCalendarDate());
    EXPECT_EQ(f.Changes, 0);
    f.Model.SetDateElement(3, 10);
    EXPECT_FALSE(f.Model.UsesCurrentDate());
    EXPECT_TRUE(f.Model.StoreCalendarDate());
    f.Model.SetUseCurrentDate(true);
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 1, 31));
    EXPECT_EQ(f.Changes, 1) << "switching to today fired a change";
    f.Model.SetCalendarDate(Date(2005, 1, 31));
    EXPECT_EQ(f.Changes, 2) << "setting the same date fires a change";
    EXPECT_TRUE(f.Model.UsesCurrentDate());
}

TEST(CalendarModel, TheFirstOfTheMonthLandsUnderItsWeekday)
{
    Fixture f;
    // August 2005 begins on a Monday: column 0 of a week from Monday.
    f.Model.SetCalendarDate(Date(2005, 8, 1));
    EXPECT_EQ(f.Model.MonthOffset(), 1);
    EXPECT_EQ(f.Model.DayAt(0, 1), 1);
    EXPECT_EQ(f.Model.CursorColumn(), 0);
    EXPECT_EQ(f.Model.CursorRow(), 1);
    // May 2005 begins on a Sunday, the week's last day: column 6, offset -5.
    f.Model.SetCalendarDate(Date(2005, 5, 1));
    EXPECT_EQ(f.Model.MonthOffset(), -5);
    EXPECT_EQ(f.Model.DayAt(6, 1), 1);
    EXPECT_EQ(f.Model.DayAt(5, 1), 0);
    EXPECT_EQ(f.Model.DayAt(1, 6), 31);
    EXPECT_EQ(f.Model.DayAt(2, 6), 0);
    // With weeks from Sunday the same month starts in column 0.
    f.Model.SetStartOfWeek(7);
    EXPECT_EQ(f.Model.DayAt(0, 1), 1);
}

TEST(CalendarModel, StartOfWeekOutsideOneToSevenIsOne)
{
    Fixture f;
    f.Model.SetStartOfWeek(7);
    EXPECT_EQ(f.Model.WeekdayOf(0), 0);
    f.Model.SetStartOfWeek(0);
    EXPECT_EQ(f.Model.StartOfWeek(), 1);
    f.Model.SetStartOfWeek(8);
    EXPECT_EQ(f.Model.StartOfWeek(), 1);
    EXPECT_EQ(f.Model.WeekdayOf(0), 1);
    EXPECT_EQ(f.Model.WeekdayOf(6), 0);
}

TEST(CalendarModel, MonthStepsKeepTheDayWhereTheMonthAllows)
{
    Fixture f;
    f.Model.NextMonth();
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 2, 28));
    f.Model.SetCalendarDate(Date(2004, 1, 31));
    f.Model.NextMonth();
    EXPECT_EQ(f.Model.CalendarDate(), Date(2004, 2, 29));
    f.Model.SetCalendarDate(Date(2005, 3, 31));
    f.Model.PrevMonth();
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 2, 28));
    f.Model.SetCalendarDate(Date(2005, 12, 15));
    f.Model.NextMonth();
    EXPECT_EQ(f.Model.CalendarDate(), Date(2006, 1, 15));
    EXPECT_TRUE(f.Model.UsesCurrentDate()) << "month steps leave the flag alone";
}

TEST(CalendarModel, NextYearFrom29FebruaryFiresTwice)
{
    Fixture f;
    f.Model.SetCalendarDate(Date(2004, 2, 29));
    f.Changes = 0;
    f.Model.NextYear();
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 2, 28));
    EXPECT_EQ(f.Changes, 2);
    f.Model.PrevYear();
    EXPECT_EQ(f.Model.CalendarDate(), Date(2004, 2, 28));
    EXPECT_EQ(f.Changes, 3);
}

TEST(CalendarModel, ADateThatDoesNotExistFailsBeforeAnythingChanges)
{
    Fixture f;
    try {
        f.Model.SetDateElement(2, 2);
        FAIL() << "no error";
    } catch (const EDateEncode& error) {
        EXPECT_STREQ(error.what(), "Invalid argument to date encode");
    }
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 1, 31));
    EXPECT_TRUE(f.Model.UsesCurrentDate());
    EXPECT_EQ(f.Changes, 0);
    EXPECT_THROW(f.Model.SetDateElement(1, 10000), EDateEncode);
}

TEST(CalendarModel, FilteredValuesDoNothing)
{
    Fixture f(Date(2005, 4, 15));
    f.Model.SetDateElement(3, 31);
    f.Model.SetDateElement(3, 15);
    f.Model.SetDateElement(2, 13);
    f.Model.SetDateElement(1, 0);
    f.Model.SetDateElement(4, 3);
    EXPECT_EQ(f.Model.CalendarDate(), Date(2005, 4, 15));
    EXPECT_EQ(f.Changes, 0);
    EXPECT_EQ(f.Model.GetDateElement(7), -1);
}
