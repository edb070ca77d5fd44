// Sending receipts to the stand-in service: each of its answers, a reply that never comes, a
// lost reply found again without a second sending, a queue that drains when the service comes
// back, and cancellations.
#include "connection.h"
#include "invoicedocument.h"
#include "mydatatestsupport.h"
#include "mydatatexts.h"
#include "program.h"
#include "sender.h"
#include "sendqueue.h"
#include "senderpractice.h"
#include "standin.h"
#include "testsupport.h"

#include <QJsonObject>
#include <QProcess>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTcpServer>
#include <gtest/gtest.h>

using namespace MyData;
using namespace MyDataTest;

namespace {

// An address on this computer where nothing listens.
QUrl nobodyListens()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}

} // namespace

TEST(Sender, EachAnswerOfTheServiceLeavesTheReceiptInItsState)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    struct Case {
        const char *mode;
        SendState state;
        Outcome outcome;
        QString message; // part of what is kept
    };
    const Case cases[] = {
        {"success", SendState::Sent, Outcome::Sent, {}},
        {"wrapped", SendState::Sent, Outcome::Sent, {}},
        {"validation", SendState::Rejected, Outcome::Rejected, "204: Field aa"},
        {"syntax", SendState::Rejected, Outcome::Rejected, "101: Root element is missing."},
        {"technical", SendState::Waiting, Outcome::Waiting, MyDataTexts::kTechnical},
        {"ratelimit", SendState::Waiting, Outcome::Waiting, MyDataTexts::kBusy},
        {"unauthorized", SendState::Waiting, Outcome::Waiting, "invalid subscription key"},
        {"hang", SendState::InFlight, Outcome::Waiting, MyDataTexts::kUnreadable},
    };
    StandIn standIn(folder);
    ASSERT_TRUE(standIn.isRunning());
    qint64 n = 0; // a number of its own for each, as the stand-in refuses a document twice
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        Practice practice;
        practice.issue(++n);
        Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
        standIn.next({c.mode});
        const Turn turn = sendOne(sender, n);
        EXPECT_EQ(int(turn.outcome), int(c.outcome));
        const QueueItem it = practice.item(n);
        EXPECT_EQ(stateCode(it.state), stateCode(c.state));
        EXPECT_TRUE(it.errors.contains(c.message)) << it.errors.toStdString();
        EXPECT_EQ(it.attempts, 1);
        if (c.state == SendState::Sent) {
            EXPECT_GT(it.mark, 400001000000000);
            EXPECT_TRUE(it.qrUrl.startsWith("https://mydataapidev.aade.gr/TimologioQR/"));
            EXPECT_TRUE(it.qrUrl.contains(QStringLiteral("&mark=%1").arg(it.mark)));
            EXPECT_FALSE(it.sentAt.isEmpty());
        } else {
            EXPECT_EQ(it.mark, 0);
        }
        const QJsonObject last = standIn.log().last().toObject();
        EXPECT_EQ(last.value("call").toString(), "SendInvoices");
        EXPECT_TRUE(last.value("headers").toBool());
        EXPECT_TRUE(last.value("schema").toArray().isEmpty());
        // The stand-in read the document and found the identifier the queue keeps.
        if (c.state == SendState::Sent || QLatin1String(c.mode) == "validation") {
            EXPECT_EQ(last.value("uids").toArray().first().toString(), it.entry.uid);
        }
    }
}

TEST(Sender, AWrongKeyOrNoServiceLeavesTheReceiptWaiting)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Practice practice;
    practice.issue(1);
    {
        Sender sender(Program::DbConnectionString, folder,
                      settings(standIn.baseUrl(), "not-the-key"), "A");
        const Turn turn = sendOne(sender, 1);
        EXPECT_TRUE(turn.unreachable);
        EXPECT_TRUE(turn.message.startsWith(MyDataTexts::kKeyRefused));
        EXPECT_FALSE(standIn.log().last().toObject().value("headers").toBool());
    }
    Sender nobody(Program::DbConnectionString, folder, settings(nobodyListens()), "A");
    const Turn turn = sendOne(nobody, 1);
    EXPECT_TRUE(turn.unreachable);
    EXPECT_TRUE(turn.message.startsWith(MyDataTexts::kUnreachable));
    const QueueItem it = practice.item(1);
    EXPECT_EQ(it.state, SendState::Waiting);
    EXPECT_TRUE(it.sentLate);
}

