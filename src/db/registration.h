#pragma once

#include "engine.h"

#include <QDateTime>
#include <QString>

class Connection;

// Registrations a person may repeat (a receipt, a new patient, a visit, an expense) carry a
// token made when the person starts the entry and kept until it is registered. The token is
// written in the same transaction as the row, in a small table of recent tokens. When the
// answer to the commit is lost, the token is looked up: found, the row was written; not found,
// it was not, and the entry may be written again without ever being written twice.
namespace Registration {

// The table of recent tokens: the token, the table and key it wrote, and when (UTC, ISO 8601).
// A practice made before the table existed gets it with its first registration.
inline constexpr char kTable[] = "KATAXWRHSEIS";
// Tokens are kept this long, then pruned now and then.
inline constexpr int kKeptDays = 28;

// "CREATE TABLE IF NOT EXISTS ..." for the engine.
QString tableStatement(Engine engine);

// A new token (a UUID without braces).
QString newToken();

// Writes the token in the caller's open transaction, after the row it registers: the table the
// row went to and its key (a receipt's number, a row's rowid). Now and then the tokens older
// than kKeptDays go too. Throws DbError.
void record(Connection &connection, const QString &token, const QString &table, const QString &key);

// Deletes the tokens written more than kKeptDays before `now` (each program does it once a day,
// in a registration's transaction).
void prune(Connection &connection, const QDateTime &now);

// What a look-up of a token found.
struct Lookup {
    enum class State { Written, NotWritten, Unknown };
    State state = State::Unknown;
    QString key; // Written: the key the token's row was written under
};

// Looks the token up on the connection, after rolling back whatever the lost commit left open
// (on a server the session is made again). Unknown when the database cannot be read; it never
// throws.
Lookup lookUp(Connection &connection, const QString &token);

} // namespace Registration
