// Creates a practice database in its delivered state on a PostgreSQL server:
//   orvanta-pgcreate CONNECTION
// CONNECTION is libpq's ("service=orvanta", "host=server dbname=orvanta user=reception"); the
// database must exist and be empty (createdb makes one). Passwords come from libpq's usual
// places, never from the command line.
#include "connectionstring.h"
#include "dberror.h"
#include "schema.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvanta-pgcreate CONNECTION\n");
        return 2;
    }
    const QString connection = QString::fromLocal8Bit(argv[1]);
    try {
        Schema::createServerDatabase(connection,
                                     QLatin1String(ConnectionString::kDatabasePassword));
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("Created the practice database on %s\n", qPrintable(connection));
    return 0;
}
