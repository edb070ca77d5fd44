// Two running programs issuing receipts at once against one data.mdb: every number is used
// once, and the counter moved once per receipt.
#include "billingfixtures.h"

#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>

TEST(ReceiptProcesses, TwoProgramsNeverIssueTheSameNumber)
{
    TestSupport::TempPractice practice;
    BillingFixtures::setUpNumbering(practice, "1", "15");
    constexpr int kEach = 40;

    QProcess children[2];
    for (int i = 0; i < 2; ++i) {
        children[i].start(QStringLiteral(RECEIPT_CHILD),
                          {practice.dir(), QString::number(kEach), QString::number(i + 1)});
        ASSERT_TRUE(children[i].waitForStarted());
    }
    QSet<qint64> numbers;
    int lines = 0;
    for (QProcess &child : children) {
        ASSERT_TRUE(child.waitForFinished(300000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            numbers.insert(line.toLongLong());
            ++lines;
        }
    }
    EXPECT_EQ(lines, 2 * kEach);
    EXPECT_EQ(numbers.size(), 2 * kEach); // no number reported twice
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS"), 2 * kEach);
    EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH"), 2 * kEach);
    EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), QString::number(1 + 2 * kEach));
    EXPECT_EQ(practice.scalar("SELECT MAX(AR_APODEIKSHS) FROM APODEIKSEIS"),
              QString::number(2 * kEach));
    // Each receipt's payment row carries the same number and the issuing program's patient.
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS INNER JOIN EISPRAKSH_PELATH ON "
                             "APODEIKSEIS.AR_APODEIKSHS=EISPRAKSH_PELATH.AR_APODEIKSHS"),
              2 * kEach);
    EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH WHERE ID=1"), kEach);
}
