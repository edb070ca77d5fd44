// Handles kept between connections: what goes back, what comes out, and that one handle never
// serves two connections at once. On the file and, in the server run, on a server.
#include "connection.h"
#include "connectionpool.h"
#include "connectionstring.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"
#include "serversession.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

using TestSupport::TempPractice;

namespace {

// Tells handles apart: the server's process for the session, or on the file a number that a
// function of the handle's own answers (a new handle has no such function yet).
QString identity(Connection &c)
{
    if (c.server())
        return c.server()->run("SELECT pg_backend_pid()").rows.at(0).at(0).toString();
    static int made = 0;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.handle(), "SELECT pool_tag()", -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW) {
        const QString tag = QString::number(sqlite3_column_int(stmt, 0));
        sqlite3_finalize(stmt);
        return tag;
    }
    sqlite3_finalize(stmt);
    const int tag = ++made;
    sqlite3_create_function(
        c.handle(), "pool_tag", 0, SQLITE_UTF8, reinterpret_cast<void *>(qintptr(tag)),
        [](sqlite3_context *ctx, int, sqlite3_value **) {
            sqlite3_result_int(ctx, int(reinterpret_cast<qintptr>(sqlite3_user_data(ctx))));
        },
        nullptr, nullptr);
    return QString::number(tag);
}

void openAsAWindowDoes(Connection &c)
{
    c.setUp(Program::DbConnectionString, true);
}

} // namespace

// One row per rule: what is done to a connection before it closes, whether the next
// connection to the practice gets the same handle back, and what it must find there.
TEST(ConnectionPool, WhatGoesBackAndWhatComesOut)
{
    struct Rule {
        const char *name;
        bool fileOnly;
        std::function<void(TempPractice &, Connection &)> beforeClose;
        bool sameHandle;
        bool cutWhileKept = false; // the server ends the kept session (a restart, a network cut)
    };
    const Rule rules[] = {
        {"closed idle", false, [](TempPractice &, Connection &) {}, true},
        {"closed in a transaction with a write: rolled back", false,
         [](TempPractice &, Connection &c) {
             c.beginTransaction();
             c.execute("INSERT INTO EKSODA(POSO) VALUES(7)");
         },
         true},
        {"kept out of the pool", false, [](TempPractice &, Connection &c) { c.keepOutOfPool(); },
         false},
        {"a temporary table of its own", true,
         [](TempPractice &, Connection &c) { c.executeNative("CREATE TEMP TABLE mine(x)"); },
         false},
        {"the session ended by the server while kept: a new one", false,
         [](TempPractice &, Connection &) {}, false, true},
    };
    for (const Rule &rule : rules) {
        SCOPED_TRACE(rule.name);
        if (rule.fileOnly && TestSupport::onServer())
            continue;
        ConnectionPool::clear();
        TempPractice practice;
        if (rule.cutWhileKept && !TestSupport::onServer())
            continue;
        QString first, database;
        {
            Connection c;
            openAsAWindowDoes(c);
            first = identity(c);
            if (c.server())
                database = c.server()->run("SELECT current_database()").rows[0][0].toString();
            rule.beforeClose(practice, c);
        }
        if (rule.cutWhileKept) {
            ASSERT_EQ(ConnectionPool::idleCount(), 1);
            ServerSession(TestSupport::testServer())
                .run("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = ?",
                     {database});
        }
        Connection next;
        openAsAWindowDoes(next);
        EXPECT_EQ(identity(next) == first, rule.sameHandle);
        // Whatever came out starts clean: no transaction, nothing of an unfinished one.
        next.beginTransaction();
        next.execute("INSERT INTO EKSODA(POSO) VALUES(1)");
        next.commit();
        EXPECT_EQ(practice.scalar("SELECT SUM(POSO) FROM EKSODA"), "1");
    }
}

