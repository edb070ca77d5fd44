// A server that dies while it holds a registration's COMMIT: the commit record is on the
// server's disk, the answer never reaches the window. A standby named in
// synchronous_standby_names that never connects keeps each COMMIT waiting; a second thread sees
// the wait, stops the server at once (pg_ctl stop -m immediate), and the test starts it again
// and presses again. Whatever the window said, the row must exist exactly once, and the person
// must never have been told that a row which exists was not registered.
//
// The test runs a cluster of its own (it stops and reconfigures it), so it needs the server's
// binaries; it runs with the other server tests (tests/server/run.sh).
#include "connection.h"
#include "dberror.h"
#include "expenseseditor.h"
#include "newpatientwindow.h"
#include "patientfieldsform.h"
#include "program.h"
#include "receiptwindow.h"
#include "recordnavigator.h"
#include "serversession.h"
#include "tableeditorwindow.h"
#include "testsupport.h"
#include "visitswindow.h"
#include "windowhooks.h"

#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <iostream>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
    }
}

QString serverBin()
{
    QStringList versions
        = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    return versions.isEmpty() ? QString()
                              : QStringLiteral("/usr/lib/postgresql/%1/bin").arg(versions.last());
}

// A cluster of the test's own, made by scripts/pg-cluster.sh, that the test stops at once and
// starts again on the same port.
class HeldCluster {
public:
    bool start()
    {
        if (!m_dir.isValid() || serverBin().isEmpty())
            return false;
        QProcess script;
        script.start(QStringLiteral("bash"),
                     {QStringLiteral(ORVANTA_SOURCE_DIR "/scripts/pg-cluster.sh"),
                      QStringLiteral("start"), m_dir.path()});
        if (!script.waitForFinished(120000) || script.exitCode() != 0) {
            std::cerr << script.readAllStandardError().toStdString();
            return false;
        }
        m_connection = QString::fromUtf8(script.readAllStandardOutput()).trimmed();
        QFile port(QDir(m_dir.path()).filePath(QStringLiteral("port")));
        if (!port.open(QIODevice::ReadOnly))
            return false;
        m_port = QString::fromUtf8(port.readAll()).trimmed();
        m_started = true;
        return !m_connection.isEmpty();
    }
    ~HeldCluster()
    {
        if (m_started)
            pgCtl({QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"),
                   QStringLiteral("stop")});
    }
    QString connection() const { return m_connection; }

    // Every COMMIT from now on waits for a standby that never connects.
    void holdCommits(bool hold)
    {
        ServerSession s(m_connection);
        s.run(hold ? QStringLiteral("ALTER SYSTEM SET synchronous_standby_names = "
                                    "'never_connects'")
                   : QStringLiteral("ALTER SYSTEM RESET synchronous_standby_names"));
        s.run(QStringLiteral("SELECT pg_reload_conf()"));
    }
    // Sessions waiting in their COMMIT for the standby.
    int heldCommits() const
    {
        ServerSession s(m_connection);
        return s
            .run(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE wait_event = "
                                "'SyncRep'"))
            .rows.at(0)
            .at(0)
            .toInt();
    }
    bool kill()
    {
        return pgCtl({QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                      QStringLiteral("stop")});
    }
    bool restart()
    {
        return pgCtl({QStringLiteral("-l"), QDir(m_dir.path()).filePath("server.log"),
                      QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                      QStringLiteral("-o"),
                      QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -c "
                                     "unix_socket_directories='' -c fsync=on -c "
                                     "max_connections=60")
                          .arg(m_port),
                      QStringLiteral("start")});
    }

private:
    bool pgCtl(QStringList args) const
    {
        args.prepend(QDir(m_dir.path()).filePath(QStringLiteral("data")));
        args.prepend(QStringLiteral("-D"));
        QString program = serverBin() + QStringLiteral("/pg_ctl");
        if (geteuid() == 0) { // the server runs as nobody, as pg-cluster.sh starts it
            args.prepend(program);
            const QStringList as {QStringLiteral("-u"), QStringLiteral("nobody"),
                                  QStringLiteral("--")};
            args = as + args;
            program = QStringLiteral("runuser");
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        const bool ok = p.waitForFinished(120000) && p.exitCode() == 0;
        if (!ok)
            std::cerr << p.readAll().toStdString();
        return ok;
    }

    QTemporaryDir m_dir;
    QString m_connection;
    QString m_port;
    bool m_started = false;
};

// A window as the test drives it: typed in once, pressed, asked whether it says "registered".
struct Entry {
    std::function<void()> press;
    std::function<bool()> registered;
    std::shared_ptr<QWidget> window;
};

struct Case {
    const char *name;
    const char *rows; // the marked rows, in the windows' dialect
    std::function<Entry(TestSupport::TempPractice &, QStringList &printed)> open;
};

const QString kMark = QStringLiteral("Κρατημένη");

// What a window says when it tells the person a row was not written.
bool deniesWriting(const QString &text)
{
    return text.contains(QStringLiteral("δεν έγινε"))
        || text.contains(QStringLiteral("δεν αποθηκεύτηκε"));
}

