#include "components/Ccalendr.h"

#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono;

namespace {

sys_days Date(int y, unsigned m, unsigned d)
{
    return sys_days(year(y) / month(m) / day(d));
}

std::unique_ptr<TCCalendar> Calendar(sys_days today = Date(2005, 5, 10))
{
    auto calendar = std::make_unique<TCCalendar>(nullptr, [today] { return today; });
    calendar->resize(7 * 30 + 6, 7 * 20 + 6);
    calendar->show();
    return calendar;
}

void ClickCell(TCCalendar& calendar, int column, int row)
{
    QTest::mouseClick(&calendar, Qt::LeftButton, Qt::NoModifier, calendar.CellRect(column, row).center());
}

} // namespace

TEST(Calendar, TheHeaderNamesTheDaysInTheUsersLanguage)
{
    auto calendar = Calendar();
    calendar->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(calendar->GetCellText(0, 0), QStringLiteral("Mon"));
    EXPECT_EQ(calendar->GetCellText(6, 0), QStringLiteral("Sun"));
    calendar->SetStartOfWeek(7);
    EXPECT_EQ(calendar->GetCellText(0, 0), QStringLiteral("Sun"));
    EXPECT_EQ(calendar->GetCellText(6, 0), QStringLiteral("Sat"));
    calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(calendar->GetCellText(0, 0), QStringLiteral("So."));
    EXPECT_EQ(calendar->GetCellText(1, 0), QStringLiteral("Mo."));
}

TEST(Calendar, CellsShowTheDaysAndTheCursorStandsOnTheDate)
{
    auto calendar = Calendar();
    // May 2005 begins on a Sunday: with weeks from Monday, in column 6.
    EXPECT_EQ(calendar->GetCellText(5, 1), QString());
    EXPECT_EQ(calendar->GetCellText(6, 1), QStringLiteral("1"));
    EXPECT_EQ(calendar->GetCellText(1, 6), QStringLiteral("31"));
    EXPECT_EQ(calendar->GetCellText(2, 6), QString());
    EXPECT_EQ(calendar->Col(), 1);
    EXPECT_EQ(calendar->Row(), 3);
    EXPECT_EQ(calendar->GetCellText(calendar->Col(), calendar->Row()), QStringLiteral("10"));
}

TEST(Calendar, ClickingADayPicksItAndABlankCellNothing)
{
    auto calendar = Calendar();
    int changes = 0;
    calendar->OnChange = [&](TCCalendar&) { ++changes; };
    ClickCell(*calendar, 3, 2);
    EXPECT_EQ(calendar->Day(), 5);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(calendar->UseCurrentDate());
    ClickCell(*calendar, 0, 1);
    EXPECT_EQ(calendar->Day(), 5);
    EXPECT_EQ(calendar->Col(), 3);
    ClickCell(*calendar, 4, 0);
    EXPECT_EQ(calendar->Row(), 2) << "the header took the cursor";
    QTest::keyClick(calendar.get(), Qt::Key_Right);
    EXPECT_EQ(calendar->Day(), 6);
    EXPECT_EQ(changes, 2);
}

TEST(Calendar, AReadOnlyCalendarKeepsItsCursorAgainstTheUserOnly)
{
    auto calendar = Calendar();
    calendar->SetReadOnly(true);
    ClickCell(*calendar, 3, 2);
    QTest::keyClick(calendar.get(), Qt::Key_Right);
    EXPECT_EQ(calendar->Day(), 10);
    calendar->SeTCCalendarDate(Date(2005, 5, 20));
    EXPECT_EQ(calendar->GetCellText(calendar->Col(), calendar->Row()), QStringLiteral("20"));
}

TEST(Calendar, SettingAnImpossibleMonthLeavesTheDisplay)
{
    auto calendar = Calendar(Date(2005, 1, 31));
    const int column = calendar->Col();
    const int row = calendar->Row();
    EXPECT_THROW(calendar->SetMonth(2), EDateEncode);
    EXPECT_EQ(calendar->Month(), 1);
    EXPECT_EQ(calendar->Col(), column);
    EXPECT_EQ(calendar->Row(), row);
}

TEST(Calendar, ColumnsShareTheWidthLessTheGridLines)
{
    auto calendar = Calendar();
    calendar->resize(7 * 40 + 6, 7 * 25 + 6);
    EXPECT_EQ(calendar->DefaultColWidth(), 40);
    EXPECT_EQ(calendar->DefaultRowHeight(), 25);
    calendar->SetGridLineWidth(3);
    calendar->resize(7 * 30 + 18, 7 * 20 + 18);
    EXPECT_EQ(calendar->DefaultColWidth(), 30);
}

TEST(Calendar, TheCurrentDayIsDrawnHighlighted)
{
    auto calendar = Calendar();
    const auto image = calendar->grab().toImage();
    const auto cell = calendar->CellRect(calendar->Col(), calendar->Row());
    const auto highlight = calendar->palette().color(QPalette::Highlight);
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 1), highlight);
    const auto other = calendar->CellRect(0, 2);
    EXPECT_EQ(image.pixelColor(other.left() + 1, other.top() + 1), calendar->palette().color(QPalette::Base));
}

TEST(Calendar, AChangeIsToldOnceTheCursorStandsOnTheNewDay)
{
    auto calendar = Calendar();
    std::vector<QString> seen;
    calendar->OnChange = [&](TCCalendar& changed) {
        seen.push_back(changed.GetCellText(changed.Col(), changed.Row()));
    };
    calendar->SetDay(20);
    ClickCell(*calendar, 0, 2);
    calendar->NextMonth();
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("20"), QStringLiteral("2"), QStringLiteral("2")}));
}
