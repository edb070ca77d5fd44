#include "testsupport.h"

#include <QFile>
#include <QTextStream>

#include "connection.h"
#include "connectionstring.h"
#include "datawindow.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "schema.h"

#include <QDir>

#include <sqlite3.h>

namespace TestSupport {

TempPractice::TempPractice()
    : m_oldAppDir(Program::AppDir)
    , m_oldConnection(Program::DbConnectionString)
{
    Schema::createPracticeDatabase(dbPath(), QLatin1String(ConnectionString::kDatabasePassword));
    Program::AppDir = dir();
    Program::DbConnectionString = ConnectionString::build(dir());
}

TempPractice::~TempPractice()
{
    Program::AppDir = m_oldAppDir;
    Program::DbConnectionString = m_oldConnection;
}

FailingPractice::FailingPractice(Failure failure)
{
    if (failure == Failure::Locked) {
        m_locker = std::make_unique<Connection>();
        m_locker->setUp(Program::DbConnectionString, true);
        if (sqlite3_exec(m_locker->handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)
            != SQLITE_OK)
            throw DbError(QStringLiteral("The test could not lock the practice file."));
    }
    ProgramConnection::setOpenedHook([failure](Connection &connection) {
        if (failure == Failure::Locked)
            sqlite3_busy_timeout(connection.handle(), 20);
        else
            sqlite3_exec(connection.handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    });
}

FailingPractice::~FailingPractice()
{
    ProgramConnection::setOpenedHook({});
    if (m_locker)
        sqlite3_exec(m_locker->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

QString FailingPractice::message(Failure failure)
{
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

} // namespace TestSupport
