// The program's lock: the idle time on a clock the test turns, what the covered windows show,
// the password the lock asks for, the setting and its 0, the menu entry and its shortcut.
#include "accesswindows.h"
#include "idletimer.h"
#include "locksettingwindow.h"
#include "locktexts.h"
#include "lockwindow.h"
#include "mainwindow.h"
#include "patientdatawindow.h"
#include "patientfieldsform.h"
#include "practicesettings.h"
#include "program.h"
#include "screenlock.h"
#include "testsupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace TestSupport;

namespace {

constexpr qint64 kMinute = 60 * 1000;
const QString kPassword = QStringLiteral("Κλειδί 7");
const QString kTyped = QStringLiteral("Παπαδόπουλος-Γεωργίου");

// The accessibility events the program raised, while a screen reader is said to listen.
QList<QPair<QObject *, QAccessible::Event>> g_accessible;
void recordAccessible(QAccessibleEvent *event)
{
    g_accessible.append({event->object(), event->type()});
}

// A window of the same size as another, with nothing in it: covered, the two must look alike.
std::unique_ptr<QWidget> probeLike(QWidget *window)
{
    auto probe = std::make_unique<QWidget>();
    probe->setWindowTitle(QStringLiteral("probe"));
    probe->resize(window->size());
    probe->show();
    return probe;
}

// The start-up's login, answered with the practice's password.
int answerLogin(QDialog *d)
{
    if (auto *login = qobject_cast<LoginWindow *>(d)) {
        login->passwordEdit()->setText(kPassword);
        login->loginButton()->click();
    }
    return d->result();
}

// Types a text key by key, Greek letters included (QTest::keyClicks takes Latin-1 only).
void type(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void saveShot(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("ORVANTA_SHOTS");
    if (!dir.isEmpty())
        w->grab().save(QDir(dir).filePath(QLatin1String(name)));
}

} // namespace

class ScreenLockTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_practice = std::make_unique<TempPractice>();
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_practice->dir());
        m_messages = std::make_unique<RecordingMessages>();
        m_practice->exec(QStringLiteral("UPDATE SECURITY SET [PASSWORD]='%1'").arg(kPassword));
        m_practice->exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) "
                                        "VALUES('Γιώργος','Παπαδόπουλος')"));
        m_practice->exec(QStringLiteral("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) "
                                        "VALUES('Άννα','Ιωάννου')"));
        m_driver = std::make_unique<ModalDriver>(answerLogin);
        m_main = std::make_unique<MainWindow>();
        QVERIFY(m_main->startupGranted());
        m_main->show();
        m_lock = m_main->screenLock();
        QVERIFY(m_lock);
        m_lock->setClock([this] { return m_now; });
        m_messages->clear();
    }
    void cleanup()
    {
        m_main.reset();
        m_driver.reset();
        m_messages.reset();
        QDir::setCurrent(m_oldDir);
        m_practice.reset();
        QApplication::processEvents(); // the lock window goes with deleteLater
        const QWidgetList left = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(left.cbegin(), left.cend(), [](QWidget *w) { return w->isVisible(); }));
    }

    // The idle time counts from the last check that saw input; 0 never comes due.
    void idleTimerCountsFromTheLastInput_data()
    {
        QTest::addColumn<qint64>("timeout");
        QTest::addColumn<QList<qint64>>("inputs"); // checks with input just before them
        QTest::addColumn<qint64>("at");
        QTest::addColumn<bool>("due");
        const qint64 ten = 10 * kMinute;
        QTest::newRow("not yet") << ten << QList<qint64>() << ten - 1 << false;
        QTest::newRow("exactly") << ten << QList<qint64>() << ten << true;
        QTest::newRow("input puts it off") << ten << QList<qint64> {4 * kMinute} << ten << false;
        QTest::newRow("then due from it")
            << ten << QList<qint64> {4 * kMinute} << 14 * kMinute << true;
        QTest::newRow("off") << qint64(0) << QList<qint64>() << 1000 * kMinute << false;
    }
    void idleTimerCountsFromTheLastInput()
    {
        QFETCH(qint64, timeout);
        QFETCH(QList<qint64>, inputs);
        QFETCH(qint64, at);
        QFETCH(bool, due);
        IdleTimer idle;
        idle.setTimeout(timeout);
        idle.restart(0);
        for (qint64 t : inputs) {
            idle.noteInput();
            QVERIFY(!idle.due(t));
        }
        QCOMPARE(idle.due(at), due);
    }

    // After the idle time the lock covers the main window and an open patient window whose
    // field holds typed text; the covered windows show nothing of it, also in a picture of
    // them; a wrong password keeps the lock; the right one gives the windows back unchanged.
    void idleTimeCoversEveryWindowUntilThePassword()
    {
        QCOMPARE(m_lock->idleMinutes(), PracticeSettings::kDefaultLockMinutes);
        QVERIFY(m_lock->checkTimer()->isActive());
        const QString id = m_practice->scalar(
            QStringLiteral("SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO='Παπαδόπουλος'"));
        PatientDataWindow patient(m_main.get());
        patient.PatientId = id;
        patient.show(); // modal, as the patient list shows it
        QLineEdit *surname = patient.form()->edit(QStringLiteral("EPWNYMO"));
        surname->clear();
        type(surname, kTyped);
        surname->setCursorPosition(5);
        QCOMPARE(QApplication::activeModalWidget(), &patient);
        const QImage patientBefore = patient.grab().toImage();

        // Typing puts the lock off: the idle time counts from the check that saw it.
        m_now = 9 * kMinute;
        QTest::keyClick(surname, Qt::Key_End);
        m_lock->check();
        m_now += 10 * kMinute - 1;
        m_lock->check();
        QVERIFY(!m_lock->isLocked());

        auto probeMain = probeLike(m_main.get());
        auto probePatient = probeLike(&patient);
        m_now += 1;
        m_lock->check();
        QVERIFY(m_lock->isLocked());
        LockWindow *lock = m_lock->lockWindow();
        QVERIFY(lock && lock->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), lock);
        QCOMPARE(lock->windowTitle(), LockTexts::kLockCaption);

        // A covered window looks like any covered window of its size: nothing of its own shows.
        const QImage patientLocked = patient.grab().toImage();
        QVERIFY(patientLocked != patientBefore);
        QCOMPARE(patientLocked, probePatient->grab().toImage());
        QCOMPARE(m_main->grab().toImage(), probeMain->grab().toImage());
        saveShot(lock, "lock-window.png");
        saveShot(m_main.get(), "lock-main-covered.png");

        // A wrong password (the right one in another letter case) keeps it locked, with the
        // login's message; the field is emptied.
        type(lock->passwordEdit(), kPassword.toLower());
        QVERIFY(lock->unlockButton()->isEnabled());
        lock->unlockButton()->click();
        QCOMPARE(m_messages->texts(),
                 QStringList {QStringLiteral("Λανθασμένος κωδικός πρόσβασης.")});
        QVERIFY(m_lock->isLocked());
        QVERIFY(lock->isVisible());
        QVERIFY(lock->passwordEdit()->text().isEmpty());
        QCOMPARE(patient.grab().toImage(), probePatient->grab().toImage());
        // Neither Esc nor the window manager take the lock away.
        QTest::keyClick(lock, Qt::Key_Escape);
        lock->close();
        QVERIFY(lock->isVisible());

        type(lock->passwordEdit(), QStringLiteral("  ") + kPassword);
        QTest::keyClick(lock->passwordEdit(), Qt::Key_Return);
        QVERIFY(!m_lock->isLocked());
        QVERIFY(!m_lock->lockWindow());
        QCOMPARE(m_messages->texts().size(), 1);
        QVERIFY(patient.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), &patient);
        QCOMPARE(surname->text(), kTyped);
        QCOMPARE(surname->cursorPosition(), kTyped.size());
        QCOMPARE(patient.grab().toImage(), patientBefore);
        // Nothing was saved by locking: the row still holds the stored surname.
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE ID=")
                                    + id),
                 QStringLiteral("Παπαδόπουλος"));
        // The patient window still works: its edit is saved as before.
        QCOMPARE(patient.records().state(), RecordSet::State::Edit);
        patient.records().post();
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT EPWNYMO FROM STOIXEIA_PELATH WHERE ID=")
                                    + id),
                 kTyped);

        // After unlocking the idle time starts again.
        m_now += 10 * kMinute - 1;
        m_lock->check();
        QVERIFY(!m_lock->isLocked());
        patient.close();
    }

    // A window that opens by itself while locked is covered too, and a modal one does not take
    // the input from the lock window.
    void aWindowShownWhileLockedIsCovered()
    {
        m_lock->lockNow();
        QVERIFY(m_lock->isLocked());
        PatientDataWindow patient(m_main.get());
        patient.PatientId = m_practice->scalar(QStringLiteral("SELECT MIN(ID) FROM STOIXEIA_PELATH"));
        patient.show();
        auto probe = probeLike(&patient);
        QApplication::processEvents();
        QCOMPARE(patient.grab().toImage(), probe->grab().toImage());
        QCOMPARE(QApplication::activeModalWidget(), m_lock->lockWindow());
        // A covered window that grows keeps its cover whole.
        m_main->resize(m_main->size() + QSize(40, 30));
        probe->resize(m_main->size());
        QCOMPARE(m_main->grab().toImage(), probe->grab().toImage());

        type(m_lock->lockWindow()->passwordEdit(), kPassword);
        m_lock->lockWindow()->unlockButton()->click();
        QVERIFY(!m_lock->isLocked());
        QVERIFY(patient.findChildren<QWidget *>(QStringLiteral("lockCover")).isEmpty());
        patient.close();
    }

    // The setting is kept in the practice; 0 turns the idle lock off, while the menu entry
    // still locks at once.
    void settingZeroTurnsTheIdleLockOff()
    {
        QAction *entry = m_main->action(QStringLiteral("actLockSetting"));
        QVERIFY(entry);
        QCOMPARE(entry->text(), LockTexts::kSettingEntry);
        QVERIFY(m_main->findChild<QMenu *>(QStringLiteral("menuSettings"))->actions().contains(entry));
        int shownValue = -1;
        QString neverText;
        m_driver->setHandler([&](QDialog *d) {
            auto *w = qobject_cast<LockSettingWindow *>(d);
            if (!w)
                return int(QDialog::Rejected);
            w->show();
            saveShot(w, "lock-setting.png");
            shownValue = w->minutesBox()->value();
            w->minutesBox()->setValue(0);
            neverText = w->minutesBox()->text();
            saveShot(w, "lock-setting-off.png");
            w->saveButton()->click();
            return w->result();
        });
        entry->trigger();
        QCOMPARE(shownValue, 10);
        QCOMPARE(neverText, LockTexts::kSettingNever);
        QCOMPARE(m_practice->scalar(QStringLiteral("SELECT TIMH FROM RYTHMISEIS WHERE "
                                                   "ONOMA='lock_minutes'")),
                 QStringLiteral("0"));
        QCOMPARE(m_lock->idleMinutes(), 0);
        QVERIFY(!m_lock->checkTimer()->isActive());
        m_now += 1000 * kMinute;
        m_lock->check();
        QVERIFY(!m_lock->isLocked());

        QAction *lockNow = m_main->action(QStringLiteral("actLockNow"));
        QCOMPARE(lockNow->text(), LockTexts::kLockEntry);
        lockNow->trigger();
        QVERIFY(m_lock->isLocked());
        type(m_lock->lockWindow()->passwordEdit(), kPassword);
        m_lock->lockWindow()->unlockButton()->click();
        QVERIFY(!m_lock->isLocked());

        // The next start reads 0 from the practice; an exit leaves it as it was.
        m_driver->setHandler(answerLogin);
        MainWindow again;
        QVERIFY(again.screenLock());
        QCOMPARE(again.screenLock()->idleMinutes(), 0);
        m_driver->setHandler([](QDialog *d) {
            if (auto *w = qobject_cast<LockSettingWindow *>(d)) {
                w->minutesBox()->setValue(3);
                w->findChild<QPushButton *>(QStringLiteral("exitButton"))->click();
            }
            return d->result();
        });
        m_main->action(QStringLiteral("actLockSetting"))->trigger();
        QCOMPARE(m_lock->idleMinutes(), 0);
    }

    // What the practice holds decides the minutes; what cannot be read gives the default.
    void storedMinutes_data()
    {
        QTest::addColumn<QString>("stored"); // empty: no row
        QTest::addColumn<bool>("dropTable");
        QTest::addColumn<int>("minutes");
        QTest::newRow("no table (an older practice)") << QString() << true << 10;
        QTest::newRow("no row") << QString() << false << 10;
        QTest::newRow("off") << QStringLiteral("0") << false << 0;
        QTest::newRow("five") << QStringLiteral(" 5 ") << false << 5;
        QTest::newRow("not a number") << QStringLiteral("δέκα") << false << 10;
        QTest::newRow("negative") << QStringLiteral("-3") << false << 10;
        QTest::newRow("too many") << QStringLiteral("100000") << false << 10;
    }
    void storedMinutes()
    {
        QFETCH(QString, stored);
        QFETCH(bool, dropTable);
        QFETCH(int, minutes);
        if (dropTable)
            m_practice->exec(QStringLiteral("DROP TABLE RYTHMISEIS"));
        else if (!stored.isEmpty())
            m_practice->exec(QStringLiteral("INSERT INTO RYTHMISEIS(ONOMA,TIMH) VALUES("
                                            "'lock_minutes','%1')")
                                 .arg(stored));
        MainWindow again;
        QVERIFY(again.screenLock());
        QCOMPARE(again.screenLock()->idleMinutes(), minutes);
        QCOMPARE(again.screenLock()->checkTimer()->isActive(), minutes > 0);
        if (dropTable) {
            // The first setting stored makes the table.
            LockSettingWindow w;
            QCOMPARE(w.minutesBox()->value(), 10);
            w.minutesBox()->setValue(1);
            w.saveButton()->click();
            QCOMPARE(m_practice->scalar(QStringLiteral("SELECT TIMH FROM RYTHMISEIS")),
                     QStringLiteral("1"));
        }
        // Start-up said its notice and nothing else: no error.
        QCOMPARE(m_messages->texts(), QStringList {MainWindow::noticeText()});
    }

    // The shortcut locks from the main window and from a modal window over it; what it
    // types goes nowhere.
    void shortcutLocksFromEveryWindow()
    {
        QAction *lockNow = m_main->action(QStringLiteral("actLockNow"));
        QCOMPARE(lockNow->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        // No other entry of the menus answers the same keys.
        for (QAction *a : m_main->findChildren<QAction *>()) {
            if (a != lockNow)
                QVERIFY2(a->shortcut() != lockNow->shortcut(), qPrintable(a->text()));
        }
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        QTest::keyClick(m_main.get(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(m_lock->isLocked());
        type(m_lock->lockWindow()->passwordEdit(), kPassword);
        m_lock->lockWindow()->unlockButton()->click();
        QVERIFY(!m_lock->isLocked());

        PatientDataWindow patient(m_main.get());
        patient.PatientId = m_practice->scalar(QStringLiteral("SELECT MIN(ID) FROM STOIXEIA_PELATH"));
        patient.show();
        patient.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&patient));
        QLineEdit *surname = patient.form()->edit(QStringLiteral("EPWNYMO"));
        const QString before = surname->text();
        surname->setFocus();
        QTest::keyClick(surname, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(m_lock->isLocked());
        QCOMPARE(surname->text(), before);
        // The lock window is said to a screen reader as it appears: an alert, and the focus in
        // the password field; it carries its name and what it asks.
        type(m_lock->lockWindow()->passwordEdit(), kPassword);
        m_lock->lockWindow()->unlockButton()->click();
        patient.close();
    }

    // A screen reader finds the lock window by its name, hears what it asks, and lands in the
    // password field, which is named by its label.
    void screenReadersHearTheLockWindow()
    {
        g_accessible.clear();
        QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(recordAccessible);
        m_lock->lockNow();
        QAccessible::installUpdateHandler(before);
        LockWindow *lock = m_lock->lockWindow();
        QVERIFY(lock);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(lock);
        QCOMPARE(a->text(QAccessible::Name), LockTexts::kLockCaption);
        QCOMPARE(a->text(QAccessible::Description), LockTexts::kLockMessage);
        QCOMPARE(a->role(), QAccessible::Dialog);
        QAccessibleInterface *field = QAccessible::queryAccessibleInterface(lock->passwordEdit());
        QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Κωδικός πρόσβασης:"));
        QCOMPARE(field->text(QAccessible::Description), LockTexts::kLockMessage);
        QCOMPARE(lock->focusWidget(), lock->passwordEdit());
        // The events themselves reach a handler only where the platform has a screen reader
        // bridge switched on (the offscreen platform has none).
        if (QAccessible::isActive()) {
            QVERIFY(g_accessible.contains(
                qMakePair(static_cast<QObject *>(lock), QAccessible::Alert)));
            QVERIFY(g_accessible.contains(
                qMakePair(static_cast<QObject *>(lock->passwordEdit()), QAccessible::Focus)));
        }
        type(lock->passwordEdit(), kPassword);
        lock->unlockButton()->click();
        QVERIFY(!m_lock->isLocked());
    }

private:
    std::unique_ptr<TempPractice> m_practice;
    std::unique_ptr<RecordingMessages> m_messages;
    std::unique_ptr<ModalDriver> m_driver;
    std::unique_ptr<MainWindow> m_main;
    ScreenLock *m_lock = nullptr;
    qint64 m_now = 0;
    QString m_oldDir;
};

QTEST_MAIN(ScreenLockTest)
#include "tst_screenlock.moc"
