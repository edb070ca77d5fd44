// The reminders' queue follows the appointment links; the pieces of a reminder's text.
#include "connection.h"
#include "program.h"
#include "reminderdelivery.h"
#include "remindercontacts.h"
#include "practicesettings.h"
#include "reminderqueue.h"
#include "remindertexts.h"
#include "schema.h"
#include "testsupport.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace Reminders;

namespace {

TEST(GreekMobile, IsOfferedOnlyForAGreekMobileNumber)
{
    const struct {
        const char *typed;
        const char *mobile;
    } cases[] = {
        {"6941234567", "+306941234567"},
        {"694 123 4567", "+306941234567"},
        {"694-123-45-67", "+306941234567"},
        {"+30 694 1234567", "+306941234567"},
        {"0030-6941234567", "+306941234567"},
        {"(+30) 694.123.4567", "+306941234567"},
        {"2101234567", ""},      // a landline
        {"694123456", ""},       // a digit short
        {"69412345678", ""},     // a digit more
        {"+44 7911 123456", ""}, // not Greek
        {"6941234567 (σπίτι)", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(greekMobile(QString::fromUtf8(c.typed)), QString::fromLatin1(c.mobile)) << c.typed;
}

TEST(EncodedWords, KeepEachWordWithinSeventyFiveCharactersAndWholeCharacters)
{
    EXPECT_EQ(encodedWords(QStringLiteral("Appointment")), QByteArray("Appointment"));
    const QString greek = QStringLiteral(
        "Υπενθύμιση ραντεβού στο Φυσικοθεραπευτήριο Άλφα την Τρίτη 15/12/2026 στις 09:30");
    const QByteArray words = encodedWords(greek);
    QString decoded;
    for (const QByteArray &w : words.split(' ')) {
        EXPECT_LE(w.size(), 75);
        ASSERT_TRUE(w.startsWith("=?UTF-8?B?") && w.endsWith("?=")) << w.constData();
        const QByteArray bytes = QByteArray::fromBase64(w.mid(10, w.size() - 12));
        // Each word decodes on its own: no character is split between two.
        EXPECT_EQ(QString::fromUtf8(bytes).toUtf8(), bytes);
        decoded += QString::fromUtf8(bytes);
    }
    EXPECT_EQ(decoded, greek);
}

class Queue : public ::testing::Test {
protected:
    Queue()
    {
        connection.setUp(Program::DbConnectionString, true);
        for (const QString &sql : Schema::appointmentLinksTableStatements(connection.engine()))
            connection.executeNative(sql);
        for (const char *name : {"Ελένη", "Νίκος"}) {
            practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO) VALUES "
                                         "('%1', 'Δοκιμή')")
                              .arg(QString::fromUtf8(name)));
            const qint64 id
                = practice.scalar(QStringLiteral("SELECT MAX(ID) FROM STOIXEIA_PELATH")).toLongLong();
            saveContact(connection, {id, QStringLiteral("p%1@example.gr").arg(id),
                                     QStringLiteral("+30694000000%1").arg(id), true,
                                     QDate(2026, 1, 1)});
            patients << id;
        }
        settings.enabled = true;
        settings.mailOn = true;
        day = QDate::currentDate().addDays(5);
        now = QDateTime::currentDateTimeUtc();
    }
    void link(const QDate &d, int slot, qint64 patient)
    {
        practice.exec(QStringLiteral("DELETE FROM RANTEBOU_ASTHENH WHERE HMEROMHNIA=#%1# AND THESH=%2")
                          .arg(d.toString(QStringLiteral("M/d/yyyy")))
                          .arg(slot));
        if (patient)
            practice.exec(QStringLiteral("INSERT INTO RANTEBOU_ASTHENH (HMEROMHNIA, THESH, ID) "
                                         "VALUES (#%1#, %2, %3)")
                              .arg(d.toString(QStringLiteral("M/d/yyyy")))
                              .arg(slot)
                              .arg(patient));
    }
    QStringList queue()
    {
        QStringList out;
        for (const Reminder &r : patientReminders(connection, patients[0])
                 + patientReminders(connection, patients[1]))
            out << QStringLiteral("%1/%2/%3/%4/%5/%6")
                       .arg(r.slot)
                       .arg(r.patientId == patients[0] ? QStringLiteral("A") : QStringLiteral("B"))
                       .arg(channelCode(r.channel))
                       .arg(r.round)
                       .arg(stateCode(r.state))
                       .arg(r.due.secsTo(slotStart(r.day, r.slot)) / 3600);
        out.sort();
        return out;
    }

    TestSupport::TempPractice practice;
    Connection connection;
    QList<qint64> patients;
    Settings settings;
    QDate day;
    QDateTime now;
};

TEST_F(Queue, FollowsTheLinksThroughEveryChange)
{
    link(day, 2, patients[0]);
    EXPECT_EQ(reconcile(connection, settings, now).added, 1);
    EXPECT_EQ(queue(), QStringList {"2/A/EMAIL/1/WAITING/24"});
    // Saved again unchanged: nothing to do.
    const ReconcileOutcome again = reconcile(connection, settings, now);
    EXPECT_EQ(again.added + again.dropped + again.changed, 0);

    // Moved to another slot: the old one is dropped, the new one queued.
    link(day, 2, 0);
    link(day, 5, patients[0]);
    ReconcileOutcome moved = reconcile(connection, settings, now);
    EXPECT_EQ(moved.added, 1);
    EXPECT_EQ(moved.dropped, 1);
    EXPECT_EQ(queue(), QStringList {"5/A/EMAIL/1/WAITING/24"});

    // Linked to another patient.
    link(day, 5, patients[1]);
    reconcile(connection, settings, now);
    EXPECT_EQ(queue(), QStringList {"5/B/EMAIL/1/WAITING/24"});

    // A second reminder, SMS too, and a new time.
    settings.smsOn = true;
    settings.hoursBefore = 48;
    settings.secondHoursBefore = 3;
    reconcile(connection, settings, now);
    EXPECT_EQ(queue(), (QStringList {"5/B/EMAIL/1/WAITING/48", "5/B/EMAIL/2/WAITING/3",
                                     "5/B/SMS/1/WAITING/48", "5/B/SMS/2/WAITING/3"}));

    // Consent withdrawn: nothing is owed.
    Contact c = *contact(connection, patients[1]);
    c.consent = false;
    saveContact(connection, c);
    reconcile(connection, settings, now);
    EXPECT_EQ(queue(), QStringList {});
}

