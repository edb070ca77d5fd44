#include "monthgrid.h"

namespace MonthLayout {

// The calendar is Qt's Gregorian one; these names are what the grid is written in.
bool IsLeapYear(int year)
{
    return QDate::isLeapYear(year);
}

int DaysInMonth(int year, int month)
{
    return QDate(year, month, 1).daysInMonth(); // 0 for a month outside 1..12
}

int FirstWeekdayOfMonth(int year, int month)
{
    return QDate(year, month, 1).dayOfWeek();
}

Grid MonthGrid(int year, int month, const QDate &today)
{
    Grid grid;
    for (int k = 1; k <= kCellCount; ++k)
        grid[size_t(k - 1)].colour = CellColumn(k) >= 6 ? DayColour::Gray : DayColour::Black;

    const int first = FirstWeekdayOfMonth(year, month);
    const int days = DaysInMonth(year, month);
    const bool todaysMonth = today.isValid() && today.year() == year && today.month() == month;
    for (int d = 1; d <= days; ++d) {
        Cell &cell = grid[size_t(first + d - 2)];
        cell.day = d;
        cell.visible = true;
        cell.text = QString::number(d);
        if (todaysMonth && today.day() == d)
            cell.colour = DayColour::Green;
    }
    return grid;
}

QColor colourOf(DayColour colour)
{
    switch (colour) {
    case DayColour::Gray:
        return QColor(128, 128, 128);
    case DayColour::Green:
        return QColor(0, 128, 0);
    case DayColour::Black:
        break;
    }
    return QColor(0, 0, 0);
}

} // namespace MonthLayout
