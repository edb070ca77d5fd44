// The reminders' settings window and the patient data window's contact group.
#include "connection.h"
#include "patientdatawindow.h"
#include "program.h"
#include "recordnavigator.h"
#include "remindercontactgroup.h"
#include "reminderssettingswindow.h"
#include "testsupport.h"
#include "../mydata/fakesecrets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(RemindersWindows, SettingsAreOffByDefaultAndTheSecretsGoToTheKeyring)
{
    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    FakeSecrets secrets;
    RemindersSettingsWindow w(secrets);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Υπενθυμίσεις ραντεβού"));
    EXPECT_FALSE(w.enabledBox()->isChecked());
    EXPECT_EQ(w.hoursBox()->value(), 24);
    w.resize(w.size());
    w.grab().save(QStringLiteral("/tmp/reminders-settings.png"));
    w.enabledBox()->setChecked(true);
    w.mailBox()->setChecked(true);
    w.saveClick(); // no server, no sender
    EXPECT_TRUE(messages.last().contains(QStringLiteral("διακομιστή SMTP")));
    w.hostBox()->setText(QStringLiteral("smtp.gmail.com"));
    w.senderAddressBox()->setText(QStringLiteral("iatreio@gmail.com"));
    w.userBox()->setText(QStringLiteral("iatreio@gmail.com"));
    w.passwordBox()->setText(QStringLiteral("abcd efgh ijkl mnop"));
    w.saveClick();
    EXPECT_EQ(secrets.values[QStringLiteral("smtp")], QStringLiteral("abcd efgh ijkl mnop"));
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const Reminders::Settings s = Reminders::load(c);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.smtpHost, QStringLiteral("smtp.gmail.com"));
    EXPECT_EQ(practice.count(QStringLiteral("SELECT * FROM RYTHMISEIS WHERE TIMH LIKE '*abcd*'")), 0);
}

TEST(RemindersWindows, ThePatientDataWindowKeepsTheContactWithPost)
{
    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    practice.exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, THLEFWNO_1, "
                                 "THLEFWNO_2) VALUES ('Ελένη', 'Ιωάννου', '210 1234567', "
                                 "'694-123 4567')"));
    const QString id = practice.scalar(QStringLiteral("SELECT MAX(ID) FROM STOIXEIA_PELATH"));
    PatientDataWindow w;
    w.PatientId = id;
    w.FormShow();
    ReminderContactGroup *g = w.reminderContact();
    // Only the mobile is offered.
    ASSERT_EQ(g->mobileBox()->count(), 1);
    EXPECT_EQ(g->mobileBox()->itemText(0), QStringLiteral("+306941234567"));
    w.grab().save(QStringLiteral("/tmp/reminders-patient.png"));
    g->emailBox()->setText(QStringLiteral("not an address"));
    w.recordBar()->press(RecordNavigator::Post);
    EXPECT_TRUE(messages.last().contains(QStringLiteral("δεν είναι σωστή")));
    g->emailBox()->setText(QStringLiteral("eleni@example.gr"));
    g->mobileBox()->setCurrentIndex(0);
    g->consentBox()->setChecked(true);
    w.recordBar()->press(RecordNavigator::Post);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const auto stored = Reminders::contact(c, id.toLongLong());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->email, QStringLiteral("eleni@example.gr"));
    EXPECT_EQ(stored->mobile, QStringLiteral("+306941234567"));
    EXPECT_TRUE(stored->consent);
    EXPECT_EQ(stored->consentDate, QDate::currentDate());
}

} // namespace
