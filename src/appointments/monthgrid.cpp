#include "monthgrid.h"

namespace MonthLayout {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int FirstWeekdayOfMonth(int year, int month)
{
    // Zeller's congruence for day 1, with January and February counted as months 13 and 14
    // of the year before; the result is shifted so that Monday is 1.
    const int d = 1;
    int m = month;
    int y = year;
    if (m <= 2) {
        m += 12;
        y -= 1;
    }
    const int w = d + 2 * m + 3 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400;
    return w % 7 + 1;
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
    case DayColour::Gray: return QColor(128, 128, 128);
    case DayColour::Green: return QColor(0, 128, 0);
    case DayColour::Black: break;
    }
    return QColor(0, 0, 0);
}

} // namespace MonthLayout
