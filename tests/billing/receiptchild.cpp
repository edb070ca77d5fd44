// Issues receipts in a loop through the receipt window's own issuing code, as several running
// programs would: used by the tests that run it in several processes at once against one
// data.mdb (and, later, kill it at random moments).
//   billing_receiptchild PRACTICE_FOLDER COUNT PATIENT_ID
// Prints each number it issued on its own line; exits 0 when COUNT receipts were issued.
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

    int issued = 0;
    int attempts = 0;
    while (issued < count) {
        if (++attempts > count * 50) {
            std::fprintf(stderr, "gave up after %d attempts\n", attempts);
            return 1;
        }
        try {
            // One receipt window: its own connection, the number read when it opens.
            Connection connection;
            connection.setUp(Program::DbConnectionString, true);
            ReceiptIssue issue(connection);
            issue.read();
            const ReceiptIssue::Result r
                = issue.issue({patientId, QStringLiteral("Test"), QStringLiteral("Child"),
                               QStringLiteral("10"), QStringLiteral("Physio"), QString()});
            if (r.outcome == ReceiptIssue::Outcome::Issued) {
                std::printf("%lld\n", static_cast<long long>(r.number));
                std::fflush(stdout);
                ++issued;
            } else if (r.outcome != ReceiptIssue::Outcome::NumberTaken) {
                std::fprintf(stderr, "not issued: %s\n", qPrintable(r.error));
                return 1;
            }
        } catch (const DbError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
