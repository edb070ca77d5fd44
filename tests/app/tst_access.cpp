// The password windows: their enable rules, what they store and what they say.
#include "aboutwindow.h"
#include "accesswindows.h"
#include "appinfo.h"
#include "program.h"
#include "splashwindow.h"
#include "testsupport.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace TestSupport;

namespace {

// Takes the addresses the program asks the desktop to open, in place of the browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const char *scheme : {"https", "http", "mailto"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~UrlRecorder() override
    {
        for (const char *scheme : {"https", "http", "mailto"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

} // namespace

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
        QCOMPARE(m_messages->texts(),
                 QStringList {QStringLiteral("Λανθασμένος κωδικός πρόσβασης.")});
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
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")),
                 QStringLiteral("abc/1 2"));
        QCOMPARE(m_messages->texts(),
                 QStringList {
                     QStringLiteral("Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία.")});
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
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")),
                 QStringLiteral("Νέος 2"));
        QCOMPARE(m_messages->texts(),
                 QStringList {QStringLiteral("Η αλλαγή του κωδικού πρόσβασης έγινε με επιτυχία.")});
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
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")),
                 QStringLiteral("73051846"));
    }

    void aboutWindow()
    {
        AboutWindow w;
        QCOMPARE(w.windowTitle(), QStringLiteral("About Orvanta"));
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    // Only a left click on a link opens its address; a right click on a link opens nothing,
    // while a right click on the window (or its picture) opens the maker's page.
    void aboutLinksOpenOnALeftClickOnly_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("opened");
        const QString site = AppInfo::makerWebsite();
        QTest::newRow("website, left") << "websiteLink" << int(Qt::LeftButton) << site;
        QTest::newRow("website, right") << "websiteLink" << int(Qt::RightButton) << QString();
        QTest::newRow("e-mail, left") << "emailLink" << int(Qt::LeftButton)
                                      << QStringLiteral("mailto:") + AppInfo::makerEmail();
        QTest::newRow("e-mail, right") << "emailLink" << int(Qt::RightButton) << QString();
        QTest::newRow("badge, right") << "badge" << int(Qt::RightButton) << QString();
        QTest::newRow("picture, right") << "aboutPicture" << int(Qt::RightButton) << site;
    }
    void aboutLinksOpenOnALeftClickOnly()
    {
        QFETCH(QString, widget);
        QFETCH(int, button);
        QFETCH(QString, opened);
        UrlRecorder urls;
        AboutWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *target = w.findChild<QWidget *>(widget);
        QVERIFY(target);
        const QPoint at = target->rect().center();
        QTest::mouseClick(target, Qt::MouseButton(button), {}, at);
        if (button == Qt::RightButton) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &menu);
        }
        QCOMPARE(urls.opened, opened.isEmpty() ? QStringList() : QStringList {opened});
    }

    // The composed UPDATE of both password windows: the statement of the SQL statement file,
    // and a quote in a value (which the windows refuse anyway) cannot end the literal.
    void passwordUpdateText_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("sql");
        QTest::newRow("corpus") << "abc/12"
                                << "UPDATE SECURITY SET [PASSWORD]='abc/12'";
        QTest::newRow("greek") << "Νέος 2"
                               << "UPDATE SECURITY SET [PASSWORD]='Νέος 2'";
        QTest::newRow("quote") << "x' OR '1'='1"
                               << "UPDATE SECURITY SET [PASSWORD]='x'' OR ''1''=''1'";
    }
    void passwordUpdateText()
    {
        QFETCH(QString, password);
        QFETCH(QString, sql);
        QCOMPARE(passwordUpdateSql(password), sql);
        if (QTest::currentDataTag() == QLatin1String("corpus")) {
            QVERIFY(corpusLines().contains(sql));
        }
        // Stored as typed, quotes and all.
        m_practice->exec(sql);
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")), password);
    }

    // The password windows report a file that refuses the new password with the engine's
    // message; the first-password window then ends (the program ends after it), the change
    // window stays open.
    void passwordWindowsReportARefusedStore_data()
    {
        QTest::addColumn<int>("failure");
        QTest::newRow("locked") << int(FailingPractice::Failure::Locked);
        QTest::newRow("read-only") << int(FailingPractice::Failure::ReadOnly);
    }
    void passwordWindowsReportARefusedStore()
    {
        QFETCH(int, failure);
        const auto kind = FailingPractice::Failure(failure);
        FailingPractice failing(kind);
        {
            FirstPasswordWindow w;
            w.show();
            QTest::keyClicks(w.newEdit(), QStringLiteral("abc 12"));
            QTest::keyClicks(w.confirmEdit(), QStringLiteral("abc 12"));
            w.storeButton()->click();
            QVERIFY(!w.isVisible());
            QVERIFY(!w.stored());
            QCOMPARE(w.result(), int(QDialog::Rejected));
        }
        {
            ChangePasswordWindow w;
            w.show();
            QTest::keyClicks(w.oldEdit(), QStringLiteral("73051846"));
            QTest::keyClicks(w.newEdit(), QStringLiteral("abc 12"));
            QTest::keyClicks(w.confirmEdit(), QStringLiteral("abc 12"));
            w.changeButton()->click();
            QVERIFY(w.isVisible());
            w.hide();
        }
        QCOMPARE(m_messages->shown().size(), 2);
        for (const auto &shown : m_messages->shown()) {
            QCOMPARE(shown.kind, QStringLiteral("error"));
            QVERIFY2(shown.text.contains(FailingPractice::message(kind)), qPrintable(shown.text));
        }
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")),
                 QStringLiteral("73051846"));
    }

    // The splash ends by its timer alone: Esc and the window manager's close do nothing.
    void splashClosesOnlyByItsTimer()
    {
        SplashWindow splash;
        splash.timer()->setInterval(300);
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QTest::keyClick(&splash, Qt::Key_Escape);
        QVERIFY(splash.isVisible());
        QVERIFY(!splash.close());
        QVERIFY(splash.isVisible());
        QTRY_VERIFY(!splash.isVisible());
        QCOMPARE(splash.result(), int(QDialog::Accepted));
    }

private:
    std::unique_ptr<TempPractice> m_practice;
    std::unique_ptr<RecordingMessages> m_messages;
};

QTEST_MAIN(AccessTest)
#include "tst_access.moc"