// The stand-in keeps the document but its reply is lost; the next turn asks what it holds,
// finds the receipt by its identifier and keeps its MARK without sending it again.
TEST(Sender, ALostReplyIsFoundAgainWithoutASecondSending)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Practice practice;
    practice.issue(1);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    standIn.next({"lost"});
    sendOne(sender, 1);
    EXPECT_EQ(practice.item(1).state, SendState::InFlight);

    const Turn turn = sendOne(sender, 1);
    EXPECT_EQ(int(turn.outcome), int(Outcome::Sent));
    const QueueItem it = practice.item(1);
    EXPECT_EQ(it.state, SendState::Sent);
    EXPECT_EQ(it.mark, 400001000000001); // the stand-in's first MARK, given to the lost send
    EXPECT_FALSE(it.qrUrl.isEmpty());
    EXPECT_EQ(standIn.calls("SendInvoices"), 1);
    EXPECT_EQ(standIn.calls("RequestTransmittedDocs"), 1);
}

// Whatever the connection does after the document was written, it is written once, and the
// next turn asks the service before sending it again: found there, its MARK is kept; not there
// (the service never kept it), it is sent a second time.
TEST(Sender, ABrokenConnectionNeverSendsTheDocumentTwice)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    struct Case {
        const char *mode;
        bool kept; // the service kept the document before the connection broke
    };
    const Case cases[] = {
        {"dropbefore", false}, {"dropafter", false}, {"droprecorded", true},
        {"gateway", true},     {"late", true},       {"duplicate", true},
    };
    StandIn standIn({}, 0, {QStringLiteral("--late"), QStringLiteral("900")});
    ASSERT_TRUE(standIn.isRunning());
    qint64 n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        Practice practice;
        practice.issue(++n);
        Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
        const int before = standIn.calls("SendInvoices");
        standIn.next({c.mode});
        const Turn first = sendOne(sender, n);
        EXPECT_EQ(standIn.calls("SendInvoices"), before + 1); // never resent by the client
        const QString uid = practice.item(n).entry.uid;
        if (QLatin1String(c.mode) != "duplicate") {
            EXPECT_EQ(int(first.outcome), int(Outcome::Waiting));
            EXPECT_EQ(practice.item(n).state, SendState::InFlight);
            const Turn second = sendOne(sender, n);
            EXPECT_EQ(int(second.outcome), int(Outcome::Sent));
        }
        EXPECT_EQ(standIn.calls("SendInvoices"), before + (c.kept ? 1 : 2));
        const QueueItem it = practice.item(n);
        EXPECT_EQ(it.state, SendState::Sent);
        EXPECT_EQ(it.mark, standIn.held().value(uid).toVariant().toLongLong());
        EXPECT_GT(it.mark, 0);
    }
}

// 11's reply is lost, then 10 is sent and takes a higher MARK: the search for 11 starts before
// 11's first attempt, not after the MARKs of lower numbers, and finds it.
TEST(Sender, ALowerReceiptSentMeanwhileDoesNotHideALostOne)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn({});
    Practice practice;
    practice.issue(10);
    practice.issue(11);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    standIn.next({"droprecorded"});
    sendOne(sender, 11);
    EXPECT_EQ(int(sendOne(sender, 10).outcome), int(Outcome::Sent));
    EXPECT_EQ(int(sendOne(sender, 11).outcome), int(Outcome::Sent));
    EXPECT_EQ(practice.item(11).mark, 400001000000001);
    EXPECT_LT(practice.item(11).mark, practice.item(10).mark);
    EXPECT_EQ(standIn.calls("SendInvoices"), 2);
}

