// Where a practice keeps its data (orvanta.ini), and the windows' SQL as a server runs it.
#include "dberror.h"
#include "dialect.h"
#include "engine.h"
#include "serversession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeIni(const QTemporaryDir &dir, const QByteArray &text)
{
    QFile f(QDir(dir.path()).filePath("orvanta.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

// A server across the network is reached over TLS with its certificate checked, unless the
// text chooses otherwise; a server on this computer, or a service whose file says it, is left
// as written.
TEST(ServerConnection, TlsIsVerifiedAcrossTheNetworkUnlessTheTextSaysOtherwise)
{
    qunsetenv("PGSSLMODE");
    qunsetenv("PGHOST");
    const char *verify = " sslmode=verify-full";
    const struct {
        const char *text;
        const char *added; // what the session adds, "" for nothing
    } cases[] = {
        {"host=192.168.1.10 dbname=orvanta user=reception", verify},
        {"host=server.practice.lan dbname=orvanta", verify},
        {"hostaddr=10.0.0.5 dbname=orvanta", verify},
        {"host=127.evil.example dbname=orvanta", verify},
        {"host=localhost,192.168.1.10 dbname=orvanta", verify},
        {"host=192.168.1.10 sslmode=disable dbname=orvanta", ""},
        {"host=192.168.1.10 sslmode=require dbname=orvanta", ""},
        {"host=127.0.0.1 port=5432 dbname=orvanta", ""},
        {"host=localhost dbname=orvanta", ""},
        {"host=::1 dbname=orvanta", ""},
        {"host=/var/run/postgresql dbname=orvanta", ""},
        {"dbname=orvanta", ""},
        {"service=orvanta", ""},
        {"host='unclosed", ""},
        {"postgresql://192.168.1.10/orvanta", "?sslmode=verify-full"},
        {"postgresql://192.168.1.10/orvanta?user=reception", "&sslmode=verify-full"},
        {"postgresql://localhost/orvanta", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ServerSession::securedConnectionText(QString::fromUtf8(c.text)),
                  QString::fromUtf8(c.text) + QString::fromUtf8(c.added));
    }
    // The environment's choice is a choice too, and its server is where the text has none.
    qputenv("PGSSLMODE", "prefer");
    EXPECT_EQ(ServerSession::securedConnectionText("host=192.168.1.10"), "host=192.168.1.10");
    qunsetenv("PGSSLMODE");
    qputenv("PGHOST", "192.168.1.10");
    EXPECT_EQ(ServerSession::securedConnectionText("dbname=orvanta"),
              QString("dbname=orvanta") + verify);
    qunsetenv("PGHOST");
}

TEST(EngineSettings, TheFileUnlessTheSettingsNameAServer)
{
    const struct {
        const char *ini; // nullptr: no settings file
        Engine engine;
        const char *connection;
    } cases[] = {
        {nullptr, Engine::SQLite, ""},
        {"[database]\nengine=sqlite\n", Engine::SQLite, ""},
        {"[database]\nengine=postgresql\nservice=orvanta\n", Engine::PostgreSQL, "service=orvanta"},
        {"[database]\nengine=PostgreSQL\nconnection=host=10.0.0.5 dbname=practice user=desk\n",
         Engine::PostgreSQL, "host=10.0.0.5 dbname=practice user=desk"},
        {"[database]\nengine=postgresql\nservice=a\nconnection=\"host=h, dbname=d\"\n",
         Engine::PostgreSQL, "host=h, dbname=d"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ini ? c.ini : "no file");
        QTemporaryDir dir;
        if (c.ini)
            writeIni(dir, c.ini);
        const DataLocation location = EngineSettings::read(dir.path());
        EXPECT_EQ(location.engine, c.engine);
        EXPECT_EQ(location.serverConnection, QString::fromUtf8(c.connection));
    }
}

TEST(EngineSettings, RefusesWhatItCannotUseAndEveryPassword)
{
    const struct {
        const char *ini;
        const char *says;
    } cases[] = {
        {"[database]\nengine=oracle\n", "unknown engine 'oracle'"},
        {"[database]\nengine=postgresql\n", "names no service and no connection"},
        {"[database]\nengine=postgresql\nconnection=host=h password=secret\n",
         "must not hold a password"},
        {"[database]\nengine=postgresql\nconnection=\"host=h PASSWORD = x\"\n",
         "must not hold a password"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ini);
        QTemporaryDir dir;
        writeIni(dir, c.ini);
        try {
            EngineSettings::read(dir.path());
            ADD_FAILURE() << "accepted";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.says))) << e.what();
        }
    }
}

