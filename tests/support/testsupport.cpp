#include "testsupport.h"

#include <QFile>
#include <QLocale>
#include <QTextStream>

#include "connection.h"
#include "connectionpool.h"
#include "connectionstring.h"
#include "datawindow.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"
#include "serversession.h"

#include <QCoreApplication>
#include <QDir>

#include <sqlite3.h>

namespace TestSupport {

QString testServer()
{
    return qEnvironmentVariable("ORVANTA_TEST_SERVER");
}

TempPractice::TempPractice()
    : m_oldAppDir(Program::AppDir)
    , m_oldConnection(Program::DbConnectionString)
{
    const QString server = testServer();
    if (server.isEmpty()) {
        Schema::createPracticeDatabase(dbPath(),
                                       QLatin1String(ConnectionString::kDatabasePassword));
    } else {
        // A database of its own on the test server, copied from the delivered state that the
        // suite's script prepared once (or made here when there is none).
        static int made = 0;
        m_serverDatabase
            = QStringLiteral("orv_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
        const QString templateName = qEnvironmentVariable("ORVANTA_TEST_SERVER_TEMPLATE");
        ServerSession maintenance(server);
        maintenance.run(templateName.isEmpty()
                            ? QStringLiteral("CREATE DATABASE %1").arg(m_serverDatabase)
                            : QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                                  .arg(m_serverDatabase, templateName));
        const QString connection = server + QStringLiteral(" dbname=") + m_serverDatabase;
        if (templateName.isEmpty())
            Schema::createServerDatabase(connection,
                                         QLatin1String(ConnectionString::kDatabasePassword));
        EngineSettings::writeServer(dir(), connection);
    }
    Program::AppDir = dir();
    Program::DbConnectionString = ConnectionString::build(dir());
}

TempPractice::~TempPractice()
{
    if (!m_serverDatabase.isEmpty()) {
        try {
            ServerSession(testServer())
                .run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                         .arg(m_serverDatabase));
        } catch (const DbError &) {
            // Left for the cluster's removal.
        }
    }
    Program::AppDir = m_oldAppDir;
    Program::DbConnectionString = m_oldConnection;
}

FailingPractice::FailingPractice(Failure failure)
{
    const bool server = onServer();
    if (failure == Failure::Locked) {
        m_locker = std::make_unique<Connection>();
        m_locker->setUp(Program::DbConnectionString, true);
        if (server) {
            // Every table locked against writers (readers still pass) until the rollback.
            QStringList tables;
            for (const QString &sql : Schema::createStatements(Engine::PostgreSQL)) {
                if (sql.startsWith(QLatin1String("CREATE TABLE ")))
                    tables << sql.section(QLatin1Char(' '), 2, 2);
            }
            m_locker->executeNative(QStringLiteral("BEGIN"));
            m_locker->executeNative(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE")
                                        .arg(tables.join(QLatin1Char(','))));
        } else if (sqlite3_exec(m_locker->handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)
                   != SQLITE_OK) {
            throw DbError(QStringLiteral("The test could not lock the practice file."));
        }
    }
    ProgramConnection::setOpenedHook([failure](Connection &connection) {
        if (connection.server())
            connection.executeNative(
                failure == Failure::Locked
                    ? QStringLiteral("SET lock_timeout = '20ms'")
                    : QStringLiteral("SET default_transaction_read_only = on"));
        else if (failure == Failure::Locked)
            sqlite3_busy_timeout(connection.handle(), 20);
        else
            sqlite3_exec(connection.handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    });
}

FailingPractice::~FailingPractice()
{
    ProgramConnection::setOpenedHook({});
    if (m_locker)
        m_locker->rollback();
}

QString FailingPractice::message(Failure failure)
{
    if (onServer())
        return failure == Failure::Locked
            ? QStringLiteral("canceling statement due to lock timeout")
            : QStringLiteral("in a read-only transaction");
    return failure == Failure::Locked ? QStringLiteral("database is locked")
                                      : QStringLiteral("attempt to write a readonly database");
}

QString FailingPractice::name(Failure failure)
{
    return failure == Failure::Locked ? QStringLiteral("locked") : QStringLiteral("read-only");
}

QString TempPractice::dbPath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("data.mdb"));
}

