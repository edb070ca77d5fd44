#pragma once

#include "engine.h"

#include <QString>

// The SQL the windows write (date literals #m/d/yyyy#, double-quoted strings, [names]) turned
// into the SQL the engine runs. Everything that differs between the two lives here and in the
// functions registered on each connection (sqlfunctions.h).
namespace Dialect {

// Translates one statement for the engine. Throws DbError on a date literal that is not a date.
// For a server (PostgreSQL): [names] are quoted in lower case as the server keeps them, a date
// literal is a DATE, TRUE and FALSE are 1 and 0 as yes/no columns hold them, LIKE is the
// server's operator ~~~ that ignores case and accents as the file's like() does, FORMAT is
// orv_format, and Greek order comes from the columns' own collation. A trailing FOR UPDATE
// locks the rows read on a server; on the file, BEGIN IMMEDIATE has locked everything already.
// On a server, a number that Format writes gets the decimal separator given (the file's Format
// uses the system's own, registered on the connection).
QString translate(const QString &jetSql, Engine engine = Engine::SQLite,
                  QChar decimalSeparator = QLatin1Char('.'));

// "#3/28/2007#" body "3/28/2007" as ISO "2007-03-28"; empty when not a valid date.
QString isoFromLiteral(const QString &body);

} // namespace Dialect