TEST(ConnectionPool, AHandleServesOneConnectionAtATime)
{
    ConnectionPool::clear();
    TempPractice practice;
    Connection a, b;
    openAsAWindowDoes(a);
    openAsAWindowDoes(b);
    const QString idA = identity(a), idB = identity(b);
    EXPECT_NE(idA, idB);
    a.close();
    Connection c;
    openAsAWindowDoes(c);
    EXPECT_EQ(identity(c), idA);
    EXPECT_NE(identity(c), identity(b));
    // Both back, both kept; the next two get them, never the same one twice.
    b.close();
    c.close();
    Connection d, e;
    openAsAWindowDoes(d);
    openAsAWindowDoes(e);
    EXPECT_NE(identity(d), identity(e));
}

TEST(ConnectionPool, AKeptHandleIsCheckedAsANewOne)
{
    ConnectionPool::clear();
    TempPractice practice;
    { Connection c; openAsAWindowDoes(c); }
    ASSERT_GE(ConnectionPool::idleCount(), 1);
    // The practice's password changed by another program while the handle was kept.
    practice.exec("UPDATE ORVANTA_FILE SET [VALUE] = 'another' WHERE [NAME] = 'password'");
    Connection c;
    try {
        openAsAWindowDoes(c);
        FAIL() << "opened with a password that no longer matches";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "Not a valid password.");
    }
    EXPECT_FALSE(c.isOpen());
}

TEST(ConnectionPool, AStatementStillRunningKeepsItsHandleOutOfThePool)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file's statements only";
    ConnectionPool::clear();
    TempPractice practice;
    QString first;
    PreparedStatement running;
    {
        Connection c;
        openAsAWindowDoes(c);
        first = identity(c);
        running = c.prepare("SELECT 1 UNION ALL SELECT 2");
        ASSERT_EQ(sqlite3_step(running.get()), SQLITE_ROW);
    }
    EXPECT_EQ(ConnectionPool::idleCount(), 0);
    Connection next;
    openAsAWindowDoes(next);
    EXPECT_NE(identity(next), first);
    EXPECT_EQ(sqlite3_step(running.get()), SQLITE_ROW); // the old handle lives on for it
}

// A restore puts another file under the practice's name: a handle of the old file is never
// given out for the new one.
TEST(ConnectionPool, AFileReplacedUnderItsNameGetsANewHandle)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file only";
    ConnectionPool::clear();
    TempPractice practice;
    QString first;
    { Connection c; openAsAWindowDoes(c); first = identity(c); }
    const QString other = QDir(practice.dir()).filePath("other.mdb");
    ASSERT_TRUE(QFile::copy(practice.dbPath(), other));
    {
        Connection c;
        c.openPracticeFile(other, ConnectionString::kDatabasePassword);
        c.execute("INSERT INTO EKSODA(POSO) VALUES(5)");
    }
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(),
                       QFile::encodeName(practice.dbPath()).constData()),
              0);
    Connection next;
    openAsAWindowDoes(next);
    EXPECT_NE(identity(next), first);
    EXPECT_EQ(practice.scalar("SELECT SUM(POSO) FROM EKSODA"), "5");
}

