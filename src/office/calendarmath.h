#pragma once

#include <QDate>
#include <QString>

// The desk calendar's computations, free of any window.
namespace CalendarMath {

// The years the Easter field offers.
inline constexpr int kFirstEasterYear = 1583;
inline constexpr int kLastEasterYear = 2100;

// Orthodox Easter Sunday of a year as a date of the civil (Gregorian) calendar: the Julian
// computus gives the Sunday in the Julian calendar, and the difference between the two
// calendars in that year moves it to the Gregorian date. Valid for every Gregorian year.
QDate orthodoxEaster(int year);

// The text after "Το Πάσχα για το έτος:" for what the year field holds: "είναι 27 Απριλίου",
// "είναι 2 Μαϊου"; a text that is not a whole number counts as the first year; a year outside
// the field's range (as while a year is typed digit by digit) gives the empty text.
QString easterText(const QString &yearText);

// Whole days from one date to a later one; 0 when the second is not later.
qint64 daysBetween(const QDate &from, const QDate &to);

// "Αριθμός ημερών=" and the count when the second date is later than the first, else empty.
QString dayCountText(const QDate &from, const QDate &to);

} // namespace CalendarMath
