#pragma once

#include <QString>

// The SQL texts of the expenses review windows, composed exactly as the windows run them.
namespace ExpensesSql {

// The expenses between two SQL date literals ("#3/1/2008#"), both included, oldest first, and
// their three totals.
QString periodList(const QString &fromLiteral, const QString &toLiteral);
QString periodTotals(const QString &fromLiteral, const QString &toLiteral);
// The same expenses with their values as stored, for the period's export.
QString periodExport(const QString &fromLiteral, const QString &toLiteral);

// One row per month with expenses in the years from..to, by year and month, and the totals.
// The years must be whole numbers (see year()).
QString monthList(const QString &fromYear, const QString &toYear);
QString monthTotals(const QString &fromYear, const QString &toYear);

// A typed year as it goes into the SQL text: the trimmed text when it is a whole number of at
// most four digits, written without leading zeros; "ERROR" otherwise, so that nothing but a
// number can reach the statement.
QString year(const QString &typed);

} // namespace ExpensesSql
