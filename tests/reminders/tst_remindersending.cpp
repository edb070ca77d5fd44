// Appointment reminders sent to stand-ins on 127.0.0.1: an SMTP server (aiosmtpd, STARTTLS on
// a throwaway certificate, logging in) and an SMS provider's HTTP interface.
#include "connection.h"
#include "icalendar.h"
#include "program.h"
#include "remindercontacts.h"
#include "remindersending.h"
#include "schema.h"
#include "remindertexts.h"
#include "testsupport.h"

#include <QDir>
#include <QTimeZone>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Reminders;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kUser = QStringLiteral("practice@example.gr");
const QString kPassword = QStringLiteral("app-password");
const QString kSmsKey = QStringLiteral("sms-key-123");

// One stand-in server, started on the given port (0: its own choice) and stopped when it goes.
class StandIn {
public:
    StandIn(const QStringList &args, const QString &folder)
        : m_folder(folder)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(kPython, QStringList {QStringLiteral(STANDINS_SCRIPT)} + args);
        if (m_process.waitForReadyRead(20000)) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("PORT "))
                m_port = line.mid(5).toInt();
        }
    }
    ~StandIn() { stop(); }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    int port() const { return m_port; }
    QStringList files(const QString &pattern) const
    {
        QStringList out;
        for (const QString &f : QDir(m_folder).entryList({pattern}, QDir::Files, QDir::Name))
            out << QDir(m_folder).filePath(f);
        return out;
    }

