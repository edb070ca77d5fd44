// Every failure of the engine reaches the caller with the engine's message and result code:
// the engine is made to fail for real (a file opened read-only, a file another connection
// locks, a marker table that is gone, a PRAGMA or a registration the engine refuses).
#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "sqlfunctions.h"
#include "testsupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <optional>

using TestSupport::TempPractice;

namespace {

// A plain connection of the engine's own, as another program (or another copy of this one)
// would hold the file.
class Other {
public:
    explicit Other(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 50);
    }
    ~Other() { sqlite3_close_v2(m_db); }
    int exec(const char *sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }
    sqlite3 *db() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

// Connections opened while it lives wait only briefly for a busy file.
struct ShortBusyWait {
    int before = Connection::busyWait();
    ShortBusyWait() { Connection::setBusyWait(50); }
    ~ShortBusyWait() { Connection::setBusyWait(before); }
};

// The file is opened read-only, as a file the user may not write is: a test may run as root,
// for whom a file's mode does not stop a write.
struct ReadOnlyOpen {
    ReadOnlyOpen() { Connection::setOpenReadOnly(true); }
    ~ReadOnlyOpen() { Connection::setOpenReadOnly(false); }
};

DbError failureOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const DbError &e) {
        return e;
    }
    ADD_FAILURE() << "no DbError was thrown";
    return DbError({});
}

} // namespace

TEST(OpenFailures, SayWhatHappenedInsteadOfABadPassword)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    struct Case {
        const char *what;
        const char *prepare; // run by another connection before opening
        bool keepLocked;     // that connection's transaction stays open while opening
        QString message;
        int code;
    };
    const Case cases[] = {
        {"marker table dropped", "DROP TABLE ORVANTA_FILE", false,
         QStringLiteral("no such table: ORVANTA_FILE"), SQLITE_ERROR},
        {"file locked by a writer", "BEGIN EXCLUSIVE", true, QStringLiteral("database is locked"),
         SQLITE_BUSY},
        {"other password", "UPDATE ORVANTA_FILE SET VALUE = 'x' WHERE NAME = 'password'", false,
         QStringLiteral("Not a valid password."), 0},
        {"no password row", "DELETE FROM ORVANTA_FILE WHERE NAME = 'password'", false,
         QStringLiteral("Not a valid password."), 0},
        {"another program's file", "PRAGMA application_id = 7", false,
         QStringLiteral("Unrecognized database format '%1'."), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempPractice p;
        ShortBusyWait wait;
        Other other(p.dbPath());
        ASSERT_EQ(other.exec(c.prepare), SQLITE_OK);
        if (!c.keepLocked)
            other.exec("SELECT 1"); // nothing held
        Connection connection;
        connection.setConnectionText(Program::DbConnectionString);
        const DbError e = failureOf([&] { connection.open(); });
        const QString expected = c.message.contains(QLatin1String("%1"))
            ? c.message.arg(QDir::toNativeSeparators(QDir(p.dir()).filePath("data.mdb")))
            : c.message;
        EXPECT_EQ(e.message(), expected);
        EXPECT_EQ(e.code() & 0xff, c.code);
        EXPECT_FALSE(connection.isOpen());
        if (c.keepLocked) {
            other.exec("ROLLBACK");
            connection.open(); // the same file opens once the lock is gone
            EXPECT_TRUE(connection.isOpen());
        }
    }
}

TEST(OpenFailures, APragmaTheEngineRefusesIsAnError)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    // A file left in WAL mode that another connection holds open cannot be switched back to a
    // rollback journal: opening fails with the engine's word rather than running on in WAL.
    TempPractice p;
    ShortBusyWait wait;
    Other other(p.dbPath());
    ASSERT_EQ(other.exec("PRAGMA journal_mode = WAL"), SQLITE_OK);
    ASSERT_EQ(other.exec("BEGIN; SELECT count(*) FROM SHMEIWSEIS;"), SQLITE_OK);
    Connection connection;
    connection.setConnectionText(Program::DbConnectionString);
    const DbError e = failureOf([&] { connection.open(); });
    EXPECT_EQ(e.message(), QStringLiteral("database is locked"));
    EXPECT_EQ(e.code(), SQLITE_BUSY);
    EXPECT_NE(e.message(), QStringLiteral("Not a valid password."));
    EXPECT_FALSE(connection.isOpen());
    other.exec("COMMIT");
}

