// The e-books settings window (the key kept by the keyring, never by the practice) and the
// sending of the waiting receipts.
#include "billingtexts.h"
#include "connection.h"
#include "ebookssending.h"
#include "ebooksservice.h"
#include "ebookssettings.h"
#include "ebookssettingswindow.h"
#include "fakesecrets.h"
#include "issuedreceiptswindow.h"
#include "recordgrid.h"
#include "mydatatestsupport.h"
#include "program.h"
#include "sendqueue.h"
#include "standin.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace MyData;

namespace {

class EbooksWindows : public ::testing::Test {
protected:
    EbooksWindows()
    {
        practice.exec("INSERT INTO INFORMATION (TITLE, AFT) VALUES ('Φυσικοθεραπευτήριο', '"
                      + QString::fromLatin1(MyDataTest::kVatNumber) + "')");
    }

    EbooksSettings stored()
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        return EbooksSettings::read(c);
    }

    // Every byte the practice keeps: its database file and whatever lies beside it.
    QByteArray practiceBytes()
    {
        QByteArray all;
        for (const QFileInfo &f : QDir(practice.dir()).entryInfoList(QDir::Files)) {
            QFile file(f.filePath());
            if (file.open(QIODevice::ReadOnly))
                all += file.readAll();
        }
        return all;
    }

    std::unique_ptr<EbooksService> turnOnWithThreeReceipts(Connection &c, const QString &folder,
                                                           StandIn &standIn);

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    FakeSecrets secrets;
};

const QString kKey = QStringLiteral("0123456789abcdef0123456789abcdef");

void fill(EbooksSettingsWindow &w, const QString &user, const QString &key, const QString &series)
{
    w.enabledBox()->setChecked(true);
    w.userBox()->setText(user);
    w.keyBox()->setText(key);
    w.seriesBox()->setText(series);
}

} // namespace

TEST_F(EbooksWindows, SettingsAreKeptByThePracticeAndTheKeyByTheKeyring)
{
    EbooksSettingsWindow w(secrets);
    w.show();
    waitUntil([&] { return !w.keyState()->text().isEmpty(); });
    // Off and on the test service until the practice says otherwise; no key yet.
    EXPECT_FALSE(w.enabledBox()->isChecked());
    EXPECT_EQ(w.serviceBox()->currentText(), BillingTexts::kEbooksTestService);
    EXPECT_EQ(w.keyState()->text(), BillingTexts::kEbooksKeyMissing);
    EXPECT_TRUE(w.findChild<QLabel *>("lblUntested")->text().contains("δεν έχει ακόμη ελεγχθεί"));
    EXPECT_EQ(w.keyBox()->echoMode(), QLineEdit::Password);

    fill(w, "practice1", kKey, "ΑΠΥ");
    // ORVANTA_SCREENSHOTS=DIR keeps a picture of the window for a person to look at.
    if (const QString dir = qEnvironmentVariable("ORVANTA_SCREENSHOTS"); !dir.isEmpty())
        w.grab().save(QDir(dir).filePath("ebooks-settings.png"));
    w.treatmentBox()->setCurrentIndex(w.treatmentBox()->findData(int(VatTreatment::Taxable)));
    w.paymentBox()->setCurrentIndex(w.paymentBox()->findData(8));
    w.saveClick();
    EXPECT_EQ(messages.last(), BillingTexts::kEbooksSaved);
    const EbooksSettings s = stored();
    EXPECT_TRUE(s.enabled);
    EXPECT_FALSE(s.production);
    EXPECT_EQ(s.user, "practice1");
    EXPECT_EQ(s.series, "ΑΠΥ");
    EXPECT_EQ(s.treatment, VatTreatment::Taxable);
    EXPECT_EQ(s.paymentMethod, 8);
    EXPECT_EQ(secrets.values[keyName("practice1")], kKey);
    EXPECT_FALSE(practiceBytes().contains(kKey.toLatin1()));
    EXPECT_TRUE(w.keyBox()->text().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return w.keyState()->text() == BillingTexts::kEbooksKeyStored; }));

    // Opened again: what was saved, the key only as "stored"; saving without typing it keeps it.
    EbooksSettingsWindow again(secrets);
    EXPECT_TRUE(again.enabledBox()->isChecked());
    EXPECT_EQ(again.userBox()->text(), "practice1");
    EXPECT_TRUE(again.keyBox()->text().isEmpty());
    ASSERT_TRUE(
        waitUntil([&] { return again.keyState()->text() == BillingTexts::kEbooksKeyStored; }));
    again.saveClick();
    EXPECT_EQ(messages.last(), BillingTexts::kEbooksSaved);
    EXPECT_EQ(secrets.values[keyName("practice1")], kKey);
    again.forgetKeyClick();
    EXPECT_TRUE(secrets.values.empty());
}

