// A program issuing receipts, saving new patients and day sheets, killed (SIGKILL) at random
// moments, many times over on one data.mdb: after each kill the file is sound, no receipt is
// half written, no number is used twice, the counter follows the highest number, and every
// receipt, patient and day sheet the program reported as saved is still there exactly as
// written. ORVANTA_KILLS sets the number of kills (100 by default; 1000 by hand) and
// ORVANTA_KILL_SEED the random moments; the figures are printed.
#include "receiptchecks.h"
#include "testsupport.h"
#include "writerrounds.h"

#include <QHash>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

namespace {

int envNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

using Row = QHash<QString, QString>; // column name to stored text; a null is a null QString

// Every row of a statement in the engine's own dialect.
QList<Row> nativeRows(Connection &c, const QString &sql, const QVariantList &values)
{
    PreparedStatement statement = c.prepare(sql, values);
    QList<Row> rows;
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(statement.get()); ++i) {
            const auto *text
                = reinterpret_cast<const char *>(sqlite3_column_text(statement.get(), i));
            row.insert(QString::fromUtf8(sqlite3_column_name(statement.get(), i)),
                       text ? QString::fromUtf8(text) : QString());
        }
        rows << row;
    }
    return rows;
}

// What differs between a stored row and what was written into it; every column not written
// must be empty. Empty when they are the same.
QStringList differences(const Row &stored, const Row &written, const QString &key)
{
    QStringList out;
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (it.key() == key)
            continue;
        const QString wanted = written.value(it.key());
        if (it.value() != wanted || it.value().isNull() != wanted.isNull())
            out << QStringLiteral("%1 is \"%2\", written \"%3\"").arg(it.key(), it.value(), wanted);
    }
    return out;
}

// Why the patient of a round is not in the file as written; empty when it is.
QString patientFault(Connection &c, int round)
{
    Row written;
    for (const WriterRound::Field &field : WriterRound::patientFields(round))
        written.insert(field.column, WriterRound::storedText(field));
    const QList<Row> rows
        = nativeRows(c, "SELECT * FROM STOIXEIA_PELATH WHERE EPWNYMO=?", {written["EPWNYMO"]});
    if (rows.size() != 1)
        return QStringLiteral("patient %1: %2 rows").arg(round).arg(rows.size());
    const QStringList diff = differences(rows.first(), written, QStringLiteral("ID"));
    return diff.isEmpty() ? QString()
                          : QStringLiteral("patient %1: %2").arg(round).arg(diff.join(", "));
}

// Why the day sheet of a round is not in the file as written; empty when it is.
QString daySheetFault(Connection &c, int round)
{
    const QString day = WriterRound::day(round).toString(Qt::ISODate);
    const Row written {{QStringLiteral("HMEROMHNIA"), day},
                       {WriterRound::slotColumn(round), WriterRound::slotText(round)}};
    const QList<Row> rows = nativeRows(c, "SELECT * FROM RANTEBOU WHERE HMEROMHNIA=?", {day});
    if (rows.size() != 1)
        return QStringLiteral("day %1: %2 rows").arg(day).arg(rows.size());
    const QStringList diff = differences(rows.first(), written, {});
    return diff.isEmpty() ? QString() : QStringLiteral("day %1: %2").arg(day, diff.join(", "));
}

// What the killed programs reported, one kind of record.
struct Reported {
    QSet<qint64> keys;
    int twice = 0;
    void add(qint64 key)
    {
        if (keys.contains(key))
            ++twice;
        keys.insert(key);
    }
};

} // namespace

