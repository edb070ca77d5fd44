#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"
#include "testsupport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using TestSupport::TempPractice;

TEST(ConnectionString, BuiltFromTheWorkingDirectoryAsGiven)
{
    EXPECT_EQ(ConnectionString::build("C:\\Practice"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=C:\\Practice\\data.mdb;"
              "Persist Security Info=True;Jet OLEDB:Database Password=KT40716ZAQ");
    const auto target = ConnectionString::parse(ConnectionString::build("C:\\My Practice"));
    EXPECT_EQ(target.dataSource, "C:\\My Practice\\data.mdb");
    EXPECT_EQ(target.password, "KT40716ZAQ");
    EXPECT_EQ(ConnectionString::localPath("/home/a b\\data.mdb"), "/home/a b/data.mdb");
}

TEST(Connection, OpensAPracticeInAFolderWithBlanks)
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).filePath("My Practice");
    QDir().mkpath(folder);
    Schema::createPracticeDatabase(QDir(folder).filePath("data.mdb"),
                                   ConnectionString::kDatabasePassword);
    Connection c;
    c.setUp(ConnectionString::build(folder), true);
    EXPECT_TRUE(c.isOpen());
}

TEST(Connection, RefusesMissingForeignAndWrongPasswordFiles)
{
    QTemporaryDir dir;
    Connection c;
    c.setUp(ConnectionString::build(dir.path()));
    try {
        c.open();
        FAIL() << "a missing file was opened";
    } catch (const DbError &e) {
        // The path as this system writes it: no backslash from the connection text.
        EXPECT_EQ(e.message(), QStringLiteral("Could not find file '%1'.")
                                   .arg(QDir::toNativeSeparators(dir.filePath("data.mdb"))));
    }
    // Opening never creates the file: a user started in the wrong folder gets no empty practice.
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("data.mdb")));

    QFile junk(QDir(dir.path()).filePath("data.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_THROW(c.open(), DbError);
    EXPECT_FALSE(c.isOpen());
    QFile::remove(junk.fileName());

    Schema::createPracticeDatabase(junk.fileName(), "other");
    try {
        c.open();
        FAIL() << "a wrong password was accepted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "Not a valid password.");
    }
}

TEST(Connection, ClosedConnectionRefusesStatements)
{
    TempPractice p;
    Connection c;
    c.setUp(Program::DbConnectionString);
    EXPECT_THROW(c.execute("DELETE FROM EKSODA"), DbError);
}

TEST(Schema, DeliveredState)
{
    TempPractice p;
    EXPECT_EQ(p.scalar("SELECT * FROM SECURITY"), "73051846");
    EXPECT_EQ(p.count("SELECT * FROM SECURITY"), 1);
    EXPECT_EQ(p.count("SELECT * FROM LAST_APODEIKSH"), 0);
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query q(c);
    q.setSql("SELECT * FROM RANTEBOU");
    q.open();
    ASSERT_EQ(q.columnCount(), 29);
    EXPECT_EQ(q.column(0).name, "HMEROMHNIA");
    EXPECT_EQ(q.column(1).name, "0800-0830");
    EXPECT_EQ(q.column(28).name, "2130-2200");
    EXPECT_EQ(Schema::slotCaption("2130-2200"), "21:30 - 22:00");
}

TEST(Schema, KeysDefaultsAndTypes)
{
    if (TestSupport::onServer())
        GTEST_SKIP() << "the file engine's own behaviour";
    TempPractice p;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.execute("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2026#)");
    EXPECT_THROW(c.execute("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(#3/5/2026#)"), DbError);
    EXPECT_EQ(p.count("SELECT * FROM RANTEBOU"), 1);

    c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,POSO) VALUES(1,40)");
    c.execute("INSERT INTO EISPRAKSH_PELATH(ID,POSO) VALUES(7,40)");
    const QString today = QStringLiteral("%1/%2/%3")
                              .arg(QDate::currentDate().day())
                              .arg(QDate::currentDate().month())
                              .arg(QDate::currentDate().year());
    EXPECT_EQ(p.scalar("SELECT HMEROMHNIA FROM APODEIKSEIS"), today);
    EXPECT_EQ(p.scalar("SELECT EGKYRH FROM APODEIKSEIS"), "True");
    EXPECT_EQ(p.scalar("SELECT HMEROMHNIA FROM EISPRAKSH_PELATH"), today);
    EXPECT_THROW(c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS) VALUES(1)"), DbError);

    // A value of the wrong type is refused whatever path writes it.
    EXPECT_THROW(c.execute("INSERT INTO EKSODA(HMEROMHNIA) VALUES('yesterday')"), DbError);
    EXPECT_THROW(c.execute("INSERT INTO EKSODA(HMEROMHNIA) VALUES('2026-02-30')"), DbError);
    EXPECT_THROW(c.execute("INSERT INTO EKSODA(POSO) VALUES('many')"), DbError);
    EXPECT_THROW(c.execute("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,EGKYRH) VALUES(5,7)"), DbError);
    EXPECT_THROW(c.execute("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(1.5)"), DbError);
    c.execute("INSERT INTO EKSODA(HMEROMHNIA,POSO) VALUES(#3/1/2008#,'12.5')");
    EXPECT_EQ(p.scalar("SELECT POSO FROM EKSODA"), TestSupport::num("12.5"));

    c.execute("UPDATE SECURITY SET [PASSWORD]='abc/12'");
    EXPECT_EQ(p.scalar("SELECT * FROM SECURITY"), "abc/12");
    EXPECT_EQ(p.count("SELECT * FROM SECURITY"), 1);
}

TEST(Schema, PatientCountersAreNeverReused)
{
    TempPractice p;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.execute("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Α')");
    c.execute("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Β')");
    c.execute("DELETE FROM STOIXEIA_PELATH WHERE ID=2");
    c.execute("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Γ')");
    EXPECT_EQ(p.scalar("SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO='Γ'"), "3");
}

TEST(Transaction, RollsBackUnlessCommitted)
{
    TempPractice p;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    {
        Transaction t(c);
        c.execute("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(100)");
    }
    EXPECT_EQ(p.count("SELECT * FROM LAST_APODEIKSH"), 0);
    {
        Transaction t(c);
        c.execute("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(100)");
        t.commit();
    }
    EXPECT_EQ(p.scalar("SELECT * FROM LAST_APODEIKSH"), "100");
}

TEST(Connection, TwoConnectionsShareTheFile)
{
    TempPractice p;
    Connection a, b;
    a.setUp(Program::DbConnectionString, true);
    b.setUp(Program::DbConnectionString, true);
    a.execute("INSERT INTO SHMEIWSEIS(TITLOS) VALUES('x')");
    Query q(b);
    q.setSql("SELECT * FROM SHMEIWSEIS");
    q.open();
    EXPECT_EQ(q.rowCount(), 1);
}
