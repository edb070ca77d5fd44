// Creates a practice database in its delivered state on a PostgreSQL server:
//   orvanta-pgcreate CONNECTION
// CONNECTION is libpq's ("service=orvanta", "host=server dbname=orvanta user=reception"); the
// database must exist and be empty (createdb makes one). Passwords come from libpq's usual
// places, never from the command line.
#include "connectionstring.h"
#include "dberror.h"
#include "schema.h"
#include "toolusage.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

const char kHelp[] =
    "Χρήση: orvanta-pgcreate ΣΥΝΔΕΣΗ\n"
    "\n"
    "Δημιουργεί ένα νέο ιατρείο σε μια κενή βάση δεδομένων PostgreSQL (τη φτιάχνει το createdb).\n"
    "ΣΥΝΔΕΣΗ: όπως τη γράφει η libpq, π.χ. \"service=orvanta\" ή\n"
    "\"host=192.168.1.10 dbname=orvanta user=reception\". Ο κωδικός του λογαριασμού διαβάζεται\n"
    "από το ~/.pgpass, το αρχείο υπηρεσιών ή το PGPASSWORD, ποτέ από τη γραμμή εντολών.\n";

} // namespace

int main(int argc, char **argv)
{
    if (ToolUsage::askedForHelp(argc, argv))
        return ToolUsage::help(kHelp);
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return ToolUsage::wrong("orvanta-pgcreate CONNECTION");
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
