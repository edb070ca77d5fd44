// Backups taken while another program issues receipts against the same data.mdb: each copy
// holds every receipt whose commit was reported before the copy started, and no half receipt
// (a receipt without its payment, a counter behind the numbers).
#include "connectionstring.h"
#include "practicebackup.h"
#include "program.h"
#include "receiptchecks.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// Reads the numbers the writer has reported so far.
void readIssued(QProcess &writer, QSet<qint64> &issued, QByteArray &pending)
{
    writer.waitForReadyRead(0);
    pending += writer.readAllStandardOutput();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QByteArray line = pending.left(end);
        pending.remove(0, end + 1);
        if (line.startsWith("issued "))
            issued.insert(line.mid(7).toLongLong());
    }
}

// The faults of a copy, read as the program reads a practice folder.
QStringList faultsOf(const QString &copy, const QSet<qint64> &mustHave)
{
    QTemporaryDir folder;
    QFile::copy(copy, QDir(folder.path()).filePath("data.mdb"));
    const QString before = Program::DbConnectionString;
    Program::DbConnectionString = ConnectionString::build(folder.path());
    QStringList faults = ReceiptChecks::broken(1);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    for (qint64 n : mustHave)
        if (!ReceiptChecks::hasReceipt(c, n))
            faults << QStringLiteral("receipt %1 reported before the copy is missing").arg(n);
    Program::DbConnectionString = before;
    return faults;
}

} // namespace

TEST(BackupWhileIssuing, EveryCopyHasTheReceiptsCommittedBeforeItAndNoHalfReceipt)
{
    TestSupport::TempPractice practice;
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");

    QProcess writer;
    writer.start(QStringLiteral(RECEIPT_WRITER), {practice.dir(), "0", "7"});
    ASSERT_TRUE(writer.waitForStarted(30000));
    QSet<qint64> issued;
    QByteArray pending;
    QTemporaryDir usb;
    int copies = 0;
    int overlapped = 0; // copies during which the writer committed receipts
    for (int round = 0; round < 6; ++round) {
        // Let the writer commit some receipts first.
        const qsizetype want = issued.size() + 15;
        while (issued.size() < want) {
            ASSERT_TRUE(writer.waitForReadyRead(30000))
                << writer.readAllStandardError().toStdString();
            readIssued(writer, issued, pending);
        }
        readIssued(writer, issued, pending);
        const QSet<qint64> before = issued;
        const PracticeBackup::Outcome out = PracticeBackup::backUp(
            practice.dir(), usb.path(),
            QDateTime(QDate(2026, 3, 5), QTime(18, 0)).addSecs(60 * round));
        ++copies;
        readIssued(writer, issued, pending);
        if (issued.size() > before.size())
            ++overlapped;
        const QStringList faults = faultsOf(out.path, before);
        EXPECT_TRUE(faults.isEmpty()) << "copy " << round << ": " << faults.join("; ").toStdString();
    }
    ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
    writer.waitForFinished(30000);
    std::printf("copies %d, receipts issued meanwhile %lld, copies during which receipts were "
                "committed %d\n",
                copies, static_cast<long long>(issued.size()), overlapped);
    EXPECT_EQ(QDir(usb.path()).entryList(QDir::Files | QDir::Hidden).size(), copies);
}
