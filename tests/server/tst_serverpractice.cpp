// A practice moved from its data.mdb to a server, and a server session lost in the middle of a
// transaction. Runs only when the suite has a test server (tests/server/run.sh).
#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "greektext.h"
#include "practicecopy.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"
#include "serversession.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// An empty database on the test server, dropped when the object goes.
class EmptyServerDatabase {
public:
    EmptyServerDatabase()
    {
        static int made = 0;
        m_name
            = QStringLiteral("orv_copy_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
        ServerSession(TestSupport::testServer()).run(QStringLiteral("CREATE DATABASE ") + m_name);
    }
    ~EmptyServerDatabase()
    {
        try {
            ServerSession(TestSupport::testServer())
                .run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
        } catch (const DbError &) {}
    }
    QString connection() const { return TestSupport::testServer() + " dbname=" + m_name; }
    int tableCount() const
    {
        return ServerSession(connection())
            .run("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'")
            .rows[0][0]
            .toInt();
    }

private:
    QString m_name;
};

// A practice folder with its own data.mdb, filled through the file's engine.
class FilePractice {
public:
    FilePractice()
    {
        Schema::createPracticeDatabase(QDir(m_dir.path()).filePath("data.mdb"),
                                       QLatin1String(ConnectionString::kDatabasePassword));
    }
    QString dir() const { return m_dir.path(); }
    void exec(const QString &jetSql)
    {
        Connection c;
        c.setUp(ConnectionString::build(dir()), true);
        c.execute(jetSql);
    }

private:
    QTemporaryDir m_dir;
};

// Every row of a query as text, in the order the statement gives.
QStringList rowsOf(const QString &folder, const QString &jetSql)
{
    Connection c;
    c.setUp(ConnectionString::build(folder), true);
    Query q(c);
    q.setSql(jetSql);
    q.open();
    QStringList out;
    for (int r = 0; r < q.rowCount(); ++r) {
        QStringList row;
        for (int col = 0; col < q.columnCount(); ++col)
            row << q.column(col).name + "=" + q.text(r, col);
        out << row.join('|');
    }
    return out;
}

class ServerPractice : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TestSupport::onServer())
            GTEST_SKIP() << "needs the test server (tests/server/run.sh)";
    }
};

} // namespace