TEST_F(Queue, NeverTouchesAReminderThatLeftAndNeverQueuesItAgain)
{
    link(day, 2, patients[0]);
    reconcile(connection, settings, now);
    const qint64 id = waiting(connection).first().id;
    ASSERT_TRUE(markInFlight(connection, id, QStringLiteral("A"), now));
    EXPECT_FALSE(markInFlight(connection, id, QStringLiteral("B"), now)); // one sender only
    link(day, 2, 0);
    reconcile(connection, settings, now);
    EXPECT_EQ(queue(), QStringList {"2/A/EMAIL/1/INFLIGHT/24"});
    markSent(connection, id, now);
    link(day, 2, patients[0]);
    EXPECT_EQ(reconcile(connection, settings, now).added, 0);
    EXPECT_EQ(queue(), QStringList {"2/A/EMAIL/1/SENT/24"});
    EXPECT_EQ(remindedSlots(connection, day), QList<int> {2});
    // The slot given to another patient: no longer marked as reminded.
    link(day, 2, patients[1]);
    EXPECT_EQ(remindedSlots(connection, day), QList<int> {});
}

TEST_F(Queue, AnAppointmentThatBeganKeepsItsUnsentReminderAsExpired)
{
    link(day, 2, patients[0]);
    reconcile(connection, settings, now);
    const ReconcileOutcome later
        = reconcile(connection, settings, slotStart(day, 2).toUTC().addSecs(60));
    EXPECT_EQ(later.expired, 1);
    EXPECT_EQ(queue(), QStringList {"2/A/EMAIL/1/EXPIRED/24"});
}

TEST_F(Queue, OffByDefaultAndNothingOwedWhenOff)
{
    EXPECT_FALSE(load(connection).enabled);
    link(day, 2, patients[0]);
    EXPECT_EQ(reconcile(connection).added, 0);
    settings.enabled = false;
    EXPECT_EQ(reconcile(connection, settings, now).added, 0);
}

TEST_F(Queue, AnOlderPracticeWithoutTheTablesReadsEmptyAndGetsThem)
{
    practice.exec(QStringLiteral("DROP TABLE YPENTHYMISEIS_RANTEBOU"));
    practice.exec(QStringLiteral("DROP TABLE EPIKOINWNIA_ASTHENH"));
    EXPECT_EQ(patientReminders(connection, patients[0]).size(), 0);
    EXPECT_EQ(remindedSlots(connection, day).size(), 0);
    EXPECT_FALSE(contact(connection, patients[0]).has_value());
    link(day, 2, patients[0]);
    EXPECT_EQ(reconcile(connection, settings, now).added, 0); // no contacts yet
    EXPECT_TRUE(Schema::hasTable(connection, QStringLiteral("YPENTHYMISEIS_RANTEBOU")));
}

TEST_F(Queue, SettingsKeepLongTemplatesAndReadBadValuesAsDefaults)
{
    Settings s = settings;
    s.message = QString(700, QChar(0x03C9)) + QStringLiteral("{ώρα}");
    s.smsBody = QStringLiteral("{\"to\":\"{αριθμός}\",\"text\":\"{μήνυμα}\"}");
    save(connection, s);
    EXPECT_EQ(load(connection), s);
    practice.exec(QStringLiteral("UPDATE RYTHMISEIS SET TIMH='πολλές' WHERE ONOMA='reminders.hours_before'"));
    EXPECT_EQ(load(connection).hoursBefore, 24);
    EXPECT_EQ(PracticeSettings::lockMinutes(connection), PracticeSettings::kDefaultLockMinutes);
}

TEST(SmsRequest, EncodesTheFieldsAsTheContentTypeWants)
{
    Settings s;
    s.smsUrl = QStringLiteral("https://sms.example/api?to={αριθμός}&key={κλειδί}");
    s.smsContentType = QStringLiteral("application/json");
    s.smsBody = QStringLiteral("{\"text\":\"{μήνυμα}\"}");
    s.smsHeader = QStringLiteral("Authorization: Bearer {κλειδί}");
    const SmsRequest r = smsRequest(s, QStringLiteral("k&y"), QStringLiteral("+306941234567"),
                                    QStringLiteral("Καλή \"μέρα\"\nστις 09:30"));
    EXPECT_EQ(r.url, QByteArray("https://sms.example/api?to=%2B306941234567&key=k%26y"));
    EXPECT_EQ(QString::fromUtf8(r.body), QStringLiteral("{\"text\":\"Καλή \\\"μέρα\\\"\\nστις 09:30\"}"));
    EXPECT_EQ(r.headerName, QByteArray("Authorization"));
    EXPECT_EQ(r.headerValue, QByteArray("Bearer k&y"));
    s.smsContentType = QStringLiteral("application/x-www-form-urlencoded");
    s.smsBody = QStringLiteral("text={μήνυμα}");
    EXPECT_EQ(smsRequest(s, {}, {}, QStringLiteral("α β&")).body, QByteArray("text=%CE%B1%20%CE%B2%26"));
}

} // namespace