void TempPractice::exec(const QString &jetSql) const
{
    Connection c;
    c.setUp(ConnectionString::build(dir()), true);
    c.execute(jetSql);
    // A table dropped behind the program's back (a practice made before the table existed, as
    // a test makes one) is news to the sessions kept from before: the program itself never
    // drops a table, so they are ended, as a restart of the program would.
    if (jetSql.trimmed().startsWith(QLatin1String("DROP"), Qt::CaseInsensitive)) {
        c.close();
        ConnectionPool::clear();
    }
}

QString TempPractice::scalar(const QString &jetSql) const
{
    Connection c;
    c.setUp(ConnectionString::build(dir()), true);
    Query q(c);
    q.setSql(jetSql);
    q.open();
    return q.rowCount() > 0 ? q.text(0, 0) : QString();
}

int TempPractice::count(const QString &jetSql) const
{
    Connection c;
    c.setUp(ConnectionString::build(dir()), true);
    Query q(c);
    q.setSql(jetSql);
    q.open();
    return q.rowCount();
}

RecordingMessages::RecordingMessages()
{
    MessageService::install(this);
}

RecordingMessages::~RecordingMessages()
{
    MessageService::install(nullptr);
}

bool RecordingMessages::nextAnswer()
{
    return m_answers.isEmpty() ? true : m_answers.takeFirst();
}

void RecordingMessages::information(QWidget *, const QString &text)
{
    m_shown.append({QStringLiteral("information"), text});
}

bool RecordingMessages::askYesNo(QWidget *, const QString &text)
{
    m_shown.append({QStringLiteral("yesno"), text});
    return nextAnswer();
}

bool RecordingMessages::askYesNoDefaultNo(QWidget *, const QString &text)
{
    m_shown.append({QStringLiteral("yesno-default-no"), text});
    return nextAnswer();
}

bool RecordingMessages::askOkCancel(QWidget *, const QString &text)
{
    m_shown.append({QStringLiteral("okcancel"), text});
    return nextAnswer();
}

void RecordingMessages::error(QWidget *, const QString &text)
{
    m_shown.append({QStringLiteral("error"), text});
}

QStringList RecordingMessages::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out << s.text;
    return out;
}

ModalDriver::ModalDriver(Handler handler)
    : m_handler(std::move(handler))
{
    ModalRunner::install([this](QDialog *dialog) {
        m_opened << dialog->windowTitle();
        return m_handler ? m_handler(dialog) : int(QDialog::Rejected);
    });
}

ModalDriver::~ModalDriver()
{
    ModalRunner::install({});
}

void cutServerSessions()
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.keepOutOfPool(); // the cut ends every session kept for later too, this one as well
    if (c.server())
        c.executeNative(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                       "WHERE datname = current_database() AND pid <> "
                                       "pg_backend_pid()"));
}

void refuseWrites(const QString &table, const QString &event, const QString &message)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    if (c.server()) {
        c.executeNative(QStringLiteral("CREATE FUNCTION refuse_write() RETURNS trigger LANGUAGE "
                                       "plpgsql AS $$BEGIN RAISE EXCEPTION '%1'; END$$")
                            .arg(message));
        c.executeNative(QStringLiteral("CREATE TRIGGER refuse_write BEFORE %1 ON %2 FOR EACH ROW "
                                       "EXECUTE FUNCTION refuse_write()")
                            .arg(event, table));
    } else {
        c.executeNative(QStringLiteral("CREATE TRIGGER refuse_write BEFORE %1 ON %2 BEGIN SELECT "
                                       "RAISE(ABORT, '%3'); END")
                            .arg(event, table, message));
    }
}

void allowWrites(const QString &table)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    if (c.server()) {
        c.executeNative(QStringLiteral("DROP TRIGGER refuse_write ON %1").arg(table));
        c.executeNative(QStringLiteral("DROP FUNCTION refuse_write()"));
    } else {
        c.executeNative(QStringLiteral("DROP TRIGGER refuse_write"));
    }
}

QString testDataDir()
{
    const QString fromEnv = qEnvironmentVariable("ORVANTA_TEST_DATA_DIR");
    return fromEnv.isEmpty() ? QStringLiteral(ORVANTA_SOURCE_DIR "/tests/data") : fromEnv;
}

QStringList corpusLines()
{
    QFile file(testDataDir() + QStringLiteral("/sql-corpus.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd())
        lines << in.readLine();
    return lines;
}

QString num(const QString &pointed)
{
    if (QLocale::system().decimalPoint() != QStringLiteral(","))
        return pointed;
    QString s = pointed;
    for (QChar &c : s) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    return s;
}

} // namespace TestSupport