TEST_F(ServerPractice, ACopiedPracticeAnswersEveryQueryAsItsFileDid)
{
    FilePractice file;
    file.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO,HMEROMHNIA_GENNHSEWS,DIEYTHYNSH,ISTORIKO) "
              "VALUES('Γιώργος','Παπαδόπουλος',#4/1/1955#,'Οδός Ο''Κόνορ 3','Πόνος\nστη μέση')");
    file.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άννα','ΑΓΓΕΛΟΥ')");
    file.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Émile','Abbott')");
    file.exec("DELETE FROM STOIXEIA_PELATH WHERE EPWNYMO='Abbott'"); // its ID is never reused
    file.exec("INSERT INTO EPISKEPSEIS(ID,HMEROMHNIA,AITIA) VALUES(1,#3/2/2026#,'Αυχένας')");
    file.exec("INSERT INTO RANTEBOU(HMEROMHNIA,[0800-0830]) VALUES(#3/5/2026#,'Παπαδόπουλος')");
    file.exec("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,DEN_PROSHLTHE) VALUES(#3/5/2026#,0,1,"
              "TRUE)");
    file.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(102)");
    file.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(24)");
    file.exec("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,HMEROMHNIA,ONOMA,EPWNYMO,POSO,VAT,"
              "SYNOLIKO_POSO,EGKYRH) VALUES(101,#3/2/2026#,'Γιώργος','Παπαδόπουλος',40,7.74,40,"
              "FALSE)");
    file.exec("INSERT INTO SYNTELESTHS_APODEIKSHS(AR_APODEIKSHS,VAT_RATIO) VALUES(101,24)");
    file.exec("INSERT INTO EISPRAKSH_PELATH(ID,HMEROMHNIA,POSO,AR_APODEIKSHS,VAT,SYNOLIKO_POSO) "
              "VALUES(1,#3/2/2026#,40,101,7.74,40)");
    file.exec("INSERT INTO EKSODA(HMEROMHNIA,POSO,VAT,PERIGRAFH) VALUES(#3/9/2026#,100.5,24.12,"
              "'Ενοίκιο')");
    file.exec("UPDATE SECURITY SET [PASSWORD]='δικός μου'");
    file.exec("INSERT INTO RYTHMISEIS(ONOMA,TIMH) VALUES('lock_minutes','3')");

    EmptyServerDatabase server;
    const QStringList report = PracticeCopy::copyToServer(file.dir(), server.connection());
    // The fourteen tables, the three of the e-books, the receipts' rates, the registrations'
    // tokens, the practice's settings, the slots' patients and the reminders' two tables (the
    // patients' contacts and the queue).
    EXPECT_EQ(report.size(), 23);
    EXPECT_TRUE(report.contains("EPIKOINWNIA_ASTHENH: 0 rows")) << report.join("; ").toStdString();
    EXPECT_TRUE(report.contains("YPENTHYMISEIS_RANTEBOU: 0 rows"))
        << report.join("; ").toStdString();
    EXPECT_TRUE(report.contains("RANTEBOU_ASTHENH: 1 row")) << report.join("; ").toStdString();
    EXPECT_TRUE(report.contains("STOIXEIA_PELATH: 2 rows")) << report.join("; ").toStdString();
    EXPECT_TRUE(report.contains("MYDATA_APOSTOLES: 0 rows")) << report.join("; ").toStdString();
    EXPECT_TRUE(report.contains("SYNTELESTHS_APODEIKSHS: 1 row"));

    QTemporaryDir workstation; // another computer's practice folder: settings only
    EngineSettings::writeServer(workstation.path(), server.connection());
    const char *queries[] = {
        "SELECT * FROM STOIXEIA_PELATH ORDER BY EPWNYMO",
        "SELECT * FROM EPISKEPSEIS",
        "SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#",
        "SELECT * FROM RANTEBOU_ASTHENH",
        "SELECT * FROM APODEIKSEIS",
        "SELECT AR_APODEIKSHS, Format(POSO,'0.00') AS POSO, Format(VAT,'0.00') AS VAT FROM "
        "EISPRAKSH_PELATH WHERE ID=1",
        "SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, EKSODA.PERIGRAFH FROM "
        "EKSODA",
        "SELECT * FROM LAST_APODEIKSH",
        "SELECT * FROM SECURITY",
        "SELECT * FROM SYNTELESTHS_APODEIKSHS",
        "SELECT * FROM RYTHMISEIS",
    };
    for (const char *sql : queries) {
        SCOPED_TRACE(sql);
        const QStringList onFile = rowsOf(file.dir(), sql);
        EXPECT_FALSE(onFile.isEmpty());
        EXPECT_EQ(rowsOf(workstation.path(), sql), onFile);
    }

    // A patient registered on the server continues after the highest ID the file had given.
    Connection c;
    c.setUp(ConnectionString::build(workstation.path()), true);
    Query patients(c);
    patients.setSql("SELECT * FROM STOIXEIA_PELATH WHERE 1=0");
    patients.open();
    patients.insert();
    patients.setFieldValue("EPWNYMO", "Νέος");
    patients.post();
    EXPECT_EQ(patients.fieldText("ID"), "4");
}