TEST(KilledWriter, EveryKillLeavesWholeRecordsAndTheCounterInStep)
{
    TestSupport::TempPractice practice;
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    const int patientsBefore = practice.count("SELECT * FROM STOIXEIA_PELATH");
    const int daysBefore = practice.count("SELECT * FROM RANTEBOU");
    const int kills = envNumber("ORVANTA_KILLS", 100);
    std::mt19937 random(static_cast<unsigned>(envNumber("ORVANTA_KILL_SEED", 20261209)));
    std::uniform_int_distribution<int> delayMs(2, 100);

    // Every number, patient round and day round a killed program printed after its commit.
    Reported receipts, patients, days;
    int killsBeforeAnyReceipt = 0;
    int firstRound = 0;
    for (int i = 0; i < kills; ++i) {
        QProcess child;
        child.start(QStringLiteral(RECEIPT_WRITER),
                    {practice.dir(), "0", "7", QString::number(firstRound)});
        ASSERT_TRUE(child.waitForStarted(30000));
        // Wait until it starts writing, then let it run a random few milliseconds.
        while (!child.canReadLine())
            ASSERT_TRUE(child.waitForReadyRead(30000)) << "kill " << i << ": no start";
        ASSERT_EQ(child.readLine().trimmed(), "writing");
        QThread::msleep(static_cast<unsigned long>(delayMs(random)));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(30000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "kill " << i
            << " came after the program ended: " << child.readAllStandardError().toStdString();

        int issuedThisRun = 0;
        int lastRound = firstRound - 1;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.first() == "issued") {
                receipts.add(words.last().toLongLong());
                ++issuedThisRun;
            } else if (words.first() == "patient" || words.first() == "day") {
                const int round = words.last().toInt();
                (words.first() == "patient" ? patients : days).add(round);
                lastRound = std::max(lastRound, round);
                if (words.first() == "day") {
                    EXPECT_EQ(words.at(1), WriterRound::day(round).toString(Qt::ISODate));
                }
            }
        }
        if (issuedThisRun == 0)
            ++killsBeforeAnyReceipt;
        // The round after the last one reported may have been saved in part without a word:
        // the next program starts past it, so that each round's texts and day are its own.
        firstRound = lastRound + 2;
        // The whole file is checked every tenth kill and after the last one.
        if (i % 10 == 9 || i == kills - 1) {
            const QStringList faults = ReceiptChecks::broken(1);
            ASSERT_TRUE(faults.isEmpty())
                << "after kill " << i << ": " << faults.join("; ").toStdString();
        }
    }

    Connection c;
    c.setUp(Program::DbConnectionString, true);
    int lostReceipts = 0;
    for (const qint64 number : std::as_const(receipts.keys))
        lostReceipts += ReceiptChecks::hasReceipt(c, number) ? 0 : 1;
    QStringList faults;
    for (const qint64 round : std::as_const(patients.keys)) {
        if (const QString fault = patientFault(c, int(round)); !fault.isEmpty())
            faults << fault;
    }
    const auto lostPatients = faults.size();
    for (const qint64 round : std::as_const(days.keys)) {
        if (const QString fault = daySheetFault(c, int(round)); !fault.isEmpty())
            faults << fault;
    }
    const auto lostDays = faults.size() - lostPatients;
    const int committed = ReceiptChecks::receiptCount();
    const int patientRows = practice.count("SELECT * FROM STOIXEIA_PELATH") - patientsBefore;
    const int dayRows = practice.count("SELECT * FROM RANTEBOU") - daysBefore;
    std::printf("kills %d (before any receipt of that run: %d); receipts committed %d, reported "
                "by the killed programs %lld, lost %d, numbers reported twice %d; patients "
                "committed %d, reported %lld, lost %lld; day rows committed %d, day sheets "
                "reported %lld, lost %lld\n",
                kills, killsBeforeAnyReceipt, committed,
                static_cast<long long>(receipts.keys.size()), lostReceipts, receipts.twice,
                patientRows, static_cast<long long>(patients.keys.size()),
                static_cast<long long>(lostPatients), dayRows,
                static_cast<long long>(days.keys.size()), static_cast<long long>(lostDays));
    EXPECT_EQ(lostReceipts, 0);
    EXPECT_EQ(receipts.twice, 0);
    EXPECT_TRUE(faults.isEmpty()) << faults.mid(0, 10).join("\n").toStdString();
    EXPECT_EQ(patients.twice + days.twice, 0);
    // A record committed just before the kill may not have been reported yet: never more than
    // one of each kind per kill.
    EXPECT_GE(committed, receipts.keys.size());
    EXPECT_LE(committed, receipts.keys.size() + kills);
    EXPECT_GE(patientRows, patients.keys.size());
    EXPECT_LE(patientRows, patients.keys.size() + kills);
    EXPECT_GE(dayRows, days.keys.size());
    EXPECT_LE(dayRows, days.keys.size() + kills);
    EXPECT_GT(committed, 0) << "no kill came late enough to find a receipt written";
    EXPECT_GT(days.keys.size(), 0) << "no kill came late enough to find a day sheet written";
}
