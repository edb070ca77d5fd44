// Statements are prepared once per open connection and come back clean: no value of the last
// user bound, no row in progress, so no lock held on the file between uses.
#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using TestSupport::TempPractice;

namespace {

QString firstText(const PreparedStatement &stmt)
{
    if (sqlite3_step(stmt.get()) != SQLITE_ROW || sqlite3_column_type(stmt.get(), 0) == SQLITE_NULL)
        return QStringLiteral("<null>");
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0)));
}

} // namespace

TEST(PreparedStatement, ReusedOncePerConnectionWithNothingLeftBound)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    TempPractice p;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    sqlite3_stmt *first = nullptr;
    {
        const PreparedStatement s = c.prepare("SELECT ?", {QStringLiteral("α")});
        first = s.get();
        EXPECT_EQ(firstText(s), QStringLiteral("α"));
    }
    {
        const PreparedStatement again = c.prepare("SELECT ?");
        EXPECT_EQ(again.get(), first);                         // the same statement, prepared once
        EXPECT_EQ(firstText(again), QStringLiteral("<null>")); // the last value is not bound
        // A second user of the same text while the first holds it gets a statement of its own.
        const PreparedStatement other = c.prepare("SELECT ?", {7});
        EXPECT_NE(other.get(), first);
        EXPECT_EQ(firstText(other), QStringLiteral("7"));
    }
    // Closing drops the prepared statements; a statement still held outlives it harmlessly.
    PreparedStatement held = c.prepare("SELECT 1");
    c.close();
    c.open();
    EXPECT_NE(c.prepare("SELECT ?").get(), nullptr);
    held.release();
    EXPECT_THROW(c.prepare("SELEKT"), DbError);
    EXPECT_THROW(c.prepare("SELECT ?", {1, 2}), DbError); // more values than marks
}

TEST(PreparedStatement, AStatementGivenBackHoldsNoReadLock)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    TempPractice p;
    p.exec("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('α')");
    p.exec("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('β')");
    const int before = Connection::busyWait();
    Connection::setBusyWait(50);
    Connection reader, writer;
    reader.setUp(Program::DbConnectionString, true);
    writer.setUp(Program::DbConnectionString, true);
    Connection::setBusyWait(before);
    {
        // Stopped after its first row: the statement holds the file's read lock ...
        const PreparedStatement s = reader.prepare("SELECT TITLOS FROM SHMEIWSEIS");
        ASSERT_EQ(sqlite3_step(s.get()), SQLITE_ROW);
        writer.beginTransaction();
        writer.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('γ')");
        EXPECT_THROW(writer.commit(), DbError);
        writer.rollback();
    }
    // ... and lets go of it when given back to the connection, though it stays prepared.
    const PreparedStatement again = reader.prepare("SELECT TITLOS FROM SHMEIWSEIS");
    Transaction t(writer);
    writer.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('γ')");
    EXPECT_NO_THROW(t.commit());
}