// A kept session remembers which tables it has seen, so that "is the table there?" is asked of
// the server once; a table made in a transaction that did not commit must not be remembered.
TEST(KeptHandles, ATableCountsAsThereOnlyOnceItsCreationCommitted)
{
    struct Case {
        const char *name;
        std::function<void(Connection &)> end;
        bool there;
        bool thereOnServer;
    };
    const Case cases[] = {
        {"committed", [](Connection &c) { c.commit(); }, true, true},
        {"rolled back", [](Connection &c) { c.rollback(); }, false, false},
        {"a later statement failed, then the commit",
         [](Connection &c) {
             EXPECT_THROW(c.executeNative("INSERT INTO no_such_table VALUES (1)"), DbError);
             try {
                 c.commit(); // the server answers a commit of a failed transaction with a rollback
             } catch (const DbError &) {
                 c.rollback();
             }
         },
         // the file's engine commits what did not fail
         true, false},
        {"left open when the window closed", [](Connection &) {}, false, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        ConnectionPool::clear();
        TempPractice practice;
        {
            Connection c;
            openAsAWindowDoes(c);
            c.beginTransaction();
            c.executeNative("CREATE TABLE made_here (x INTEGER)");
            EXPECT_TRUE(Schema::hasTable(c, "made_here"));
            test.end(c);
        }
        Connection again;
        openAsAWindowDoes(again); // the same kept handle
        const bool there = TestSupport::onServer() ? test.thereOnServer : test.there;
        EXPECT_EQ(Schema::hasTable(again, "made_here"), there);
        EXPECT_EQ(Schema::hasTable(again, "made_here"), there);
    }
}

// Texts that repeat from row to row are shared in a reading; what a window reads must be what
// it would read without that: nulls apart from empty texts, numbers as numbers, long and Greek
// texts whole, and columns whose texts all differ.
TEST(KeptHandles, ARowsRepeatedTextsReadAsTheyWereWritten)
{
    ConnectionPool::clear();
    TempPractice practice;
    const QStringList funds = {"ΕΟΠΥΥ", "Ιδιώτης", "ΕΟΠΥΥ ", QString(80, QChar(0x03A9))};
    const int rows = 300;
    {
        Connection c;
        openAsAWindowDoes(c);
        c.beginTransaction();
        for (int i = 0; i < rows; ++i) {
            const QVariant note = i % 3 == 0 ? QVariant() : QVariant(i % 3 == 1 ? "" : "σημ.");
            c.executeNative("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, DIEYTHYNSH, THLEFWNO_1, "
                            "EMAIL, PERIGRAFH) VALUES (?, ?, ?, ?, ?)",
                            {QStringLiteral("Όνομα %1").arg(i), funds[i % funds.size()],
                             QString::number(2100000000 + i % 2), note,
                             i < 100 ? QVariant("ίδιο") : QVariant(QString::number(i))});
        }
        c.commit();
    }
    Connection c;
    openAsAWindowDoes(c);
    Query q(c);
    q.setSql("SELECT ONOMATEPWNYMO, DIEYTHYNSH, THLEFWNO_1, EMAIL, PERIGRAFH FROM "
             "XRHSIMA_THLEFWNA ORDER BY ONOMATEPWNYMO");
    q.open();
    ASSERT_EQ(q.rowCount(), rows);
    QMap<QString, int> byName;
    for (int i = 0; i < rows; ++i)
        byName.insert(QStringLiteral("Όνομα %1").arg(i), i);
    for (int r = 0; r < rows; ++r) {
        const int i = byName.value(q.value(r, 0).toString(), -1);
        ASSERT_GE(i, 0) << r;
        EXPECT_EQ(q.value(r, 1).toString(), funds[i % funds.size()]) << i;
        EXPECT_EQ(q.value(r, 2).toString(), QString::number(2100000000 + i % 2)) << i;
        const QVariant note = q.value(r, 3);
        EXPECT_EQ(note.isNull(), i % 3 == 0) << i;
        if (i % 3) {
            EXPECT_EQ(note.toString(), i % 3 == 1 ? "" : "σημ.") << i;
        }
        EXPECT_EQ(q.value(r, 4).toString(), i < 100 ? "ίδιο" : QString::number(i)) << i;
    }
    // A value changed in one row leaves the rows that shared its text as they were.
    q.first();
    q.edit();
    q.setFieldValue(QStringLiteral("DIEYTHYNSH"), QStringLiteral("άλλο"));
    q.post();
    EXPECT_EQ(q.value(0, 1).toString(), QStringLiteral("άλλο"));
    int unchanged = 0;
    for (int r = 1; r < rows; ++r)
        unchanged += q.value(r, 1).toString() != QStringLiteral("άλλο");
    EXPECT_EQ(unchanged, rows - 1);
}