// A file from before the e-books tables and the receipts' rates copies whole; the server gets
// them empty.
TEST_F(ServerPractice, AFileFromBeforeTheEbooksCopiesWhole)
{
    FilePractice file;
    file.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(7)");
    file.exec("DROP TABLE MYDATA_APOSTOLES");
    file.exec("DROP TABLE MYDATA_RYTHMISEIS");
    file.exec("DROP TABLE MYDATA_ANAZHTHSH");
    file.exec("DROP TABLE SYNTELESTHS_APODEIKSHS");
    file.exec("DROP TABLE RYTHMISEIS");
    EmptyServerDatabase server;
    const QStringList report = PracticeCopy::copyToServer(file.dir(), server.connection());
    EXPECT_TRUE(report.contains("MYDATA_APOSTOLES: 0 rows")) << report.join("; ").toStdString();
    EXPECT_TRUE(report.contains("MYDATA_RYTHMISEIS: 0 rows"));
    EXPECT_TRUE(report.contains("SYNTELESTHS_APODEIKSHS: 0 rows"));
    EXPECT_TRUE(report.contains("RYTHMISEIS: 0 rows"));
    EXPECT_TRUE(report.contains("LAST_APODEIKSH: 1 row"));
}

TEST_F(ServerPractice, ACopyThatCannotBeCompletedLeavesTheServerDatabaseEmpty)
{
    FilePractice file;
    file.exec("INSERT INTO STOIXEIA_PELATH(EPWNYMO) VALUES('Καλός')");
    // A text the server cannot hold (a NUL inside it) in the last table but one.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QDir(file.dir()).filePath("data.mdb").toUtf8().constData(), &db),
              SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, "INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN(EPWNYMO) VALUES('a'||char(0)||'b')",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);

    EmptyServerDatabase server;
    EXPECT_THROW(PracticeCopy::copyToServer(file.dir(), server.connection()), DbError);
    EXPECT_EQ(server.tableCount(), 0);
}

// When the suite's server takes only TLS with a certificate from its own authority, every
// window's session is encrypted, and a session that does not verify the certificate against that
// authority is refused before anything is read.
TEST_F(ServerPractice, OverTlsEverySessionIsEncryptedAndTheCertificateIsChecked)
{
    const QString server = TestSupport::testServer();
    if (!server.contains("sslmode=verify-full"))
        GTEST_SKIP() << "the test server takes plain connections (ORVANTA_PG_TLS=1 makes one "
                        "that does not)";
    TestSupport::TempPractice practice;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    ASSERT_NE(c.server(), nullptr);
    const auto rows
        = c.server()->run("SELECT ssl, version FROM pg_stat_ssl WHERE pid = pg_backend_pid()").rows;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0][0].toBool());
    EXPECT_TRUE(rows[0][1].toString().startsWith("TLS"));

    QTemporaryDir dir;
    const QString other = dir.filePath("other.crt"); // an authority nobody trusts here
    ASSERT_EQ(QProcess::execute("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes",
                                            "-days", "1", "-subj", "/CN=Another authority",
                                            "-keyout", dir.filePath("other.key"), "-out", other}),
              0);
    for (const QString &text : {server + " sslmode=disable", server + " sslrootcert=" + other,
                                server + " sslrootcert=" + dir.filePath("missing.crt")}) {
        SCOPED_TRACE(text.toStdString());
        try {
            ServerSession session(text);
            ADD_FAILURE() << "connected";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().startsWith(ServerSession::lostMessage()));
        }
    }
}

TEST_F(ServerPractice, ASessionLostInATransactionCommitsNothingAndConnectsAgain)
{
    TestSupport::TempPractice practice;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    ASSERT_NE(c.server(), nullptr);
    c.beginTransaction();
    c.execute("INSERT INTO EKSODA(POSO) VALUES(1)");
    TestSupport::cutServerSessions();
    for (const char *sql : {"INSERT INTO EKSODA(POSO) VALUES(2)", "COMMIT"}) {
        SCOPED_TRACE(sql);
        try {
            c.executeNative(sql);
            ADD_FAILURE() << "went through";
        } catch (const DbError &e) {
            EXPECT_EQ(e.code(), ServerSession::lostCode());
            EXPECT_TRUE(e.message().startsWith(ServerSession::lostMessage()));
        }
    }
    c.rollback();
    c.execute("INSERT INTO EKSODA(POSO) VALUES(3)");
    EXPECT_EQ(practice.scalar("SELECT SUM(POSO) FROM EKSODA"), "3");
}