TEST(EngineFailures, CarryTheEnginesMessageAndCode)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    struct Case {
        const char *what;
        std::function<void(TempPractice &, Other &)> setUp; // once the connection is open
        std::function<void(Connection &)> work;
        int code; // extended result code
        const char *message;
    };
    const auto insertNote
        = [](Connection &c) { c.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('x')"); };
    const Case cases[] = {
        {"write to a read-only file",
         {},
         insertNote,
         SQLITE_READONLY,
         "attempt to write a readonly database"},
        {"write while another connection writes",
         [](TempPractice &, Other &o) { ASSERT_EQ(o.exec("BEGIN IMMEDIATE"), SQLITE_OK); },
         insertNote, SQLITE_BUSY, "database is locked"},
        {"read while another connection holds the file",
         [](TempPractice &, Other &o) { ASSERT_EQ(o.exec("BEGIN EXCLUSIVE"), SQLITE_OK); },
         [](Connection &c) {
             Query q(c);
             q.setSql("SELECT * FROM SHMEIWSEIS");
             q.open();
         },
         SQLITE_BUSY, "database is locked"},
        {"a second row for the same date",
         {},
         [](Connection &c) {
             c.execute("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2026#)");
             c.execute("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2026#)");
         },
         SQLITE_CONSTRAINT_UNIQUE,
         "UNIQUE constraint failed: RANTEBOU.HMEROMHNIA"},
        {"a step that fails while rows are read",
         {},
         [](Connection &c) {
             c.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('x')");
             Query q(c);
             q.setSql("SELECT DAY(TITLOS) FROM SHMEIWSEIS");
             q.open();
         },
         SQLITE_ERROR,
         "Data type mismatch in criteria expression."},
        {"a registration refused while a statement runs",
         {},
         [](Connection &c) {
             c.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('x')");
             c.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('y')");
             const PreparedStatement running = c.prepare("SELECT * FROM SHMEIWSEIS");
             ASSERT_EQ(sqlite3_step(running.get()), SQLITE_ROW);
             SqlFunctions::registerAll(c.handle());
         },
         SQLITE_BUSY,
         "DAY: unable to delete/modify user-function due to active statements"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempPractice p;
        ShortBusyWait wait;
        Other other(p.dbPath());
        std::optional<ReadOnlyOpen> readOnly;
        if (c.code == SQLITE_READONLY)
            readOnly.emplace();
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        if (c.setUp)
            c.setUp(p, other);
        const DbError e = failureOf([&] { c.work(connection); });
        EXPECT_EQ(e.code(), c.code);
        EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        other.exec("ROLLBACK");
    }
}

TEST(EngineFailures, ARefusedPostKeepsTheRowInEdit)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    TempPractice p;
    p.exec("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('πρώτη')");
    ReadOnlyOpen readOnly;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Table t(c);
    t.setTableName("SHMEIWSEIS");
    t.open();
    t.setFieldValue("TITLOS", QStringLiteral("αλλαγμένη"));
    const DbError e = failureOf([&] { t.post(); });
    EXPECT_EQ(e.code(), SQLITE_READONLY);
    EXPECT_EQ(t.state(), RecordSet::State::Edit);
    EXPECT_EQ(t.fieldText("TITLOS"), QStringLiteral("αλλαγμένη"));
    EXPECT_EQ(p.scalar("SELECT TITLOS FROM SHMEIWSEIS"), QStringLiteral("πρώτη"));
}

// FLAKY(x) gives x back the first `*budget` times it runs, then fails.
void flaky(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    int *budget = static_cast<int *>(sqlite3_user_data(ctx));
    if (budget && (*budget)-- <= 0) {
        sqlite3_result_error(ctx, "the value cannot be read", -1);
        return;
    }
    sqlite3_result_value(ctx, argv[0]);
}

void registerFlaky(sqlite3 *db, int *budget)
{
    ASSERT_EQ(sqlite3_create_function(db, "FLAKY", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, budget,
                                      flaky, nullptr, nullptr),
              SQLITE_OK);
}

TEST(EngineFailures, AFailedReReadAfterAWriteIsRaisedButTheRowIsNotWrittenTwice)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    // The generated column runs FLAKY() whenever the row is written or read: the write
    // succeeds, the read of the row written fails in its step.
    TempPractice p;
    Other other(p.dbPath());
    registerFlaky(other.db(), nullptr);
    ASSERT_EQ(other.exec("CREATE TABLE T (X VARCHAR(20), D VARCHAR(20) AS (FLAKY(X)))"), SQLITE_OK);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    int budget = 1;
    registerFlaky(c.handle(), &budget);
    Table t(c);
    t.setTableName("T");
    t.open();
    t.insert();
    t.setFieldValue("X", QStringLiteral("τιμή"));
    const DbError e = failureOf([&] { t.post(); });
    EXPECT_EQ(e.message(), QStringLiteral("the value cannot be read"));
    EXPECT_EQ(e.code(), SQLITE_ERROR);
    EXPECT_EQ(t.state(), RecordSet::State::Browse);
    EXPECT_EQ(t.fieldText("X"), QStringLiteral("τιμή"));
    t.post(); // nothing is pending any more: the row is not written again
    sqlite3_stmt *raw = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(other.db(), "SELECT count(*) FROM T", -1, &raw, nullptr),
              SQLITE_OK);
    const PreparedStatement rows(raw);
    ASSERT_EQ(sqlite3_step(rows.get()), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(rows.get(), 0), 1);
}
