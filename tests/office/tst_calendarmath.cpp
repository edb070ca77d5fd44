// Easter and day counts of the desk calendar, against tables computed here another way.
#include "calendarmath.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

// Julian Day Number of a date of the Julian calendar (Richards' algorithm).
qint64 julianCalendarDay(int year, int month, int day)
{
    const int a = (14 - month) / 12;
    const int y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * qint64(y) + y / 4 - 32083;
}

// Meeus' Julian Easter algorithm, converted to the civil calendar through the day number.
QDate meeusOrthodoxEaster(int year)
{
    const int a = year % 4;
    const int b = year % 7;
    const int c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    return QDate::fromJulianDay(julianCalendarDay(year, month, day));
}

// The older desk formula, good for 1900-2099: n April, or n-30 May past 30.
QDate deskFormula(int year)
{
    const int d = (19 * (year % 19) + 16) % 30;
    const int e = (2 * (year % 4) + 4 * (year % 7) + 6 * d) % 7;
    const int n = d + e + 3;
    return n < 31 ? QDate(year, 4, n) : QDate(year, 5, n - 30);
}

} // namespace

TEST(Easter, EveryYearOfTheFieldMatchesAnIndependentComputation)
{
    for (int year = CalendarMath::kFirstEasterYear; year <= CalendarMath::kLastEasterYear; ++year) {
        const QDate easter = CalendarMath::orthodoxEaster(year);
        ASSERT_EQ(easter, meeusOrthodoxEaster(year)) << year;
        ASSERT_EQ(easter.dayOfWeek(), Qt::Sunday) << year;
        if (year >= 1900 && year <= 2099) {
            ASSERT_EQ(easter, deskFormula(year)) << year;
        }
    }
}

TEST(Easter, TheResultTextForWhatTheYearFieldHolds)
{
    const struct {
        const char *typed;
        const char *shown;
    } cases[] = {
        {"2008", "είναι 27 Απριλίου"},
        {"2010", "είναι 4 Απριλίου"},
        {"2021", "είναι 2 Μαϊου"},
        {"2024", "είναι 5 Μαϊου"},
        {"2025", "είναι 20 Απριλίου"},
        {"2050", "είναι 17 Απριλίου"},
        // Outside 1900-2099 the true date, not the desk formula's (1 May, 13 April).
        {"2100", "είναι 2 Μαϊου"},
        {"1583", "είναι 10 Απριλίου"},
        {"1899", "είναι 30 Απριλίου"},
        // Not a whole number: the field's first year. Being typed: nothing yet.
        {"", "είναι 10 Απριλίου"},
        {"abc", "είναι 10 Απριλίου"},
        {"20", ""},
        {"1582", ""},
        {"2101", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CalendarMath::easterText(QString::fromUtf8(c.typed)), QString::fromUtf8(c.shown))
            << "year '" << c.typed << "'";
}

TEST(DayCount, WholeDaysOnlyWhenTheSecondDateIsLater)
{
    const struct {
        QDate from;
        QDate to;
        const char *shown;
    } cases[] = {
        {QDate(2008, 3, 1), QDate(2008, 3, 31), "Αριθμός ημερών=30"},
        {QDate(2008, 2, 28), QDate(2008, 3, 1), "Αριθμός ημερών=2"},
        {QDate(2007, 2, 28), QDate(2007, 3, 1), "Αριθμός ημερών=1"},
        {QDate(2007, 12, 31), QDate(2008, 1, 1), "Αριθμός ημερών=1"},
        {QDate(1940, 1, 1), QDate(2050, 1, 1), "Αριθμός ημερών=40178"},
        {QDate(2008, 3, 1), QDate(2008, 3, 1), ""},
        {QDate(2008, 3, 31), QDate(2008, 3, 1), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CalendarMath::dayCountText(c.from, c.to), QString::fromUtf8(c.shown))
            << c.from.toString().toStdString() << " - " << c.to.toString().toStdString();
}
