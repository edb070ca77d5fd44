#pragma once

#include <QColor>
#include <QDate>
#include <QString>

#include <array>

// How one calendar month is laid out on the month view's 37 day cells: seven to a row, Monday
// first, so that the longest month starting on a Sunday still fits (7 + 31 - 1 = 37). Pure
// computation: no window, no database.
namespace MonthLayout {

inline constexpr int kCellCount = 37;
inline constexpr int kColumns = 7;

enum class DayColour { Black, Gray, Green };

struct Cell {
    int day = 0;          // day of the month shown, 0 when the cell is empty
    bool visible = false; // exactly when day != 0
    QString text;         // the day in decimal without leading zeros; empty when day == 0
    DayColour colour = DayColour::Black;
};

using Grid = std::array<Cell, kCellCount>;

bool IsLeapYear(int year);

// 28..31 for a month 1..12 of a Gregorian year.
int DaysInMonth(int year, int month);

// The weekday of the 1st of the month: 1 = Monday ... 7 = Sunday.
int FirstWeekdayOfMonth(int year, int month);

// The month's days on the grid (cell k at index k - 1). Weekend columns are gray, weekdays
// black, and today's number green when the month is today's month.
Grid MonthGrid(int year, int month, const QDate &today);

// Column 1..7 of cell 1..37 (1 = Monday).
inline constexpr int CellColumn(int cell)
{
    return (cell - 1) % kColumns + 1;
}

QColor colourOf(DayColour colour);

} // namespace MonthLayout