// Settings that could not work are not saved, and the person is told why.
TEST_F(EbooksWindows, SettingsThatCannotWorkAreNotSaved)
{
    struct Case {
        const char *what;
        QString user, key, series, vatNumber, keyringRefusal;
        QString message;
    };
    const QString vat = QString::fromLatin1(MyDataTest::kVatNumber);
    const Case cases[] = {
        {"no user", "", kKey, "Α", vat, {}, BillingTexts::kEbooksNeedUser},
        {"no key", "u", "", "Α", vat, {}, BillingTexts::kEbooksNeedKey},
        {"series with a blank", "u", kKey, "Α Β", vat, {}, BillingTexts::kEbooksBadSeries},
        {"series not in Greek bytes", "u", kKey, "Ж", vat, {}, BillingTexts::kEbooksBadSeries},
        {"tax number", "u", kKey, "Α", "123456789", {}, BillingTexts::kEbooksBadVatNumber},
        {"keyring refuses", "u", kKey, "Α", vat, "locked",
         BillingTexts::ebooksKeyNotSaved("locked")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        practice.exec("UPDATE INFORMATION SET AFT='" + c.vatNumber + "'");
        secrets.refusal = c.keyringRefusal;
        EbooksSettingsWindow w(secrets);
        fill(w, c.user, c.key, c.series);
        w.saveClick();
        EXPECT_EQ(messages.last(), c.message);
        EXPECT_FALSE(stored().enabled);
        EXPECT_TRUE(secrets.values.empty());
    }
}

TEST_F(EbooksWindows, SendingTheWaitingReceiptsSaysWhatHappenedToEach)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    secrets.values[keyName(StandIn::kUser)] = StandIn::kKey;
    EbooksSettings s;
    s.enabled = true;
    s.user = QLatin1String(StandIn::kUser);
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        s.write(c);
        SendQueue queue(c);
        for (qint64 n : {1, 2}) {
            practice.exec(QStringLiteral("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, POSO, VAT, "
                                         "SYNOLIKO_POSO) VALUES (%1, 40, 0, 40)")
                              .arg(n));
            QueueEntry e;
            e.number = n;
            e.series = s.series;
            queue.enqueue(e);
        }
    }
    EbooksService service(secrets, Program::DbConnectionString, folder, "A");
    service.reloadSettings();
    service.setServiceUrl(standIn.baseUrl());
    standIn.next({"success", "validation"});
    bool done = false;
    sendWaitingReceipts(nullptr, service, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    const QString text = messages.last();
    EXPECT_TRUE(text.startsWith(BillingTexts::ebooksSummary(1, 1, 0, 0))) << text.toStdString();
    EXPECT_TRUE(text.contains("Απόδειξη 2: ValidationError\r204: Field aa")) << text.toStdString();

    // Off: nothing is sent, and the person is told where to turn it on.
    s.enabled = false;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    s.write(c);
    service.reloadSettings();
    sendWaitingReceipts(nullptr, service);
    EXPECT_EQ(messages.last(), BillingTexts::kEbooksOff);
    EXPECT_EQ(standIn.calls("SendInvoices"), 2);
}

namespace {

// Receipts 1 (sent), 2 (waiting) and 3 (rejected), issued on the stand-in's terms.
void threeReceipts(Connection &c)
{
    SendQueue queue(c);
    for (qint64 n : {1, 2, 3}) {
        c.execute(QStringLiteral("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, POSO, VAT, "
                                 "SYNOLIKO_POSO) VALUES (%1, 40, 0, 40)")
                      .arg(n));
        QueueEntry e;
        e.number = n;
        e.series = "Α";
        Receipt r;
        r.series = e.series;
        r.number = n;
        r.issueDate = QDate::currentDate();
        e.uid = documentUid(Issuer{QString::fromLatin1(MyDataTest::kVatNumber), 0}, r);
        queue.enqueue(e);
    }
    queue.markRejected(3, {"204: aa"});
}

QStringList column(IssuedReceiptsWindow &w, int col);

} // namespace

// The e-books on with the stand-in's user and key, receipts 1 to 3 queued, and the service.
std::unique_ptr<EbooksService> EbooksWindows::turnOnWithThreeReceipts(Connection &c,
                                                                      const QString &folder,
                                                                      StandIn &standIn)
{
    secrets.values[keyName(StandIn::kUser)] = StandIn::kKey;
    EbooksSettings s;
    s.enabled = true;
    s.user = QLatin1String(StandIn::kUser);
    s.write(c);
    threeReceipts(c);
    auto service
        = std::make_unique<EbooksService>(secrets, Program::DbConnectionString, folder, "A");
    service->reloadSettings();
    service->setServiceUrl(standIn.baseUrl());
    return service;
}

namespace {

QStringList column(IssuedReceiptsWindow &w, int col)
{
    QStringList out;
    const QAbstractItemModel *m = w.grid()->model();
    for (int row = 0; row < m->rowCount(); ++row)
        out << m->index(row, col).data().toString();
    return out;
}

} // namespace