// What a session lost before a statement means for the writes, and what its message says: a
// read says only that the connection went, a transaction's write that nothing of it was saved,
// and a write that commits by itself that its outcome is unknown.
TEST_F(ServerPractice, ALostSessionSaysWhatBecameOfTheWrites)
{
    TestSupport::TempPractice practice;
    const struct {
        const char *name;
        bool inTransaction;
        const char *sql;
        DbError::Kind kind;
        bool saysNotSaved;
    } cases[] = {
        {"a read", false, "SELECT count(*) FROM eksoda", DbError::Kind::Lost, false},
        {"a read in a transaction", true, "SELECT count(*) FROM eksoda", DbError::Kind::Lost,
         false},
        {"a write in a transaction", true, "INSERT INTO eksoda(poso) VALUES(1)",
         DbError::Kind::NotWritten, true},
        {"a write on its own", false, "INSERT INTO eksoda(poso) VALUES(1)",
         DbError::Kind::OutcomeUnknown, false},
        {"a commit", true, "COMMIT", DbError::Kind::OutcomeUnknown, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        if (c.inTransaction)
            connection.beginTransaction();
        TestSupport::cutServerSessions();
        try {
            connection.executeNative(QString::fromLatin1(c.sql));
            ADD_FAILURE() << "went through";
        } catch (const DbError &e) {
            EXPECT_EQ(e.kind(), c.kind);
            EXPECT_EQ(e.code(), ServerSession::lostCode());
            EXPECT_TRUE(e.message().startsWith(ServerSession::lostMessage()));
            EXPECT_EQ(e.message().contains(QStringLiteral("δεν αποθηκεύτηκε")), c.saysNotSaved)
                << e.message().toStdString();
            EXPECT_FALSE(e.message().contains(QStringLiteral("παράθυρο")))
                << e.message().toStdString();
        }
        connection.rollback();
    }
}

TEST_F(ServerPractice, TheServersLikeFoldsEveryCharacterAsTheFileDoes)
{
    TestSupport::TempPractice practice;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    QStringList chars;
    for (char16_t ch = 0x20; ch < 0x500; ++ch)
        chars << QString(QChar(ch));
    for (char16_t ch = 0x1F00; ch < 0x2000; ++ch)
        chars << QString(QChar(ch));
    const ServerSession::Result r
        = c.server()->run("SELECT string_agg(orv_fold(ch), E'\\x01' ORDER BY n) FROM "
                          "unnest(string_to_array(?, E'\\x01')) WITH ORDINALITY AS t(ch, n)",
                          {chars.join(QChar(1))});
    const QStringList folded = r.rows.at(0).at(0).toString().split(QChar(1));
    ASSERT_EQ(folded.size(), chars.size());
    int differ = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (folded[i] != GreekText::fold(chars[i]) && ++differ < 5)
            ADD_FAILURE() << "U+" << QString::number(chars[i][0].unicode(), 16).toStdString();
    }
    EXPECT_EQ(differ, 0);

    const struct {
        const char *text, *pattern;
    } pairs[] = {{"Παπαδόπουλος", "ΠΑΠ%"}, {"ΖΑΐΡΗΣ", "ζαϊρ_ς"}, {"Émile", "emil%"},
                 {"Ἀθηνᾶ", "αθηνα"},       {"a%b", "a\\%b"},     {"100%", "1_0%"}};
    for (const auto &p : pairs) {
        SCOPED_TRACE(p.text);
        const bool server
            = c.server()
                  ->run("SELECT ? ~~~ ?", {QString::fromUtf8(p.text), QString::fromUtf8(p.pattern)})
                  .rows.at(0)
                  .at(0)
                  .toBool();
        EXPECT_EQ(server, GreekText::like(QString::fromUtf8(p.pattern), QString::fromUtf8(p.text)));
    }
}