const Case kCases[] = {
    {"receipt", "SELECT * FROM APODEIKSEIS WHERE PERIGRAFH='Κρατημένη'",
     [](TestSupport::TempPractice &practice, QStringList &printed) {
         practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(100)");
         practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
         WindowHooks::printReceipt
             = [&printed](QWidget *, const QString &number) { printed << number; };
         auto w = std::make_shared<ReceiptWindow>();
         w->PatientId = "1";
         w->PatientFirstName = "Άννα";
         w->PatientSurname = "Ιωάννου";
         w->FormShow();
         QTest::keyClicks(w->amountBox(), "40");
         typeText(w->descriptionBox(), kMark);
         ReceiptWindow *raw = w.get();
         return Entry {[raw] { raw->registerButton()->click(); },
                       [&printed] { return !printed.isEmpty(); }, w};
     }},
    {"new patient", "SELECT * FROM STOIXEIA_PELATH WHERE EPWNYMO='Κρατημένη'",
     [](TestSupport::TempPractice &, QStringList &) {
         auto w = std::make_shared<NewPatientWindow>();
         typeText(w->form()->edit("ONOMA"), "Ελένη");
         typeText(w->form()->edit("EPWNYMO"), kMark);
         NewPatientWindow *raw = w.get();
         return Entry {[raw] { raw->recordBar()->press(RecordNavigator::Post); },
                       [raw] { return raw->records().state() == RecordSet::State::Browse; }, w};
     }},
    {"visit", "SELECT * FROM EPISKEPSEIS WHERE AITIA='Κρατημένη'",
     [](TestSupport::TempPractice &practice, QStringList &) {
         practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Μαρία','Ιωάννου')");
         auto w = std::make_shared<VisitsWindow>();
         w->PatientFirstName = "Μαρία";
         w->PatientSurname = "Ιωάννου";
         w->PatientId = practice.scalar("SELECT MAX(ID) FROM STOIXEIA_PELATH");
         w->FormShow();
         typeText(w->dateBox(), "3/3/2026");
         typeText(w->reasonBox(), kMark);
         VisitsWindow *raw = w.get();
         // A registered visit is listed, and the form is ready for the next one.
         return Entry {[raw] { raw->entryBar()->press(RecordNavigator::Post); },
                       [raw] { return raw->visits().rowCount() > 0; }, w};
     }},
    {"expense", "SELECT * FROM EKSODA WHERE PERIGRAFH='Κρατημένη'",
     [](TestSupport::TempPractice &, QStringList &) {
         auto w = std::make_shared<TableEditorWindow>(ExpensesEditor::layout());
         w->FormShow();
         w->navigator()->press(RecordNavigator::Insert);
         typeText(w->editor("HMEROMHNIA"), "5/3/2026");
         typeText(w->editor("POSO"), "100");
         typeText(w->editor("VAT"), "24");
         typeText(w->editor("PERIGRAFH"), kMark);
         TableEditorWindow *raw = w.get();
         return Entry {[raw] { raw->navigator()->press(RecordNavigator::Post); },
                       [raw] { return raw->table().state() == RecordSet::State::Browse; }, w};
     }},
};

class HeldCommit : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (TestSupport::testServer().isEmpty())
            return;
        s_cluster = new HeldCluster;
        if (!s_cluster->start()) {
            delete s_cluster;
            s_cluster = nullptr;
            return;
        }
        // The practices of this test live on its own cluster, made from nothing.
        qputenv("ORVANTA_TEST_SERVER", s_cluster->connection().toUtf8());
        qunsetenv("ORVANTA_TEST_SERVER_TEMPLATE");
    }
    static void TearDownTestSuite()
    {
        delete s_cluster;
        s_cluster = nullptr;
    }
    void SetUp() override
    {
        if (TestSupport::testServer().isEmpty())
            GTEST_SKIP() << "needs the test server (tests/server/run.sh)";
        if (!s_cluster)
            GTEST_FAIL() << "the test's own cluster did not start";
    }

    static HeldCluster *s_cluster;
};

HeldCluster *HeldCommit::s_cluster = nullptr;

} // namespace

TEST_F(HeldCommit, ARegistrationWhoseCommitAnswerWasLostExistsOnceAndIsNeverDenied)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        TestSupport::TempPractice practice;
        TestSupport::RecordingMessages messages;
        QStringList printed;
        Entry entry = c.open(practice, printed);
        ASSERT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();

        // The first press: its COMMIT is held, and the server dies under it.
        s_cluster->holdCommits(true);
        std::atomic<bool> held {false};
        std::thread killer([&held] {
            for (int i = 0; i < 1500 && !held; ++i) {
                try {
                    held = s_cluster->heldCommits() > 0;
                } catch (const DbError &) {}
                if (!held)
                    QThread::msleep(20);
            }
            if (held)
                s_cluster->kill();
        });
        entry.press();
        killer.join();
        ASSERT_TRUE(held) << "the press never waited in its COMMIT";
        const QStringList firstSaid = messages.texts();
        const bool firstRegistered = entry.registered();

        ASSERT_TRUE(s_cluster->restart());
        s_cluster->holdCommits(false);
        // The COMMIT record reached the disk before the server died: the row is there.
        EXPECT_EQ(practice.count(c.rows), 1) << "after the restart";

        // Pressed again until the window says it is registered (three presses at most).
        int presses = 1;
        while (!entry.registered() && presses < 4) {
            entry.press();
            ++presses;
        }
        const int rows = practice.count(c.rows);
        std::cout << "[ " << c.name << " ] rows " << rows << ", presses " << presses
                  << ", registered " << entry.registered() << ", said:";
        for (const QString &t : messages.texts())
            std::cout << " «" << QString(t).replace('\r', ' ').toStdString() << "»";
        std::cout << std::endl;

        EXPECT_EQ(rows, 1);
        EXPECT_TRUE(entry.registered());
        if (firstRegistered) {
            EXPECT_TRUE(firstSaid.isEmpty()) << firstSaid.join(" / ").toStdString();
        }
        for (const QString &said : messages.texts())
            EXPECT_FALSE(deniesWriting(said)) << said.toStdString();
        if (std::string(c.name) == "receipt") {
            EXPECT_EQ(printed, QStringList {"100"});
            EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "101");
        }
        WindowHooks::printReceipt = nullptr;
        entry.window.reset();
    }
}
