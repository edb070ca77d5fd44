#pragma once

struct sqlite3;

// The functions and the collation the windows' SQL relies on, registered on one connection:
// DAY(), MONTH(), YEAR(), FORMAT(), a LIKE that ignores letter case and Greek accents, and the
// GREEK collation used by ORDER BY.
namespace SqlFunctions {

// Throws DbError with the engine's message and code when the engine refuses one.
void registerAll(sqlite3 *db);

} // namespace SqlFunctions
