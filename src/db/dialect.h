#pragma once

#include <QString>

// The SQL the windows write (date literals #m/d/yyyy#, double-quoted strings, [names]) turned
// into the SQL the engine runs. Everything that differs between the two lives here and in the
// functions registered on each connection (sqlfunctions.h).
namespace Dialect {

// Translates one statement. Throws DbError on a date literal that is not a date.
QString translate(const QString &jetSql);

// "#3/28/2007#" body "3/28/2007" as ISO "2007-03-28"; empty when not a valid date.
QString isoFromLiteral(const QString &body);

} // namespace Dialect
