// A program issuing receipts killed (SIGKILL) at random moments, many times over on one
// data.mdb: after each kill the file is sound, no receipt is half written, no number is used
// twice, the counter follows the highest number, and every receipt the program reported as
// issued is still there. ORVANTA_KILLS sets the number of kills (100 by default; 1000 by hand)
// and ORVANTA_KILL_SEED the random moments; the figures are printed.
#include "receiptchecks.h"
#include "testsupport.h"

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

} // namespace

TEST(KilledWriter, EveryKillLeavesWholeReceiptsAndTheCounterInStep)
{
    TestSupport::TempPractice practice;
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    const int kills = envNumber("ORVANTA_KILLS", 100);
    std::mt19937 random(static_cast<unsigned>(envNumber("ORVANTA_KILL_SEED", 20261209)));
    std::uniform_int_distribution<int> delayMs(2, 100);

    QSet<qint64> reported; // every number a killed program printed after its commit
    int duplicates = 0;
    int killsBeforeAnyReceipt = 0;
    for (int i = 0; i < kills; ++i) {
        QProcess child;
        child.start(QStringLiteral(RECEIPT_WRITER), {practice.dir(), "0", "7"});
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
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (!line.startsWith("issued "))
                continue;
            const qint64 number = line.mid(7).toLongLong();
            if (reported.contains(number))
                ++duplicates;
            reported.insert(number);
            ++issuedThisRun;
        }
        if (issuedThisRun == 0)
            ++killsBeforeAnyReceipt;
        // The whole file is checked every tenth kill and after the last one.
        if (i % 10 == 9 || i == kills - 1) {
            const QStringList faults = ReceiptChecks::broken(1);
            ASSERT_TRUE(faults.isEmpty())
                << "after kill " << i << ": " << faults.join("; ").toStdString();
        }
    }

    Connection c;
    c.setUp(Program::DbConnectionString, true);
    int losses = 0;
    for (const qint64 number : std::as_const(reported))
        losses += ReceiptChecks::hasReceipt(c, number) ? 0 : 1;
    const int committed = ReceiptChecks::receiptCount();
    std::printf("kills %d (before any receipt of that run: %d), receipts committed %d, reported "
                "by the killed programs %lld, lost %d, numbers reported twice %d\n",
                kills, killsBeforeAnyReceipt, committed, static_cast<long long>(reported.size()),
                losses, duplicates);
    EXPECT_EQ(losses, 0);
    EXPECT_EQ(duplicates, 0);
    // A receipt committed just before the kill may not have been reported yet: never more
    // than one per kill.
    EXPECT_GE(committed, reported.size());
    EXPECT_LE(committed, reported.size() + kills);
    EXPECT_GT(committed, 0) << "no kill came late enough to find a receipt written";
}