TEST_F(EbooksWindows, TheRegisterShowsTheStateOfEachReceiptAndCancelsAtTheService)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const std::unique_ptr<EbooksService> service_ = turnOnWithThreeReceipts(c, folder, standIn);
    EbooksService &service = *service_;
    EbooksService::setInstance(&service);
    SendQueue queue(c);
    {
        // Receipt 1 reaches the service; the others wait or stay rejected.
        bool sent = false;
        service.sendReceipt(1, [&](const Turn &) { sent = true; });
        ASSERT_TRUE(waitUntil([&] { return sent; }));
        ASSERT_EQ(queue.item(1)->state, SendState::Sent);
    }

    IssuedReceiptsWindow w;
    w.show();
    ASSERT_EQ(w.grid()->model()->columnCount(), 12);
    EXPECT_EQ(w.grid()->model()->headerData(10, Qt::Horizontal).toString(), "myDATA");
    EXPECT_EQ(column(w, 10), (QStringList{"Στάλθηκε", "Σε αναμονή", "Απορρίφθηκε"}));
    EXPECT_EQ(column(w, 11).first(), QString::number(queue.item(1)->mark));
    EXPECT_EQ(w.waitingLine()->text(), BillingTexts::ebooksWaitingCount(2));

    // Cancelling the sent receipt tells the service; the cancellation mark is kept.
    w.receipts().setCurrentRow(0);
    w.cancelClick();
    ASSERT_TRUE(waitUntil([&] { return queue.item(1)->cancel == CancelState::Done; }));
    EXPECT_GT(queue.item(1)->cancellationMark, 0);
    EXPECT_EQ(standIn.calls("CancelInvoice"), 1);
    EbooksService::setInstance(nullptr);
}

// A cancellation the service does not hear of waits, and goes with the next sending.
TEST_F(EbooksWindows, ACancellationThatFailsWaitsAndIsSentLater)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const std::unique_ptr<EbooksService> service_ = turnOnWithThreeReceipts(c, folder, standIn);
    EbooksService &service = *service_;
    SendQueue queue(c);
    bool sent = false;
    service.sendWaiting(false, [&](const DrainResult &) { sent = true; }); // 1 and 2 go
    ASSERT_TRUE(waitUntil([&] { return sent; }));
    ASSERT_EQ(queue.item(2)->state, SendState::Sent);

    standIn.next({"ratelimit"}); // the cancellation is refused for now
    EbooksService::setInstance(&service);
    IssuedReceiptsWindow w;
    w.show();
    w.receipts().setCurrentRow(0);
    w.cancelClick();
    ASSERT_TRUE(waitUntil([&] { return standIn.calls("CancelInvoice") == 1; }));
    ASSERT_TRUE(waitUntil([&] { return !queue.item(1)->cancelErrors.isEmpty(); }));
    EXPECT_EQ(queue.item(1)->cancel, CancelState::Pending);
    EXPECT_EQ(practice.scalar("SELECT EGKYRH FROM APODEIKSEIS WHERE AR_APODEIKSHS=1"), "False");

    bool drained = false;
    service.sendWaiting(false, [&](const DrainResult &) { drained = true; });
    ASSERT_TRUE(waitUntil([&] { return drained; }));
    EXPECT_EQ(queue.item(1)->cancel, CancelState::Done);
    EbooksService::setInstance(nullptr);
}

TEST_F(EbooksWindows, WithTheEbooksOffTheRegisterIsAsItWas)
{
    IssuedReceiptsWindow w;
    w.show();
    EXPECT_EQ(w.grid()->model()->columnCount(), 10);
    EXPECT_EQ(w.waitingLine(), nullptr);
}

// The waiting receipts go at start-up, and again at each turn of the retry timer.
TEST_F(EbooksWindows, RetriesSendAtStartUpAndEveryFewMinutes)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const std::unique_ptr<EbooksService> service = turnOnWithThreeReceipts(c, folder, standIn);
    EXPECT_EQ(service->retryTimer().interval(), EbooksService::kRetryMinutes * 60 * 1000);
    SendQueue queue(c);
    service->startRetries();
    ASSERT_TRUE(waitUntil([&] { return queue.waitingCount() == 1; })); // 3 stays rejected
    EXPECT_EQ(standIn.calls("SendInvoices"), 2);

    c.execute("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, POSO, VAT, SYNOLIKO_POSO) VALUES (4, 40, "
              "0, 40)");
    QueueEntry e;
    e.number = 4;
    e.series = "Α";
    queue.enqueue(e);
    service->retryTimer().start(50); // the timer's turn, sooner
    ASSERT_TRUE(waitUntil([&] { return queue.item(4)->state == SendState::Sent; }));
    EXPECT_EQ(standIn.calls("SendInvoices"), 3); // the rejected one is left to a person
}
