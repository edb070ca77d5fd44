// Start-up as a person goes through it: splash, notice, first password, login, today's
// reminder, receipt numbering; the main window's menu, panel, clock and exit.
#include "accesswindows.h"
#include "mainwindow.h"
#include "olderlayouts.h"
#include "program.h"
#include "splashwindow.h"
#include "testsupport.h"
#include "todayreminderwindow.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace TestSupport;

namespace {

// Answers the start-up windows as a person would: the first password is "abc 12", the login
// tries each of the given passwords in turn and presses exit when they run out.
struct Person {
    QStringList logins = {QStringLiteral("abc 12")};
    QString firstPassword = QStringLiteral("abc 12");
    QString reminderText;
    int splashInterval = 0;

    int operator()(QDialog *dialog)
    {
        if (auto *splash = qobject_cast<SplashWindow *>(dialog)) {
            splashInterval = splash->timer()->interval();
            return QDialog::Accepted;
        }
        if (auto *first = qobject_cast<FirstPasswordWindow *>(dialog)) {
            QTest::keyClicks(first->newEdit(), firstPassword);
            QTest::keyClicks(first->confirmEdit(), firstPassword);
            first->storeButton()->click();
            return first->result();
        }
        if (auto *login = qobject_cast<LoginWindow *>(dialog)) {
            while (!logins.isEmpty() && !Program::LoginGranted) {
                login->passwordEdit()->clear();
                QTest::keyClicks(login->passwordEdit(), logins.takeFirst());
                login->loginButton()->click();
            }
            if (!Program::LoginGranted)
                login->exitButton()->click();
            return login->result();
        }
        if (auto *reminder = qobject_cast<TodayReminderWindow *>(dialog)) {
            reminder->show();
            reminderText = reminder->textView()->toPlainText();
            reminder->close();
            return QDialog::Rejected;
        }
        return QDialog::Rejected;
    }
};

QString todayLiteral(int yearsBack = 0)
{
    const QDate d = QDate::currentDate().addYears(-yearsBack);
    return QStringLiteral("#%1/%2/%3#").arg(d.month()).arg(d.day()).arg(d.year());
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_practice = std::make_unique<TempPractice>();
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_practice->dir());
        m_messages = std::make_unique<RecordingMessages>();
    }
    void cleanup()
    {
        m_messages.reset();
        QDir::setCurrent(m_oldDir);
        m_practice.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty()
                || std::none_of(QApplication::topLevelWidgets().cbegin(),
                                QApplication::topLevelWidgets().cend(),
                                [](QWidget *w) { return w->isVisible(); }));
    }

    void freshDatabaseLeadsThroughFirstPasswordAndLogin()
    {
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(w.startupGranted());
        QCOMPARE(person.splashInterval, 3000);
        QCOMPARE(driver.opened(),
                 (QStringList {QString(), QStringLiteral("Καθορισμός του κωδικού πρόσβασης"),
                               QStringLiteral("Έλεγχος πρόσβασης")}));
        QCOMPARE(m_messages->texts(),
                 (QStringList {MainWindow::noticeText(),
                               QStringLiteral(
                                   "Ο καθορισμός του κωδικού πρόσβασης έγινε με επιτυχία.")}));
        QVERIFY(MainWindow::noticeText().startsWith(
            QStringLiteral("Important Information\r\rPlease read carefully\r\r1) ")));
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")),
                 QStringLiteral("abc 12"));
        QCOMPARE(Program::AppDir, QDir::currentPath());
        QVERIFY(Program::DbConnectionString.contains(QDir::currentPath()
                                                     + QStringLiteral("\\data.mdb;")));
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        // Receipt numbering not defined: the entry is there and issuing stays off.
        QVERIFY(w.action(QStringLiteral("actReceiptNumbering"))->isVisible());
        QVERIFY(!Program::ReceiptNumberingDefined);
    }

    void storedPasswordSkipsFirstPasswordAndComparesExactly()
    {
        m_practice->exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='Secret 7'"));
        Person person;
        person.logins = {QStringLiteral("secret 7"), QStringLiteral("  Secret 7  ")};
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(w.startupGranted());
        QCOMPARE(driver.opened(), (QStringList {QString(), QStringLiteral("Έλεγχος πρόσβασης")}));
        QCOMPARE(m_messages->texts(),
                 (QStringList {MainWindow::noticeText(),
                               QStringLiteral("Λανθασμένος κωδικός πρόσβασης.")}));
    }

    // Layouts the launcher kept because the person changed them are named once, in a window.
    void olderLayoutsAreNamedOnce()
    {
        m_practice->exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='abc 12'"));
        QFile list(QDir(m_practice->dir()).filePath(QLatin1String(OlderLayouts::kFileName)));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("APODEIKSEIS.RAV\nLIST.RAV\nAPODEIKSEIS.RAV\n");
        list.close();
        const QString told = OlderLayouts::text(
            {QStringLiteral("APODEIKSEIS.RAV"), QStringLiteral("LIST.RAV")});
        for (int start = 0; start < 2; ++start) {
            Person person;
            ModalDriver driver(std::ref(person));
            MainWindow w;
            QVERIFY(w.startupGranted());
            QCOMPARE(m_messages->texts().count(told), 1);
        }
        QVERIFY(told.contains(QStringLiteral("APODEIKSEIS.RAV, LIST.RAV")));
    }

    void factoryPasswordChosenAgainAsksAgainNextTime()
    {
        Person person;
        person.firstPassword = QStringLiteral("73051846");
        person.logins = {QStringLiteral("73051846")};
        {
            ModalDriver driver(std::ref(person));
            MainWindow w;
            QVERIFY(w.startupGranted());
        }
        Person again;
        again.firstPassword = QStringLiteral("new one");
        again.logins = {QStringLiteral("new one")};
        ModalDriver driver(std::ref(again));
        MainWindow w;
        QVERIFY(w.startupGranted());
        QVERIFY(driver.opened().contains(QStringLiteral("Καθορισμός του κωδικού πρόσβασης")));
    }

    void leavingTheLoginEndsTheProgram()
    {
        Person person;
        person.logins = {};
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(!w.startupGranted());
        QVERIFY(!Program::LoginGranted);
        QVERIFY(!w.isVisible());
    }

    void escapeInTheLoginEndsTheProgram()
    {
        m_practice->exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='x'"));
        ModalDriver driver([](QDialog *d) {
            if (auto *login = qobject_cast<LoginWindow *>(d)) {
                QTest::keyClicks(login->passwordEdit(), QStringLiteral("x"));
                QTest::keyClick(login, Qt::Key_Escape);
                return login->result();
            }
            return int(QDialog::Accepted);
        });
        MainWindow w;
        QVERIFY(!w.startupGranted());
    }

    void missingDatabaseIsReportedAndEndsTheProgram()
    {
        QFile::remove(m_practice->dbPath());
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(!w.startupGranted());
        QCOMPARE(m_messages->shown().last().kind, QStringLiteral("error"));
        QVERIFY(m_messages->last().startsWith(QStringLiteral("Could not find file '")));
        QVERIFY(!QFile::exists(m_practice->dbPath()));
    }

    void todaysReminder_data()
    {
        // Reminders are entered in the order of the list; each is numbered by its entry.
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QString>("shownText");
        QTest::newRow("exactly one today")
            << QStringList {todayLiteral()} << QStringLiteral("Υπενθύμιση 1");
        QTest::newRow("two today, oldest entry first")
            << QStringList {todayLiteral(), todayLiteral(1), todayLiteral()}
            << QStringLiteral("Υπενθύμιση 1\n\nΥπενθύμιση 3");
        QTest::newRow("same day last year") << QStringList {todayLiteral(1)} << QString();
        QTest::newRow("none") << QStringList {} << QString();
    }
    void todaysReminder()
    {
        QFETCH(QStringList, dates);
        QFETCH(QString, shownText);
        for (int i = 0; i < dates.size(); ++i)
            m_practice->exec(
                QStringLiteral(
                    "INSERT INTO YPENTHIMISEIS(HMEROMHNIA,PERIGRAFH) VALUES(%1,'Υπενθύμιση %2')")
                    .arg(dates[i])
                    .arg(i + 1));
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(w.startupGranted());
        const bool shown = !shownText.isEmpty();
        QCOMPARE(driver.opened().contains(QStringLiteral("Υπενθυμίσεις")), shown);
        if (shown) {
            QCOMPARE(driver.opened().last(), QStringLiteral("Υπενθυμίσεις"));
            QCOMPARE(person.reminderText, shownText);
        }
    }

    void definedNumberingHidesTheEntry()
    {
        m_practice->exec(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(100)"));
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(!w.action(QStringLiteral("actReceiptNumbering"))->isVisible());
        QVERIFY(Program::ReceiptNumberingDefined);
    }

    void numberingEntryRechecksWhenItsWindowCloses()
    {
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(w.action(QStringLiteral("actReceiptNumbering"))->isVisible());
        CommandTable commands;
        commands[MenuCommand::ReceiptNumbering] = [this](QWidget *) {
            m_practice->exec(QStringLiteral("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1)"));
        };
        w.setCommands(commands);
        QVERIFY(w.action(QStringLiteral("actReceiptNumbering"))->isEnabled());
        QVERIFY(!w.action(QStringLiteral("actFindPatient"))->isEnabled());
        w.action(QStringLiteral("actReceiptNumbering"))->trigger();
        QVERIFY(!w.action(QStringLiteral("actReceiptNumbering"))->isVisible());
        QVERIFY(Program::ReceiptNumberingDefined);
    }

    void panelButtonsFollowTheirEntries()
    {
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(w.commandPanel()->isHidden());
        w.panelToggle()->click();
        QVERIFY(!w.commandPanel()->isHidden());
        w.panelToggle()->click();
        QVERIFY(w.commandPanel()->isHidden());

        const QList<QPushButton *> buttons = w.commandPanel()->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 13);
        QCOMPARE(buttons.first()->text(), QStringLiteral("Εύρεση ασθενούς"));
        QCOMPARE(buttons.last()->text(), QStringLiteral("Ραντεβού"));
        int opened = 0;
        CommandTable commands;
        commands[MenuCommand::Appointments] = [&](QWidget *parent) {
            QCOMPARE(parent, &w);
            ++opened;
        };
        w.setCommands(commands);
        QVERIFY(buttons.last()->isEnabled());
        QVERIFY(!buttons.first()->isEnabled());
        buttons.last()->click();
        w.action(QStringLiteral("actAppointments"))->trigger();
        QCOMPARE(opened, 2);
    }

    void statusBarClockAndBackup()
    {
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QCOMPARE(w.statusTimer()->interval(), 1000);
        QVERIFY(w.statusTimer()->isActive());
        QVERIFY(w.clockPanel()->text().isEmpty());
        w.Timer1Timer();
        QVERIFY(w.clockPanel()->text().startsWith(
            MainWindow::dateTimeText(QDateTime::currentDateTime()).left(8)));
        QCOMPARE(MainWindow::dateTimeText(QDateTime(QDate(2026, 3, 5), QTime(0, 0))),
                 QStringLiteral("5/3/2026"));
        QCOMPARE(MainWindow::dateTimeText(QDateTime(QDate(2026, 3, 5), QTime(9, 5, 7))),
                 QStringLiteral("5/3/2026 9:05:07"));
        QVERIFY(w.versionPanel()->text().contains(QStringLiteral("Version 2.0.0")));
        QCOMPARE(w.calendar()->selectedDate(), QDate::currentDate());

        m_messages->clear();
        w.action(QStringLiteral("actBackup"))->trigger();
        QVERIFY(m_messages->last().startsWith(
            QStringLiteral("Για να κάνετε backup τη βάση δεδομένων του λογισμικού πρέπει να "
                           "αντιγράψετε (να κάνετε copy) σε "
                           "ένα USB Flash Drive ή σε ένα CD ή κάπου αλλού, το αρχείο data.mdb που "
                           "βρίσκεται στο φάκελο "
                           "(directory) όπου είναι εγκατεστημένο το λογισμικό. Όταν θα κάνετε την "
                           "αντιγραφή να προσέξετε ώστε "
                           "το πρόγραμμα να μην είναι φορτωμένο, δηλαδή να μην τρέχει. ")));

        // The program's own backup and restore come right after it.
        const QList<QAction *> entries
            = w.findChild<QMenu *>(QStringLiteral("menuOptions"))->actions();
        const qsizetype at = entries.indexOf(w.action(QStringLiteral("actBackup")));
        QVERIFY(at >= 0 && at + 3 < entries.size());
        QCOMPARE(entries[at + 1]->text(), QStringLiteral("Αντίγραφο ασφαλείας τώρα…"));
        QCOMPARE(entries[at + 2]->text(), QStringLiteral("Επαναφορά από αντίγραφο…"));
        QVERIFY(entries[at + 3]->isSeparator());
    }

    void exitAsksAndEndsWithTheSplash()
    {
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        w.show();
        const int before = driver.opened().size();
        m_messages->queueAnswer(false);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(m_messages->shown().last().kind, QStringLiteral("yesno"));
        QCOMPARE(m_messages->last(), QStringLiteral("Έξοδος;"));
        QCOMPARE(driver.opened().size(), before);

        m_messages->queueAnswer(true);
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QVERIFY(w.ended());
        QCOMPARE(driver.opened().size(), before + 1);
        QCOMPARE(person.splashInterval, 3000);
    }

    // On a file that will not store the first password the window could never be left; now the
    // failure is shown with the engine's message and the program ends before the login.
    void firstPasswordThatCannotBeStoredEndsTheProgram_data()
    {
        QTest::addColumn<int>("failure");
        QTest::newRow("locked") << int(FailingPractice::Failure::Locked);
        QTest::newRow("read-only") << int(FailingPractice::Failure::ReadOnly);
    }
    void firstPasswordThatCannotBeStoredEndsTheProgram()
    {
        QFETCH(int, failure);
        const auto kind = FailingPractice::Failure(failure);
        Person person;
        ModalDriver driver(std::ref(person));
        std::unique_ptr<MainWindow> w;
        {
            FailingPractice failing(kind);
            w = std::make_unique<MainWindow>();
        }
        QVERIFY(!w->startupGranted());
        QCOMPARE(driver.opened(),
                 (QStringList {QString(), QStringLiteral("Καθορισμός του κωδικού πρόσβασης")}));
        QCOMPARE(m_messages->shown().size(), 2);
        QCOMPARE(m_messages->shown().last().kind, QStringLiteral("error"));
        QVERIFY2(m_messages->last().contains(FailingPractice::message(kind)),
                 qPrintable(m_messages->last()));
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT * FROM SECURITY")),
                 QStringLiteral("73051846"));
        QVERIFY(!Program::LoginGranted);
    }

    // Restored from maximised, the window takes its normal size again, centred.
    void restoredFromMaximisedIsNormalSizeAndCentred()
    {
        Person person;
        ModalDriver driver(std::ref(person));
        MainWindow w;
        QVERIFY(w.startupGranted());
        w.resize(300, 200);
        w.move(0, 0);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(w.windowState() & Qt::WindowMaximized);
        w.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(w.size(), QSize(MainWindow::kClientWidth, MainWindow::kClientHeight));
        const QRect area = w.screen()->availableGeometry();
        QTRY_VERIFY2((w.frameGeometry().center() - area.center()).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("%1,%2 in %3x%4")
                                    .arg(w.frameGeometry().center().x())
                                    .arg(w.frameGeometry().center().y())
                                    .arg(area.width())
                                    .arg(area.height())));
        w.hide();
    }

private:
    std::unique_ptr<TempPractice> m_practice;
    std::unique_ptr<RecordingMessages> m_messages;
    QString m_oldDir;
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