// A service that always gives a continuation token: the search stops at its page limit, and
// the receipt stays in flight, unsent, to be asked about again.
TEST(Sender, ASearchThatCannotFinishLeavesTheReceiptInFlight)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn({});
    Practice practice;
    practice.issue(1);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    standIn.next({"droprecorded", "default=endless"});
    sendOne(sender, 1);
    const Turn turn = sendOne(sender, 1);
    EXPECT_EQ(int(turn.outcome), int(Outcome::Waiting));
    EXPECT_EQ(turn.message, MyDataTexts::kSearchUnfinished);
    EXPECT_EQ(practice.item(1).state, SendState::InFlight);
    EXPECT_EQ(standIn.calls("RequestTransmittedDocs"), 50);
    EXPECT_EQ(standIn.calls("SendInvoices"), 1);
}

// A claim is judged by the database's clock: a workstation whose own clock runs ten minutes
// ahead does not take the receipt another one holds right now.
TEST(Sender, AClockAheadDoesNotTakeALiveClaim)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn({});
    Practice practice;
    practice.issue(1);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.executeNative(QStringLiteral("UPDATE MYDATA_APOSTOLES SET APOSTOLEAS='A', APOSTOLH_APO=? "
                                   "WHERE AR_APODEIKSHS=1"),
                    {QDateTime::currentDateTimeUtc().toString(Qt::ISODate)});
    Sender b(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "B");
    b.setClock([] { return QDateTime::currentDateTimeUtc().addSecs(600); });
    const Turn turn = sendOne(b, 1);
    EXPECT_EQ(int(turn.outcome), int(Outcome::Skipped));
    EXPECT_EQ(standIn.calls("SendInvoices"), 0);
    EXPECT_EQ(practice.item(1).state, SendState::Waiting);
}

// Over TLS, as to the real service: a peer whose certificate is not trusted gets no byte of the
// document, and a connection closed after the document still sends it only once.
TEST(Sender, OverTlsTheDocumentGoesOnceAndOnlyToATrustedPeer)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    QTemporaryDir dir;
    const QString cert = dir.filePath("cert.pem");
    const QString key = dir.filePath("key.pem");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                              "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                              "-keyout", key, "-out", cert});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
        GTEST_SKIP() << "openssl is needed to make the stand-in's certificate";
    StandIn standIn({}, 0, {QStringLiteral("--tls"), cert, key});
    ASSERT_TRUE(standIn.isRunning());
    ASSERT_EQ(standIn.baseUrl().scheme(), "https");
    Practice practice;
    practice.issue(1);
    practice.issue(2);
    {
        Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
        const Turn turn = sendOne(sender, 1);
        EXPECT_TRUE(turn.unreachable);
        EXPECT_EQ(practice.item(1).state, SendState::Waiting); // never written: not in flight
    }
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusted = before;
    ASSERT_TRUE(trusted.addCaCertificates(cert));
    QSslConfiguration::setDefaultConfiguration(trusted);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    standIn.next({"dropafter"});
    EXPECT_EQ(int(sendOne(sender, 1).outcome), int(Outcome::Waiting));
    EXPECT_EQ(practice.item(1).state, SendState::InFlight);
    EXPECT_EQ(int(sendOne(sender, 1).outcome), int(Outcome::Sent));
    EXPECT_EQ(int(sendOne(sender, 2).outcome), int(Outcome::Sent));
    EXPECT_EQ(standIn.calls("SendInvoices"), 3); // 1 not kept, then 1 and 2 each once
    EXPECT_EQ(practice.item(1).mark, standIn.held().value(practice.item(1).entry.uid).toVariant()
                                         .toLongLong());
    QSslConfiguration::setDefaultConfiguration(before);
}

// No reply and nothing kept by the service: the search finds nothing, so it is sent again.
TEST(Sender, ADocumentTheServiceNeverGotIsSentAgainAfterTheSearch)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Practice practice;
    practice.issue(1);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    standIn.next({"hang"});
    sendOne(sender, 1);
    EXPECT_EQ(int(sendOne(sender, 1).outcome), int(Outcome::Sent));
    EXPECT_EQ(standIn.calls("SendInvoices"), 2);
    EXPECT_EQ(standIn.calls("RequestTransmittedDocs"), 1);
    EXPECT_EQ(practice.item(1).attempts, 2);
    // Sent late, it says so.
    const QJsonArray log = standIn.log();
    EXPECT_TRUE(log.last().toObject().value("late").toArray().first().toBool());
}

