#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Small routines that every window uses to turn what a person typed into SQL text and back.
namespace SqlText {

// A date typed day first ("28/03/2007", blanks around it allowed) as the SQL date literal
// "#3/28/2007#"; "ERROR" when the text is not a valid date, the empty text included.
QString ToSqlDate(const QString &text);

// True when the text holds none of the 31 ASCII punctuation characters that may not reach SQL
// text (codes 33-46, 58-64, 91-96, 123-126). Letters of any alphabet, digits, blanks, the
// slash and every non-ASCII character pass; so does the empty text.
bool IsSafeText(const QString &text);

// Reads a date typed day first with '/' separators (d/M/yyyy; a one- or two-digit year falls
// in the 100 years around today). Empty optional when the text is not a valid date.
std::optional<QDate> parseDate(const QString &text);

// The way dates are shown and typed everywhere: day/month/year without leading zeros (a year
// below 100 has four digits, so that the text reads back as the same year).
QString dateText(const QDate &date);

// A number as SQL text: shortest decimal form with up to 15 significant digits, a point as the
// decimal separator, no thousands separator and no exponent (1e-05 is written 0.00001).
QString number(double value);

// A text value as an SQL string literal: between single quotes, quotes inside doubled, so that
// no typed value can end the literal early.
QString quoted(const QString &value);

} // namespace SqlText
