#include "calendarmath.h"

#include "officetexts.h"

namespace CalendarMath {

QDate orthodoxEaster(int year)
{
    // Gauss's form of the Julian computus: the paschal full moon falls d days after 21 March
    // (Julian), and Easter is the Sunday e days after it.
    const int d = (19 * (year % 19) + 15) % 30;
    const int e = (2 * (year % 4) + 4 * (year % 7) + 6 * d + 6) % 7;
    // Days the Julian calendar lags behind the Gregorian one after February of this year.
    const int lag = year / 100 - year / 400 - 2;
    return QDate(year, 3, 22).addDays(d + e + lag);
}

QString easterText(const QString &yearText)
{
    bool whole = false;
    int year = yearText.trimmed().toInt(&whole);
    if (!whole)
        year = kFirstEasterYear;
    if (year < kFirstEasterYear || year > kLastEasterYear)
        return {};
    const QDate easter = orthodoxEaster(year);
    const QString month = easter.month() == 4 ? OfficeTexts::kApril : OfficeTexts::kMay;
    return OfficeTexts::kEasterIs + QString::number(easter.day()) + month;
}

qint64 daysBetween(const QDate &from, const QDate &to)
{
    return from < to ? from.daysTo(to) : 0;
}

QString dayCountText(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid() || from >= to)
        return {};
    return OfficeTexts::kDayCount + QString::number(daysBetween(from, to));
}

} // namespace CalendarMath
