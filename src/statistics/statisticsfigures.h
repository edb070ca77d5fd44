#pragma once

#include "exporttable.h"
#include "practicestatistics.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one chart says in words and numbers: the table of its figures per month (the one a
// screen reader walks, the one printed under the chart) and the lines of totals under it.
// The window, the printout and the tests read the same texts.
struct FigureTable {
    QString key; // "income", "expenses", "visits", "appointments"
    QString title;
    QStringList columns;
    QList<QStringList> rows; // the 12 months, oldest first, then the totals
    QStringList figures;
};

namespace StatisticsFigures {

// An amount rounded to cents (an exact half away from zero, as Format(...,'0.00') rounds),
// with the system's decimal separator: "1234,50" on a Greek system.
QString amountText(const Decimal &amount);
// The change from before to now in per cent of before, one decimal, with its sign: "+12,5 %",
// "-3,0 %", "0,0 %"; "χωρίς σύγκριση" when before is zero. Exact: no binary fractions.
QString change(const Decimal &now, const Decimal &before);
QString change(qint64 now, qint64 before);
// part as a per cent of whole, one decimal ("12,5 %"); "-" when whole is zero.
QString share(const Decimal &part, const Decimal &whole);
// "Ιανουάριος 2025".
QString monthLabel(const QDate &month);
// "Ιαν" on the charts' axis; "Ιαν 25" where the period runs over two years.
QString axisLabel(const PracticeStatistics &statistics, int i);

// The four tables, in the order of the window's tabs; the appointments' table only when the
// practice links appointment slots to patients.
QList<FigureTable> tables(const PracticeStatistics &statistics);

// Every figure of both periods for the accountant: one row per month, oldest first, then each
// period's totals.
ExportTable exportTable(const PracticeStatistics &statistics);

} // namespace StatisticsFigures
