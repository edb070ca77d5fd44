#include "monthgrid.h"
#include "qtprinters.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace MonthLayout;

namespace {

// Cells (1-based) that carry a day, as the range [from, to].
void expectFilled(const Grid &grid, int from, int to)
{
    for (int k = 1; k <= kCellCount; ++k) {
        const Cell &c = grid[size_t(k - 1)];
        if (k >= from && k <= to) {
            EXPECT_EQ(c.day, k - from + 1) << "cell " << k;
            EXPECT_TRUE(c.visible) << "cell " << k;
            EXPECT_EQ(c.text, QString::number(k - from + 1)) << "cell " << k;
        } else {
            EXPECT_EQ(c.day, 0) << "cell " << k;
            EXPECT_FALSE(c.visible) << "cell " << k;
            EXPECT_TRUE(c.text.isEmpty()) << "cell " << k;
        }
    }
}

int greenCells(const Grid &grid)
{
    int n = 0;
    for (const Cell &c : grid)
        n += c.colour == DayColour::Green;
    return n;
}

const QDate kNoToday(2000, 6, 15);

} // namespace

TEST(MonthLength, GregorianLeapYears)
{
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29); // divisible by 400
    EXPECT_EQ(DaysInMonth(2100, 2), 28); // divisible by 100 only
    const int expected[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(DaysInMonth(2026, m), expected[m - 1]) << "month " << m;
}

TEST(FirstWeekday, WorkedExamples)
{
    EXPECT_EQ(FirstWeekdayOfMonth(2008, 1), 2);  // Tuesday
    EXPECT_EQ(FirstWeekdayOfMonth(2026, 3), 7);  // Sunday
    EXPECT_EQ(FirstWeekdayOfMonth(2010, 2), 1);  // Monday
    EXPECT_EQ(FirstWeekdayOfMonth(2024, 2), 4);  // Thursday
    EXPECT_EQ(FirstWeekdayOfMonth(2035, 12), 6); // Saturday
}

// Every month the book offers (and a wide margin around it, which costs nothing) agrees with
// Qt's calendar, cell by cell.
TEST(MonthGridCalendar, AgreesWithQtCalendarEveryMonth)
{
    for (int year = 1900; year <= 2400; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const QDate first(year, month, 1);
            ASSERT_EQ(DaysInMonth(year, month), first.daysInMonth()) << year << "-" << month;
            ASSERT_EQ(FirstWeekdayOfMonth(year, month), first.dayOfWeek()) << year << "-" << month;
            if (year < 2008 || year > 2035)
                continue;
            const Grid grid = MonthGrid(year, month, kNoToday);
            int shown = 0;
            for (int k = 1; k <= kCellCount; ++k) {
                const Cell &c = grid[size_t(k - 1)];
                if (!c.visible)
                    continue;
                ++shown;
                const QDate date(year, month, c.day);
                ASSERT_EQ(CellColumn(k), date.dayOfWeek()) << date.toString(Qt::ISODate);
                // Reading order: a day's cell is 7 after the same weekday of the week before.
                if (c.day > 7) {
                    ASSERT_EQ(grid[size_t(k - 8)].day, c.day - 7);
                }
            }
            ASSERT_EQ(shown, first.daysInMonth()) << year << "-" << month;
            EXPECT_EQ(greenCells(grid), 0);
        }
    }
}

TEST(MonthGridPlacement, ShortAndLongMonths)
{
    // 28 days from a Monday: exactly the first four rows.
    expectFilled(MonthGrid(2010, 2, kNoToday), 1, 28);
    expectFilled(MonthGrid(2021, 2, kNoToday), 1, 28);
    expectFilled(MonthGrid(2027, 2, kNoToday), 1, 28);
    // 31 days from a Sunday: the 30th and 31st on the two cells of the sixth row.
    const Grid march2026 = MonthGrid(2026, 3, kNoToday);
    expectFilled(march2026, 7, 37);
    EXPECT_EQ(march2026[35].day, 30);
    EXPECT_EQ(march2026[36].day, 31);
    // 31 days from a Saturday: cell 37 stays empty.
    expectFilled(MonthGrid(2035, 12, kNoToday), 6, 36);
    // Leap February from a Thursday.
    expectFilled(MonthGrid(2024, 2, kNoToday), 4, 32);
    // January 2008 starts on a Tuesday: the Monday cell is empty.
    expectFilled(MonthGrid(2008, 1, kNoToday), 2, 32);
}

TEST(MonthGridColours, WeekdaysBlackWeekendsGrayEmptyCellsToo)
{
    const Grid grid = MonthGrid(2026, 3, kNoToday);
    for (int k = 1; k <= kCellCount; ++k) {
        const DayColour expected = CellColumn(k) >= 6 ? DayColour::Gray : DayColour::Black;
        EXPECT_EQ(grid[size_t(k - 1)].colour, expected) << "cell " << k;
    }
    EXPECT_EQ(colourOf(DayColour::Black), QColor(0, 0, 0));
    EXPECT_EQ(colourOf(DayColour::Gray), QColor(128, 128, 128));
    EXPECT_EQ(colourOf(DayColour::Green), QColor(0, 128, 0));
}

TEST(MonthGridColours, TodayIsGreenOnlyInTodaysMonth)
{
    // A weekday: 5 March 2026 is a Thursday in cell 11.
    const Grid weekday = MonthGrid(2026, 3, QDate(2026, 3, 5));
    EXPECT_EQ(weekday[10].day, 5);
    EXPECT_EQ(weekday[10].colour, DayColour::Green);
    EXPECT_EQ(greenCells(weekday), 1);

    // Saturday 7 and Sunday 8 March 2026: green wins over the weekend's gray.
    for (int day : {7, 8}) {
        const Grid weekend = MonthGrid(2026, 3, QDate(2026, 3, day));
        const Cell &c = weekend[size_t(6 + day - 1)];
        EXPECT_EQ(c.day, day);
        EXPECT_EQ(c.colour, DayColour::Green);
        EXPECT_EQ(greenCells(weekend), 1);
    }

    // Another month of the same year, and the same month of another year: no green at all.
    EXPECT_EQ(greenCells(MonthGrid(2026, 4, QDate(2026, 3, 5))), 0);
    EXPECT_EQ(greenCells(MonthGrid(2025, 3, QDate(2026, 3, 5))), 0);
    // The last day of the longest layout.
    EXPECT_EQ(MonthGrid(2026, 3, QDate(2026, 3, 31))[36].colour, DayColour::Green);
}