private:
    QProcess m_process;
    QString m_folder;
    int m_port = 0;
};

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QJsonObject readMail(const QString &path)
{
    QProcess p;
    p.start(kPython, {QStringLiteral(STANDINS_SCRIPT), QStringLiteral("check"), path});
    p.waitForFinished(20000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QString fileText(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

struct Case {
    const char *name;
    Channel channel = Channel::Email;
    bool consent = true;
    bool address = true;
    bool clearedBeforeDue = false;
    bool serverDownFirst = false;
    bool wrongSecret = false;
    const char *killedAt = nullptr; // the child's step: "in-flight" or "delivered"
    // What came of it.
    int received = 1;
    std::optional<State> state = State::Sent;
    QString notice = {};
};

class Sending : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        day = QDate::currentDate().addDays(3);
        start = QDateTime(day, QTime(9, 30)).toUTC(); // slot 3
        practice.exec(QStringLiteral("INSERT INTO INFORMATION (TITLE, ADDRESS1, ADDRESS2, PHONE) "
                                     "VALUES ('Φυσικοθεραπευτήριο Άλφα', 'Ερμού 12', 'Αθήνα', "
                                     "'210 1234567')"));
        practice.exec(QStringLiteral(
            "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO) VALUES ('Ελένη', 'Παπαδοπούλου')"));
        patient = practice.scalar(QStringLiteral("SELECT MAX(ID) FROM STOIXEIA_PELATH")).toLongLong();
        connection.setUp(Program::DbConnectionString, true);
        for (const QString &sql : Schema::appointmentLinksTableStatements(connection.engine()))
            connection.executeNative(sql);
        practice.exec(QStringLiteral("INSERT INTO RANTEBOU_ASTHENH (HMEROMHNIA, THESH, ID) VALUES "
                                     "(#%1#, 3, %2)")
                          .arg(day.toString(QStringLiteral("M/d/yyyy")))
                          .arg(patient));
    }

    Settings settingsFor(const Case &c, int port) const
    {
        Settings s;
        s.enabled = true;
        if (c.channel == Channel::Email) {
            s.mailOn = true;
            s.smtpHost = QStringLiteral("127.0.0.1");
            s.smtpPort = port;
            s.smtpUser = kUser;
            s.senderName = QStringLiteral("Φυσικοθεραπευτήριο Άλφα");
            s.senderAddress = kUser;
            s.caFile = QDir(mailDir.path()).filePath(QStringLiteral("cert.pem"));
        } else {
            s.smsOn = true;
            s.smsUrl = QStringLiteral("http://127.0.0.1:%1/send?key={κλειδί}").arg(port);
            s.smsBody = QStringLiteral("to={αριθμός}&text={μήνυμα}");
            s.smsSuccess = QStringLiteral("STATUS=ACCEPTED");
        }
        return s;
    }

    RunReport run(const QDateTime &now, bool rightSecret = true)
    {
        Secrets secrets;
        secrets.mailPassword = rightSecret ? kPassword : QStringLiteral("wrong");
        secrets.mailPasswordFound = true;
        secrets.smsKey = rightSecret ? kSmsKey : QStringLiteral("wrong");
        secrets.smsKeyFound = true;
        RunOptions options;
        options.sender = QStringLiteral("test");
        options.timeoutSeconds = 20;
        return sendDue(connection, secrets, now, options);
    }

    TestSupport::TempPractice practice;
    QTemporaryDir mailDir;
    Connection connection;
    QDate day;
    QDateTime start;
    qint64 patient = 0;
};

TEST_P(Sending, SendsOnceWhenOwed)
{
    const Case c = GetParam();
    const int port = freePort();
    const QStringList serverArgs = c.channel == Channel::Email
        ? QStringList {QStringLiteral("smtp"), mailDir.path(), QString::number(port),
                       QStringLiteral("--user"), kUser, QStringLiteral("--password"), kPassword}
        : QStringList {QStringLiteral("sms"), mailDir.path(), QString::number(port),
                       QStringLiteral("--key"), kSmsKey};
    std::optional<StandIn> server;
    if (!c.serverDownFirst) {
        server.emplace(serverArgs, mailDir.path());
        ASSERT_EQ(server->port(), port);
    }
    Contact contact;
    contact.patientId = patient;
    contact.consent = c.consent;
    contact.consentDate = c.consent ? QDate(2026, 1, 10) : QDate();
    if (c.address) {
        contact.email = QStringLiteral("eleni@example.gr");
        contact.mobile = greekMobile(QStringLiteral("694 123-4567"));
    }
    saveContact(connection, contact);
    save(connection, settingsFor(c, port));

    const QDateTime due = start.addSecs(-24 * 3600);
    if (c.clearedBeforeDue) {
        EXPECT_EQ(reconcile(connection, load(connection), due.addSecs(-3600)).added, 1);
        practice.exec(QStringLiteral("DELETE FROM RANTEBOU_ASTHENH"));
    }
    QStringList notices;
    if (c.killedAt) {
        QProcess child;
        child.start(QStringLiteral(REMINDERS_CHILD),
                    {practice.dir(), due.addSecs(60).toString(Qt::ISODate),
                     QString::fromLatin1(c.killedAt), kPassword});
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        // Right after: still in flight, not sent again.
        notices += run(due.addSecs(120)).notices;
        EXPECT_EQ(reminder(connection, 1)->state, State::InFlight);
        notices += run(due.addSecs(3600)).notices;
    } else if (c.serverDownFirst) {
        const RunReport down = run(due.addSecs(60));
        EXPECT_EQ(down.retry, 1);
        EXPECT_EQ(reminder(connection, 1)->state, State::Waiting);
        server.emplace(serverArgs, mailDir.path());
        ASSERT_EQ(server->port(), port);
        // Not before its next try, then once, late.
        EXPECT_EQ(run(due.addSecs(120)).sent, 0);
        EXPECT_EQ(run(due.addSecs(3600)).sent, 1);
    } else if (c.wrongSecret) {
        notices += run(due.addSecs(60), false).notices;
        notices += run(due.addSecs(3600), false).notices;
    } else {
        notices += run(due.addSecs(-60)).notices; // not yet due
        notices += run(due.addSecs(60)).notices;
    }
    // A later run never sends it again.
    notices += run(due.addSecs(7200), !c.wrongSecret).notices;

    EXPECT_EQ(server->files(c.channel == Channel::Email ? QStringLiteral("mail-*.eml")
                                                        : QStringLiteral("sms-*.txt"))
                  .size(),
              c.received);
    const QList<Reminder> all = patientReminders(connection, patient);
    if (c.state) {
        ASSERT_EQ(all.size(), 1);
        EXPECT_EQ(all.first().state, *c.state) << qPrintable(all.first().error);
        EXPECT_EQ(remindedSlots(connection, day),
                  *c.state == State::Sent ? QList<int> {3} : QList<int> {});
    } else {
        EXPECT_TRUE(all.isEmpty());
    }
    if (c.notice.isEmpty())
        EXPECT_TRUE(notices.isEmpty()) << qPrintable(notices.join(QLatin1Char('\n')));
    else
        EXPECT_TRUE(notices.filter(c.notice).size() >= 1)
            << qPrintable(notices.join(QLatin1Char('\n')) + (all.isEmpty() ? QString() : all.first().error));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Sending,
    ::testing::Values(
        Case {.name = "MailSentOnce"},
        Case {.name = "SmsSentOnce", .channel = Channel::Sms},
        Case {.name = "NoConsent", .consent = false, .received = 0, .state = std::nullopt},
        Case {.name = "NoAddress", .address = false, .received = 0, .state = std::nullopt},
        Case {.name = "SmsNoAddress", .channel = Channel::Sms, .address = false, .received = 0,
              .state = std::nullopt},
        Case {.name = "SlotClearedBeforeDue", .clearedBeforeDue = true, .received = 0,
              .state = std::nullopt},
        Case {.name = "MailServerDownThenUp", .serverDownFirst = true},
        Case {.name = "SmsProviderDownThenUp", .channel = Channel::Sms, .serverDownFirst = true},
        Case {.name = "MailLoginRefused", .wrongSecret = true, .received = 0,
              .state = State::Waiting, .notice = ReminderTexts::kMailLoginRefused},
        Case {.name = "SmsKeyRefused", .channel = Channel::Sms, .wrongSecret = true,
              .received = 0, .state = State::Waiting, .notice = ReminderTexts::kSmsLoginRefused},
        Case {.name = "KilledAfterInFlightMark", .killedAt = "in-flight", .received = 0,
              .state = State::Uncertain, .notice = QStringLiteral("Δεν είναι γνωστό αν έφτασε")},
        Case {.name = "KilledAfterTheServerTookIt", .killedAt = "delivered", .received = 1,
              .state = State::Uncertain,
              .notice = QStringLiteral("Δεν είναι γνωστό αν έφτασε")}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

// The mail as a mail client reads it: Greek subject, sender and text intact, the appointment
// as a valid iCalendar attachment.
TEST_F(Sending, TheMailReadsAsGreekWithItsCalendar)
{
    const int port = freePort();
    StandIn server({QStringLiteral("smtp"), mailDir.path(), QString::number(port),
                    QStringLiteral("--user"), kUser, QStringLiteral("--password"), kPassword},
                   mailDir.path());
    saveContact(connection, {patient, QStringLiteral("eleni@example.gr"), QString(), true,
                             QDate(2026, 1, 10)});
    Settings s = settingsFor(Case {.name = "mail"}, port);
    // Long enough to need several encoded words in the subject.
    s.subject = QStringLiteral("Υπενθύμιση: το ραντεβού σας στο {ιατρείο} την {ημερομηνία} στις {ώρα}");
    save(connection, s);
    EXPECT_EQ(run(start.addSecs(-23 * 3600)).sent, 1);
    const QStringList mails = server.files(QStringLiteral("mail-*.eml"));
    ASSERT_EQ(mails.size(), 1);
    const QJsonObject mail = readMail(mails.first());
    const QString weekday = QLocale(QLocale::Greek).dayName(day.dayOfWeek());
    const QString date = weekday + QLatin1Char(' ') + day.toString(QStringLiteral("d/M/yyyy"));
    EXPECT_EQ(mail["subject"].toString(),
              QStringLiteral("Υπενθύμιση: το ραντεβού σας στο Φυσικοθεραπευτήριο Άλφα την %1 στις "
                             "09:30")
                  .arg(date));
    EXPECT_EQ(mail["from"].toString(),
              QStringLiteral("Φυσικοθεραπευτήριο Άλφα <%1>").arg(kUser));
    EXPECT_EQ(mail["text"].toString().trimmed(),
              QStringLiteral("Αγαπητέ/ή Παπαδοπούλου Ελένη, σας υπενθυμίζουμε το ραντεβού σας στο "
                             "Φυσικοθεραπευτήριο Άλφα την %1 και ώρα 09:30. Διεύθυνση: Ερμού 12, "
                             "Αθήνα. Για αλλαγή ή ακύρωση καλέστε στο 210 1234567.")
                  .arg(date));
    EXPECT_EQ(mail["method"].toString(), QStringLiteral("PUBLISH"));
    EXPECT_EQ(mail["calendar_method"].toString(), QStringLiteral("PUBLISH"));
    EXPECT_EQ(mail["calendar_filename"].toString(), QStringLiteral("rantevou.ics"));
    const QJsonArray events = mail["calendar"].toArray();
    ASSERT_EQ(events.size(), 1);
    const QJsonObject event = events.first().toObject();
    // The UID the appointment book's own export gives the slot.
    EXPECT_EQ(event["uid"].toString(),
              ICalendar::slotUid(ICalendar::practiceKey(connection), day, 3));
    EXPECT_EQ(event["summary"].toString(), QStringLiteral("Ραντεβού: Φυσικοθεραπευτήριο Άλφα"));
    // The book's times are the practice's own, Greek time, whatever zone this computer is set to.
    const QDateTime athens(day, QTime(9, 30), QTimeZone("Europe/Athens"));
    EXPECT_EQ(QDateTime::fromString(event["start"].toString(), Qt::ISODate), athens);
    EXPECT_EQ(QDateTime::fromString(event["end"].toString(), Qt::ISODate), athens.addSecs(1800));
}

// The SMS carries the Greek text and the normalised number to the provider.
TEST_F(Sending, TheSmsCarriesTheGreekTextAndTheNumber)
{
    const int port = freePort();
    StandIn server({QStringLiteral("sms"), mailDir.path(), QString::number(port),
                    QStringLiteral("--key"), kSmsKey},
                   mailDir.path());
    saveContact(connection, {patient, QString(), greekMobile(QStringLiteral("0030 6941234567")),
                             true, QDate(2026, 1, 10)});
    save(connection, settingsFor(Case {.name = "sms", .channel = Channel::Sms}, port));
    EXPECT_EQ(run(start.addSecs(-23 * 3600)).sent, 1);
    const QStringList sms = server.files(QStringLiteral("sms-*.txt"));
    ASSERT_EQ(sms.size(), 1);
    const QString text = fileText(sms.first());
    EXPECT_TRUE(text.contains(QStringLiteral("to=+306941234567"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Αγαπητέ/ή Παπαδοπούλου Ελένη"))) << qPrintable(text);
}

} // namespace
