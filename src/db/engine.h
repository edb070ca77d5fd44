#pragma once

#include <QString>

// Where a practice keeps its data. With nothing configured it is data.mdb in the practice
// folder (SQLite), as on one computer. A practice with several workstations names a database
// on a PostgreSQL server in orvanta.ini beside data.mdb:
//
//   [database]
//   engine=postgresql
//   service=orvanta                          ; a service of pg_service.conf, or:
//   connection=host=192.168.1.10 dbname=orvanta user=reception
//
// Passwords stay where libpq looks for them (~/.pgpass, the service file, PGPASSWORD); a
// settings file that holds one is refused, since the practice folder is often shared.
enum class Engine { SQLite, PostgreSQL };

struct DataLocation {
    Engine engine = Engine::SQLite;
    QString serverConnection; // libpq connection text, for PostgreSQL
};

namespace EngineSettings {

inline constexpr char kFileName[] = "orvanta.ini";

// Reads orvanta.ini in the folder; SQLite when the file is not there. Throws DbError for a
// file that names an engine the program does not know, names no server, or holds a password.
DataLocation read(const QString &folder);

// Writes orvanta.ini naming a server database (the tools and the tests use it).
void writeServer(const QString &folder, const QString &serverConnection);

} // namespace EngineSettings