TEST(Sender, TheQueueDrainsWhenTheServiceComesBack)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    const QUrl url = nobodyListens();
    Practice practice;
    for (qint64 n : {1, 2, 3})
        practice.issue(n);
    Sender sender(Program::DbConnectionString, folder, settings(url), "A");
    DrainResult down = drain(sender);
    EXPECT_EQ(down.turns.size(), 1); // the first finds no service; the rest are not tried
    EXPECT_EQ(down.waiting, 1);
    EXPECT_EQ(practice.queue().waitingCount(), 3);

    StandIn standIn(folder, url.port());
    ASSERT_TRUE(standIn.isRunning());
    const DrainResult up = drain(sender);
    EXPECT_EQ(up.sent, 3);
    EXPECT_EQ(practice.queue().waitingCount(), 0);
    EXPECT_EQ(standIn.calls("SendInvoices"), 3);
    EXPECT_EQ(drain(sender).turns.size(), 0); // nothing left, nothing sent twice
    EXPECT_EQ(standIn.calls("SendInvoices"), 3);
}

// A rejected receipt is sent again only when a person asks for the rejected ones too.
TEST(Sender, ARejectedReceiptWaitsForAPerson)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Practice practice;
    practice.issue(1);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    standIn.next({"validation"});
    drain(sender);
    EXPECT_EQ(drain(sender).turns.size(), 0);
    EXPECT_EQ(drain(sender, true).sent, 1);
}

TEST(Sender, ACancellationIsSentOnceAndALostReplyIsNotMistakenForAFailure)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Practice practice;
    practice.issue(1);
    practice.issue(2);
    Sender sender(Program::DbConnectionString, folder, settings(standIn.baseUrl()), "A");
    drain(sender);
    practice.queue().requestCancel(1);
    practice.queue().requestCancel(2);
    standIn.next({"success", "lost"});
    DrainResult first = drain(sender);
    EXPECT_EQ(first.cancelled, 1);
    EXPECT_EQ(practice.item(1).cancel, CancelState::Done);
    EXPECT_GT(practice.item(1).cancellationMark, 0);
    EXPECT_EQ(practice.item(2).cancel, CancelState::Pending);
    // The service cancelled 2 but the reply was lost: asked again, it says "already cancelled".
    DrainResult second = drain(sender);
    EXPECT_EQ(second.cancelled, 1);
    EXPECT_EQ(practice.item(2).cancel, CancelState::Done);
    EXPECT_EQ(practice.queue().waitingCount(), 0);
}

TEST(Sender, WithoutTheSchemaNothingIsSent)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    StandIn standIn(folder);
    Practice practice;
    practice.issue(1);
    Sender sender(Program::DbConnectionString, folder + "/missing", settings(standIn.baseUrl()),
                  "A");
    const Turn turn = sendOne(sender, 1);
    EXPECT_TRUE(turn.message.startsWith(MyDataTexts::kNoSchema));
    EXPECT_EQ(practice.item(1).state, SendState::Waiting);
    EXPECT_EQ(standIn.calls("SendInvoices"), 0);
}

TEST(ServiceClient, TheKeyGoesOnlyOverTlsOrToThisComputer)
{
    const std::pair<const char *, bool> cases[] = {
        {"https://mydataapidev.aade.gr/", true},
        {"https://mydatapi.aade.gr/myDATA/", true},
        {"http://127.0.0.1:8080/", true},
        {"http://[::1]:8080/", true},
        {"http://mydataapidev.aade.gr/", false},
        {"http://192.168.1.10/", false},
        {"ftp://127.0.0.1/", false},
        {"", false},
    };
    for (const auto &[url, ok] : cases)
        EXPECT_EQ(ServiceClient::isAcceptableUrl(QUrl(QString::fromLatin1(url))), ok) << url;
}
