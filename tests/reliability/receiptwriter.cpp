// Issues receipts in a loop through the receipt window's own issuing code, one window's
// connection per receipt, for the tests that kill it at random moments or run several of it at
// once against one data.mdb.
//   reliability_receiptwriter PRACTICE_FOLDER COUNT PATIENT_ID
// COUNT 0 issues until the process is killed. Prints "writing" before the first receipt, then
// "issued N" after each receipt's commit and "taken" each time another program had issued the
// shown number meanwhile (the receipt is then tried again with the next free number, as a
// person presses the button again). Exits 0 when COUNT receipts were issued; a receipt the
// database refused ends it with exit code 1 and the engine's message on stderr.
#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "program.h"
#include "receiptissue.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: %s PRACTICE_FOLDER COUNT PATIENT_ID\n", argv[0]);
        return 2;
    }
    Program::AppDir = QDir(args[1]).absolutePath();
    Program::DbConnectionString = ConnectionString::build(Program::AppDir);
    const int count = args[2].toInt();
    const QString patientId = args[3];

    std::printf("writing\n");
    std::fflush(stdout);
    int issued = 0;
    long taken = 0;
    while (count == 0 || issued < count) {
        if (taken > 1000000) {
            std::fprintf(stderr, "gave up after %ld numbers taken meanwhile\n", taken);
            return 1;
        }
        try {
            Connection connection;
            connection.setUp(Program::DbConnectionString, true);
            ReceiptIssue issue(connection);
            issue.read();
            // Retried on the same window, as the window shows the next free number.
            for (;;) {
                const ReceiptIssue::Result r
                    = issue.issue({patientId, QStringLiteral("Άννα"), QStringLiteral("Ιωάννου"),
                                   QString::number(10 + issued % 50),
                                   QStringLiteral("Φυσικοθεραπεία"), QStringLiteral("ΙΚΑ")});
                if (r.outcome == ReceiptIssue::Outcome::Issued) {
                    std::printf("issued %lld\n", static_cast<long long>(r.number));
                    std::fflush(stdout);
                    ++issued;
                    break;
                }
                if (r.outcome != ReceiptIssue::Outcome::NumberTaken) {
                    std::fprintf(stderr, "not issued: %s\n", qPrintable(r.error));
                    return 1;
                }
                std::printf("taken\n");
                std::fflush(stdout);
                ++taken;
            }
        } catch (const DbError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
