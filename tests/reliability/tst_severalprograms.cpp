// Four running programs issue 250 receipts each at the same time against one data.mdb, with
// the database layer's wait for a busy file in force: no lock the wait could absorb is
// reported as a failure, every number is used once, and no receipt is half written. On a
// server the same is done by two "workstations" issuing 500 receipts each.
#include "receiptchecks.h"
#include "testsupport.h"

#include <QProcess>
#include <QSet>
#include <cstdio>
#include <gtest/gtest.h>

TEST(SeveralPrograms, ProgramsAtOnceIssueAThousandDistinctWholeReceipts)
{
    TestSupport::TempPractice practice;
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(500)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    const int kPrograms = TestSupport::onServer() ? 2 : 4;
    const int kEach = 1000 / kPrograms;

    QProcess children[4];
    for (int i = 0; i < kPrograms; ++i) {
        children[i].start(QStringLiteral(RECEIPT_WRITER),
                          {practice.dir(), QString::number(kEach), QString::number(i + 1)});
        ASSERT_TRUE(children[i].waitForStarted(30000));
    }
    QSet<qint64> numbers;
    int issued = 0;
    int retries = 0;
    for (int i = 0; i < kPrograms; ++i) {
        QProcess &child = children[i];
        ASSERT_TRUE(child.waitForFinished(170000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0)
            << "program " << i << ": " << child.readAllStandardError().toStdString();
        int issuedHere = 0;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("issued ")) {
                numbers.insert(line.mid(7).toLongLong());
                ++issuedHere;
            } else if (line == "taken") {
                ++retries;
            }
        }
        EXPECT_EQ(issuedHere, kEach) << "program " << i;
        issued += issuedHere;
        // Each program's receipts carry its own patient.
        EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH WHERE ID="
                                 + QString::number(i + 1)),
                  kEach);
    }
    std::printf("receipts %d across %d programs, distinct numbers %lld, numbers taken "
                "meanwhile and retried %d\n",
                issued, kPrograms, static_cast<long long>(numbers.size()), retries);
    EXPECT_EQ(issued, kPrograms * kEach);
    EXPECT_EQ(numbers.size(), kPrograms * kEach);
    EXPECT_EQ(*std::min_element(numbers.begin(), numbers.end()), 500);
    EXPECT_EQ(*std::max_element(numbers.begin(), numbers.end()), 500 + kPrograms * kEach - 1);
    EXPECT_EQ(ReceiptChecks::receiptCount(), kPrograms * kEach);
    const QStringList faults = ReceiptChecks::broken(500);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}
