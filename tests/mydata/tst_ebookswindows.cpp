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
#include "schema.h"
#include "sendqueue.h"
#include "standin.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
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
    EXPECT_EQ(w.grid()->model()->headerData(2, Qt::Horizontal).toString(), "myDATA");
    EXPECT_EQ(column(w, 2), (QStringList{"Στάλθηκε", "Σε αναμονή", "Απορρίφθηκε"}));
    EXPECT_EQ(column(w, 3).first(), QString::number(queue.item(1)->mark));
    // Both seen without scrolling, in the window as it opens on a 1280×1024 screen.
    ASSERT_LE(w.width(), 1280);
    const QRect mark = w.grid()->visualRect(w.grid()->model()->index(0, 3));
    EXPECT_LE(mark.right(), w.grid()->viewport()->width()) << mark.right();
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

// Saving the settings while a receipt is on its way: that sending ends with the sender it began
// with, and the next one goes with the new settings.
TEST_F(EbooksWindows, SavingTheSettingsDuringASendingStopsNothing)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder, 0, {QStringLiteral("--late"), QStringLiteral("300")});
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const std::unique_ptr<EbooksService> service = turnOnWithThreeReceipts(c, folder, standIn);
    service->setTimeoutMs(5000);
    SendQueue queue(c);
    standIn.next({"late"});
    std::optional<Turn> first;
    service->sendReceipt(1, [&](const Turn &t) { first = t; });
    ASSERT_TRUE(waitUntil([&] { return standIn.calls("SendInvoices") == 1; }));
    service->reloadSettings();
    ASSERT_TRUE(waitUntil([&] { return first.has_value(); }));
    EXPECT_EQ(int(first->outcome), int(Outcome::Sent));
    std::optional<Turn> second;
    service->sendReceipt(2, [&](const Turn &t) { second = t; });
    ASSERT_TRUE(waitUntil([&] { return second.has_value(); }));
    EXPECT_EQ(int(second->outcome), int(Outcome::Sent));
}

// A queue that cannot be read is said to be so, not counted as "nothing to send".
TEST_F(EbooksWindows, AQueueThatCannotBeReadIsReportedAsAFailure)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const std::unique_ptr<EbooksService> service = turnOnWithThreeReceipts(c, folder, standIn);
    bool sent = false;
    service->sendReceipt(1, [&](const Turn &) { sent = true; });
    ASSERT_TRUE(waitUntil([&] { return sent; }));
    // The queue's state column is gone from under the running sender.
    c.executeNative(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO X")
                        .arg(c.quoteName(QLatin1String(Schema::kEbooksTable)),
                             c.quoteName(QStringLiteral("KATASTASH"))));
    bool done = false;
    sendWaitingReceipts(nullptr, *service, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_TRUE(messages.last().startsWith(BillingTexts::kEbooksQueueUnreadable))
        << messages.last().toStdString();
}

// Every state of the key is read whole, clear of the button beside it, at the window's size.
TEST_F(EbooksWindows, TheSettingsWindowFitsItsTexts)
{
    EbooksSettingsWindow w(secrets);
    w.show();
    for (const QString &text : {BillingTexts::kEbooksKeyStored, BillingTexts::kEbooksKeyMissing}) {
        SCOPED_TRACE(text.toStdString());
        w.keyState()->setText(text);
        w.layout()->activate();
        QLabel *state = w.keyState();
        EXPECT_GE(state->height(), state->heightForWidth(state->width()));
        EXPECT_LE(state->fontMetrics().horizontalAdvance(text),
                  state->wordWrap() ? 2 * state->width() : state->width());
        const QRect button(w.forgetKeyButton()->mapTo(&w, QPoint(0, 0)),
                           w.forgetKeyButton()->size());
        const QRect label(state->mapTo(&w, QPoint(0, 0)), state->size());
        EXPECT_FALSE(label.intersects(button));
        EXPECT_TRUE(w.rect().contains(label));
    }
}

// A receipt another workstation holds (one whose program stopped, say) is counted as waiting,
// with the time its claim lapses, not left out of the summary.
TEST_F(EbooksWindows, TheSummaryCountsReceiptsAnotherWorkstationHolds)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const std::unique_ptr<EbooksService> service = turnOnWithThreeReceipts(c, folder, standIn);
    const QDateTime claimed = QDateTime::currentDateTimeUtc();
    c.executeNative(QStringLiteral("UPDATE %1 SET APOSTOLEAS='Z', APOSTOLH_APO=? WHERE "
                                   "AR_APODEIKSHS=2")
                        .arg(QLatin1String(Schema::kEbooksTable)),
                    {claimed.toString(Qt::ISODate)});
    bool done = false;
    sendWaitingReceipts(nullptr, *service, [&] { done = true; });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    const QString until = QDateTime::fromString(claimed.toString(Qt::ISODate), Qt::ISODate)
                              .addSecs(SendQueue::kClaimSeconds)
                              .toLocalTime()
                              .toString(QStringLiteral("d/M/yyyy HH:mm"));
    const QString text = messages.last();
    EXPECT_TRUE(text.startsWith(BillingTexts::ebooksSummary(2, 0, 1, 0))) << text.toStdString();
    EXPECT_TRUE(text.contains(BillingTexts::ebooksHeldElsewhere(1, until))) << text.toStdString();
    EXPECT_EQ(standIn.calls("SendInvoices"), 2); // 1, and the rejected 3 sent again; not 2
}
