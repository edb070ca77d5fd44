// Issues receipts in a loop through the receipt window's own issuing code, one window's
// connection per receipt, for the tests that kill it at random moments or run several of it at
// once against one data.mdb.
//   reliability_receiptwriter PRACTICE_FOLDER COUNT PATIENT_ID [FIRST_ROUND]
// COUNT 0 issues until the process is killed. Prints "writing" before the first receipt, then
// "issued N" after each receipt's commit and "taken" each time another program had issued the
// shown number meanwhile (the receipt is then tried again with the next free number, as a
// person presses the button again). Exits 0 when COUNT receipts were issued; a receipt the
// database refused ends it with exit code 1 and the engine's message on stderr.
// With FIRST_ROUND, each round also saves a new patient and then a day sheet, numbered from
// FIRST_ROUND (texts and day as in writerrounds.h), each on its own connection as the new
// patient window, the month view and the day sheet window do, and prints "patient R" and
// "day YYYY-MM-DD R" after each commit. Without it only receipts are issued, as the programs
// that issue receipts side by side do.
#include "appointmenttexts.h"
#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "program.h"
#include "receiptissue.h"
#include "recordset.h"
#include "sqltext.h"
#include "writerrounds.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

void report(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// As the new patient window saves: a record set that reads no rows, one new record, the typed
// texts, post.
void savePatient(int round)
{
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    Query patients(connection);
    patients.setSql(QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE 1=0"));
    patients.open();
    patients.insert();
    for (const WriterRound::Field &field : WriterRound::patientFields(round))
        patients.setFieldValue(field.column, field.typed);
    patients.post();
    report(QStringLiteral("patient %1").arg(round));
}

// As the month view opens a day (its row made first; a day that has its row uses it) and the
// day sheet window saves one slot typed into it.
void saveDaySheet(int round)
{
    const QDate day = WriterRound::day(round);
    const QString literal
        = SqlText::ToSqlDate(AppointmentTexts::dateText(day.day(), day.month(), day.year()));
    {
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        try {
            connection.execute(AppointmentTexts::insertDay(literal));
        } catch (const DbError &e) {
            if (e.code() != SQLITE_CONSTRAINT_UNIQUE)
                throw;
        }
    }
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    Query sheet(connection);
    sheet.setSql(AppointmentTexts::dayQuery(literal));
    sheet.open();
    if (sheet.currentRow() < 0)
        throw DbError(QStringLiteral("the day %1 has no row").arg(day.toString(Qt::ISODate)));
    sheet.edit();
    sheet.setFieldValue(WriterRound::slotColumn(round), WriterRound::slotText(round));
    sheet.post();
    report(QStringLiteral("day %1 %2").arg(day.toString(Qt::ISODate)).arg(round));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && args.size() != 5) {
        std::fprintf(stderr, "usage: %s PRACTICE_FOLDER COUNT PATIENT_ID [FIRST_ROUND]\n", argv[0]);
        return 2;
    }
    Program::AppDir = QDir(args[1]).absolutePath();
    Program::DbConnectionString = ConnectionString::build(Program::AppDir);
    const int count = args[2].toInt();
    const QString patientId = args[3];
    const bool everything = args.size() == 5;
    const int firstRound = everything ? args[4].toInt() : 0;

    report(QStringLiteral("writing"));
    int issued = 0;
    long taken = 0;
    while (count == 0 || issued < count) {
        if (taken > 1000000) {
            std::fprintf(stderr, "gave up after %ld numbers taken meanwhile\n", taken);
            return 1;
        }
        try {
            {
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
                        report(QStringLiteral("issued %1").arg(r.number));
                        break;
                    }
                    if (r.outcome != ReceiptIssue::Outcome::NumberTaken) {
                        std::fprintf(stderr, "not issued: %s\n", qPrintable(r.error));
                        return 1;
                    }
                    report(QStringLiteral("taken"));
                    ++taken;
                }
            }
            if (everything) {
                savePatient(firstRound + issued);
                saveDaySheet(firstRound + issued);
            }
            ++issued;
        } catch (const DbError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    return 0;
}