TEST(EngineSettings, WhatTheToolsWriteReadsBack)
{
    QTemporaryDir dir;
    const QString connection = QStringLiteral("host=127.0.0.1 port=5432 dbname=\"a b\" user=x");
    EngineSettings::writeServer(dir.path(), connection);
    const DataLocation location = EngineSettings::read(dir.path());
    EXPECT_EQ(location.engine, Engine::PostgreSQL);
    EXPECT_EQ(location.serverConnection, connection);
}

TEST(ServerDialect, TheWindowsSqlAsTheServerRunsIt)
{
    const struct {
        const char *jet, *server, *file;
    } cases[] = {
        {"SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#",
         "SELECT * FROM RANTEBOU WHERE HMEROMHNIA=DATE '2026-03-05'",
         "SELECT * FROM RANTEBOU WHERE HMEROMHNIA='2026-03-05'"},
        {"UPDATE LAST_APODEIKSH SET [LAST]=[LAST]+1",
         "UPDATE LAST_APODEIKSH SET \"last\"=\"last\"+1",
         "UPDATE LAST_APODEIKSH SET \"LAST\"=\"LAST\"+1"},
        {"SELECT Format(POSO,'0.00') AS POSO FROM APODEIKSEIS WHERE EGKYRH=TRUE",
         "SELECT orv_format(POSO,'0.00') AS POSO FROM APODEIKSEIS WHERE EGKYRH=1",
         "SELECT Format(POSO,'0.00') AS POSO FROM APODEIKSEIS WHERE EGKYRH=TRUE"},
        {"SELECT Format(HMEROMHNIA,\"dd/mm/yyyy\") FROM EKSODA",
         "SELECT orv_format(HMEROMHNIA,'dd/mm/yyyy') FROM EKSODA",
         "SELECT Format(HMEROMHNIA,'dd/mm/yyyy') FROM EKSODA"},
        {"SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC",
         "SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO ~~~'ΠΑΠ%' ORDER BY EPWNYMO ASC NULLS FIRST",
         "SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO COLLATE GREEK "
         "ASC"},
        {"SELECT ID FROM X WHERE A NOT LIKE 'a%' ORDER BY A, B DESC",
         "SELECT ID FROM X WHERE A !~~~ 'a%' ORDER BY A NULLS FIRST, B DESC NULLS LAST",
         "SELECT ID FROM X WHERE A NOT LIKE 'a%' ORDER BY A COLLATE GREEK, B COLLATE GREEK DESC"},
        {"SELECT [LAST] from LAST_APODEIKSH FOR UPDATE",
         "SELECT \"last\" from LAST_APODEIKSH FOR UPDATE", "SELECT \"LAST\" from LAST_APODEIKSH"},
        // A word that is only a column's name stays as written.
        {"SELECT FORMAT, [0800-0830] FROM T", "SELECT FORMAT, \"0800-0830\" FROM T",
         "SELECT FORMAT, \"0800-0830\" FROM T"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.jet);
        EXPECT_EQ(Dialect::translate(QString::fromUtf8(c.jet), Engine::PostgreSQL),
                  QString::fromUtf8(c.server));
        EXPECT_EQ(Dialect::translate(QString::fromUtf8(c.jet), Engine::SQLite),
                  QString::fromUtf8(c.file));
    }
}

TEST(ServerDialect, ATextTheServerCannotHoldIsRefusedBeforeItIsSent)
{
    const QString withNul = QStringLiteral("UPDATE T SET A='a") + QChar(0) + QStringLiteral("b'");
    EXPECT_THROW(Dialect::translate(withNul, Engine::PostgreSQL), DbError);
    EXPECT_NO_THROW(Dialect::translate(withNul, Engine::SQLite));
}
