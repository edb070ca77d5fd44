// The password windows: their enable rules, what they store and what they say.
#include "aboutwindow.h"
#include "accesswindows.h"
#include "program.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace TestSupport;

class AccessTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_practice = std::make_unique<TempPractice>();
        m_messages = std::make_unique<RecordingMessages>();
    }
    void cleanup()
    {
        m_messages.reset();
        m_practice.reset();
    }

    void loginEnableRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks only") << QStringLiteral("    ") << false;
        QTest::newRow("full stop") << QStringLiteral("ab.c") << false;
        QTest::newRow("hyphen") << QStringLiteral("ab-c") << false;
        QTest::newRow("underscore") << QStringLiteral("ab_c") << false;
        QTest::newRow("quote") << QStringLiteral("ab'c") << false;
        QTest::newRow("slash") << QStringLiteral("ab/c") << true;
        QTest::newRow("inner blank") << QStringLiteral("ab c") << true;
        QTest::newRow("greek") << QStringLiteral("Κωδικός") << true;
    }
    void loginEnableRule()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        LoginWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Έλεγχος πρόσβασης"));
        QCOMPARE(w.size(), QSize(303, 159));
        QVERIFY(!w.loginButton()->isEnabled());
        w.passwordEdit()->insert(typed);
        QCOMPARE(w.loginButton()->isEnabled(), enabled);
        QCOMPARE(w.passwordEdit()->echoMode(), QLineEdit::Password);
    }

    void loginWrongPasswordEmptiesTheField()
    {
        LoginWindow w;
        QTest::keyClicks(w.passwordEdit(), QStringLiteral("wrong"));
        w.loginButton()->click();
        QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Λανθασμένος κωδικός πρόσβασης.")});
        QVERIFY(w.passwordEdit()->text().isEmpty());
        QVERIFY(!w.loginButton()->isEnabled());
        QVERIFY(!Program::LoginGranted);
        QTest::keyClicks(w.passwordEdit(), QStringLiteral(" 73051846 "));
        w.loginButton()->click();
        QVERIFY(Program::LoginGranted);
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void loginReportsADatabaseFailureAndStaysOpen()
    {
        QFile::remove(m_practice->dbPath());
        LoginWindow w;
        QTest::keyClicks(w.passwordEdit(), QStringLiteral("73051846"));
        w.loginButton()->click();
        QCOMPARE(m_messages->shown().size(), 1);
        QCOMPARE(m_messages->shown().first().kind, QStringLiteral("error"));
        QVERIFY(!Program::LoginGranted);
    }

    void firstPasswordNeedsTwoEqualSafeTexts()
    {
        FirstPasswordWindow w;
        QCOMPARE(w.size(), QSize(370, 157));
        QTest::keyClicks(w.newEdit(), QStringLiteral("abc/1 2"));
        QVERIFY(!w.storeButton()->isEnabled());
        QTest::keyClicks(w.confirmEdit(), QStringLiteral("abc/1 2"));
        QVERIFY(w.storeButton()->isEnabled());
        QTest::keyClick(w.confirmEdit(), Qt::Key_Backspace);
        QVERIFY(!w.storeButton()->isEnabled());
        QTest::keyClicks(w.confirmEdit(), QStringLiteral("2  "));
        QVERIFY(w.storeButton()->isEnabled());
        // Esc does not close it, nor does the window manager: it ends only by storing.
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(m_messages->shown().isEmpty());
        w.storeButton()->click();
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")), QStringLiteral("abc/1 2"));
        QCOMPARE(m_messages->texts(),
                 QStringList{QStringLiteral("Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία.")});
    }

    void firstPasswordRefusesForbiddenCharacters()
    {
        FirstPasswordWindow w;
        QTest::keyClicks(w.newEdit(), QStringLiteral("a.b"));
        QTest::keyClicks(w.confirmEdit(), QStringLiteral("a.b"));
        QVERIFY(!w.storeButton()->isEnabled());
    }

    void changePasswordNeedsTheOldOne()
    {
        m_practice->exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='old one'"));
        ChangePasswordWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Αλλαγή του κωδικού πρόσβασης"));
        QCOMPARE(w.size(), QSize(405, 219));
        QTest::keyClicks(w.oldEdit(), QStringLiteral("Old one"));
        QTest::keyClicks(w.newEdit(), QStringLiteral("fresh"));
        QTest::keyClicks(w.confirmEdit(), QStringLiteral("fresh"));
        QVERIFY(!w.changeButton()->isEnabled());
        w.oldEdit()->clear();
        QTest::keyClicks(w.oldEdit(), QStringLiteral(" old one"));
        QVERIFY(w.changeButton()->isEnabled());
        w.newEdit()->setText(QStringLiteral("fre-sh"));
        w.confirmEdit()->setText(QStringLiteral("fre-sh"));
        QVERIFY(!w.changeButton()->isEnabled());
        // The new password may equal the old one.
        w.newEdit()->setText(QStringLiteral("old one"));
        w.confirmEdit()->setText(QStringLiteral("old one "));
        QVERIFY(w.changeButton()->isEnabled());
        w.newEdit()->setText(QStringLiteral("Νέος 2"));
        w.confirmEdit()->setText(QStringLiteral("Νέος 2"));
        w.changeButton()->click();
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")), QStringLiteral("Νέος 2"));
        QCOMPARE(m_messages->texts(),
                 QStringList{QStringLiteral("Η αλλαγή του κωδικού πρόσβασης έγινε με επιτυχία.")});
    }

    void changePasswordExitStoresNothing()
    {
        ChangePasswordWindow w;
        w.show();
        QTest::keyClicks(w.oldEdit(), QStringLiteral("73051846"));
        QTest::keyClicks(w.newEdit(), QStringLiteral("x"));
        QTest::keyClicks(w.confirmEdit(), QStringLiteral("x"));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")), QStringLiteral("73051846"));
    }

    void aboutWindow()
    {
        AboutWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("About Orvanta"));
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

private:
    std::unique_ptr<TempPractice> m_practice;
    std::unique_ptr<RecordingMessages> m_messages;
};

QTEST_MAIN(AccessTest)
#include "access_test.moc"
