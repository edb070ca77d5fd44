// Copies a practice's data.mdb into an empty database on a PostgreSQL server, then checks that
// every table has as many rows on the server as in the file, with the same sum in every number
// column and the same total length in every text column:
//   orvanta-pgcopy PRACTICE_FOLDER CONNECTION
// The file is only read. Nothing is left half copied: the copy is one transaction, and a
// difference found by the checks rolls it back. Exit status 0 when the copy is complete and
// checked, 1 otherwise (the reason on stderr).
#include "practicecopy.h"

#include "dberror.h"
#include "toolusage.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

const char kHelp[] =
    "Χρήση: orvanta-pgcopy ΦΑΚΕΛΟΣ_ΙΑΤΡΕΙΟΥ ΣΥΝΔΕΣΗ\n"
    "\n"
    "Αντιγράφει το data.mdb του ιατρείου σε μια κενή βάση δεδομένων PostgreSQL και ελέγχει κάθε\n"
    "πίνακα (γραμμές, αθροίσματα ποσών, συνολικό μήκος κειμένων). Η αντιγραφή είναι ενιαία: αν\n"
    "κάτι διαφέρει, δεν μένει τίποτα στον διακομιστή. Το αρχείο μόνο διαβάζεται· κλείστε πρώτα\n"
    "το πρόγραμμα. ΣΥΝΔΕΣΗ: όπως τη γράφει η libpq (\"service=orvanta\" ή \"host=... dbname=...\").\n"
    "Κωδικός εξόδου 0 όταν η αντιγραφή ολοκληρώθηκε και ελέγχθηκε, αλλιώς 1 (η αιτία στο stderr).\n";

} // namespace

int main(int argc, char **argv)
{
    if (ToolUsage::askedForHelp(argc, argv))
        return ToolUsage::help(kHelp);
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return ToolUsage::wrong("orvanta-pgcopy PRACTICE_FOLDER CONNECTION");
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    try {
        const QStringList report
            = PracticeCopy::copyToServer(folder, QString::fromLocal8Bit(argv[2]));
        for (const QString &line : report)
            std::printf("%s\n", qPrintable(line));
    } catch (const DbError &e) {
        // A lost server is said in the tool's own words: what became of the copy and what to
        // do next, then what the server said.
        const QString detail = e.message().section(QLatin1Char('\n'), 1);
        switch (e.kind()) {
        case DbError::Kind::Lost:
        case DbError::Kind::NotWritten:
            std::fprintf(stderr,
                         "orvanta-pgcopy: the connection to the server was lost; nothing was "
                         "copied. Run orvanta-pgcopy again when the server answers.\n%s\n",
                         qPrintable(detail));
            break;
        case DbError::Kind::OutcomeUnknown:
            std::fprintf(stderr,
                         "orvanta-pgcopy: the connection to the server was lost while the copy "
                         "was being committed: it may or may not be complete. When the server "
                         "answers, run orvanta-pgcopy again into a new empty database, or check "
                         "this one (a complete copy holds every table of the practice).\n%s\n",
                         qPrintable(detail));
            break;
        case DbError::Kind::Refused:
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            break;
        }
        return 1;
    }
    return 0;
}
