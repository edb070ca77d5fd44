#include "connection.h"

#include "connectionpool.h"
#include "connectionstring.h"
#include "dberror.h"
#include "decimal.h"
#include "dialect.h"
#include "schema.h"
#include "serversession.h"
#include "sqlfunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>
#include <sqlite3.h>
#include <sys/stat.h>

#include <utility>

Q_LOGGING_CATEGORY(lcSql, "orvanta.sql", QtWarningMsg)

namespace {

// How long a statement waits for a file another connection is writing: "no limit" in
// practice, but a machine that never lets go still ends in an error rather than a hang.
constexpr int kBusyWaitMs = 5 * 60 * 1000;

int g_busyWaitMs = kBusyWaitMs;
bool g_openReadOnly = false;
std::function<int(sqlite3 *)> g_fileCommitSeam;

// The engine's last failure on a handle as a DbError.
DbError engineError(sqlite3 *db, const QString &sql = {})
{
    return DbError(QString::fromUtf8(sqlite3_errmsg(db)), sql, sqlite3_extended_errcode(db));
}

bool isNotADatabase(int code)
{
    return (code & 0xff) == SQLITE_NOTADB;
}

// Runs a statement of the layer's own (a PRAGMA, the marker read) to its end and returns the
// first `columns` values of its first row as text (empty when it gives no row). Any failure of
// the engine is thrown.
QStringList firstRow(sqlite3 *db, const char *sql, int columns)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        throw engineError(db, QString::fromUtf8(sql));
    }
    const PreparedStatement stmt(raw);
    QStringList first;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        for (int i = first.isEmpty() ? 0 : columns; i < columns; ++i) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), i));
            first << (text ? QString::fromUtf8(text) : QString());
        }
    }
    if (rc != SQLITE_DONE)
        throw engineError(db, QString::fromUtf8(sql));
    return first;
}

void bindValues(sqlite3 *db, sqlite3_stmt *stmt, const QVariantList &values, const QString &sql)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values[i];
        const int at = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull() || !v.isValid()) {
            rc = sqlite3_bind_null(stmt, at);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt, at, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, at, v.toDouble());
                break;
            default: {
                const QString s = v.toString();
                rc = sqlite3_bind_text16(stmt, at, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            throw engineError(db, sql);
    }
}

// Whether a handle holds tables, views or triggers of its own (the temp schema), which the next
// connection must not find.
bool hasTemporaryObjects(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM temp.sqlite_schema", -1, &stmt, nullptr) != SQLITE_OK)
        return true;
    const bool any = sqlite3_step(stmt) != SQLITE_DONE;
    sqlite3_finalize(stmt);
    return any;
}

} // namespace

void Connection::setBusyWait(int milliseconds)
{
    g_busyWaitMs = milliseconds;
}

int Connection::busyWait()
{
    return g_busyWaitMs;
}

void Connection::setOpenReadOnly(bool readOnly)
{
    g_openReadOnly = readOnly;
}

Connection::Connection() = default;

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    const bool pooled = std::exchange(m_pooled, false) && !std::exchange(m_keepOutOfPool, false);
    m_keepOutOfPool = false;
    if (std::unique_ptr<ServerSession> session = std::move(m_server)) {
        if (pooled && session->readyForReuse())
            ConnectionPool::giveServer(m_fileName, std::move(session));
    }
    if (!m_handle)
        return;
    sqlite3 *handle = std::exchange(m_handle, nullptr);
    std::shared_ptr<StatementCache> statements = std::move(m_statements);
    // A handle goes back as a new one would come: no transaction open, no statement of this
    // connection's still running (a record set that outlives its connection keeps its handle).
    if (pooled && statements && statements->lentCount() == 0) {
        if (!sqlite3_get_autocommit(handle))
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
        if (sqlite3_get_autocommit(handle) && !hasTemporaryObjects(handle)) {
            ConnectionPool::giveFile(QFileInfo(m_fileName).absoluteFilePath(), m_readOnly,
                                     {handle, std::move(statements), m_device, m_inode});
            return;
        }
    }
    // Idle statements go with their cache; a statement still held somewhere is finalized by its
    // handle later, and the engine closes the file then.
    statements.reset();
    if (sqlite3_close_v2(handle) != SQLITE_OK)
        qCWarning(lcSql).noquote() << "closing" << m_fileName << ":" << sqlite3_errmsg(handle);
}

void Connection::setUp(const QString &connectionText, bool openNow)
{
    close();
    setConnectionText(connectionText);
    if (openNow)
        open();
}

void Connection::open()
{
    if (isOpen())
        return;
    const ConnectionString::Target target = ConnectionString::parse(m_connectionText);
    const QString path = ConnectionString::localPath(target.dataSource);
    // The practice folder's settings may put the data on a server instead of the file.
    if (!path.isEmpty()) {
        const DataLocation location = EngineSettings::read(QFileInfo(path).absolutePath());
        if (location.engine == Engine::PostgreSQL) {
            openServer(location.serverConnection, target.password);
            return;
        }
    }
    // The file is named as this system writes paths, not with the connection text's backslash.
    const QString shownPath = QDir::toNativeSeparators(path.isEmpty() ? target.dataSource : path);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(shownPath));
    // The file under the name now, before anything is opened: a handle kept from before is
    // used only if it was opened on this same file (a restore puts another file in its place).
    const QString absolute = QFileInfo(path).absoluteFilePath();
    struct stat now {};
    const bool known = ::stat(QFile::encodeName(absolute).constData(), &now) == 0;
    const bool readOnly = g_openReadOnly;
    ConnectionPool::FileHandle kept;
    while ((kept = ConnectionPool::takeFile(absolute, readOnly)).db) {
        if (known && kept.device == quint64(now.st_dev) && kept.inode == quint64(now.st_ino))
            break;
        ConnectionPool::closeFile(kept);
    }
    if (kept.db) {
        m_handle = kept.db;
        m_statements = std::move(kept.statements);
        m_fileName = path;
        sqlite3_busy_timeout(m_handle, g_busyWaitMs);
    } else {
        openFile(path);
    }
    m_readOnly = readOnly;
    m_device = known ? quint64(now.st_dev) : 0;
    m_inode = known ? quint64(now.st_ino) : 0;
    try {
        // A kept handle is checked again as a new one is: the password may have changed.
        checkFile(shownPath, target.password);
        if (!kept.db)
            SqlFunctions::registerAll(m_handle);
    } catch (...) {
        close();
        throw;
    }
    m_pooled = known;
}

void Connection::openPracticeFile(const QString &path, const QString &password, bool readOnly)
{
    close();
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(path)));
    openFile(path, readOnly);
    try {
        checkFile(QDir::toNativeSeparators(path), password);
        SqlFunctions::registerAll(m_handle);
    } catch (...) {
        close();
        throw;
    }
}

void Connection::checkFile(const QString &dataSource, const QString &password)
{
    const auto unrecognized = [&](int code) {
        return DbError(QStringLiteral("Unrecognized database format '%1'.").arg(dataSource), {},
                       code);
    };
    // One read asks for everything opening looks at, under one lock of the file: the program's
    // mark in the header, the database password in the marker table, and the journal and
    // synchronous modes.
    static const char kCheck[] = "SELECT (SELECT application_id FROM pragma_application_id), "
                                 "(SELECT VALUE FROM ORVANTA_FILE WHERE NAME = 'password'), "
                                 "(SELECT journal_mode FROM pragma_journal_mode), "
                                 "(SELECT synchronous FROM pragma_synchronous)";
    QStringList row;
    try {
        row = firstRow(m_handle, kCheck, 4);
    } catch (const DbError &e) {
        // A file that is no database at all, or another program's (no marker table), is
        // refused by name. A marker table that cannot be read in a file of this program (a
        // damaged file, a lock that never ends) is reported as the engine reports it.
        if (isNotADatabase(e.code()))
            throw unrecognized(e.code());
        QStringList id;
        try {
            id = firstRow(m_handle, "PRAGMA application_id", 1);
        } catch (const DbError &second) {
            if (isNotADatabase(second.code()))
                throw unrecognized(second.code());
            throw e;
        }
        if (id.value(0).toInt() != Schema::kApplicationId)
            throw unrecognized(0);
        throw e.withSql({});
    }
    if (row.value(0).toInt() != Schema::kApplicationId)
        throw unrecognized(0);
    // Only a password that differs is "Not a valid password.".
    if (row.value(1) != password)
        throw DbError(QStringLiteral("Not a valid password."));

    // Committed data reaches the disk before a commit returns; the rollback journal keeps the
    // whole database in data.mdb itself, so a copy of that one file is a complete backup.
    if (row.value(2).compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0) {
        const QString mode = firstRow(m_handle, "PRAGMA journal_mode = DELETE", 1).value(0);
        if (mode.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
            throw DbError(
                QStringLiteral("The journal mode of '%1' could not be set (it stays '%2').")
                    .arg(dataSource, mode));
    }
    if (row.value(3) != QLatin1String("2"))
        firstRow(m_handle, "PRAGMA synchronous = FULL", 0);
}

void Connection::openServer(const QString &serverConnection, const QString &password)
{
    // A session kept from an earlier window is asked first; one that died meanwhile (the server
    // restarted, the network went) is replaced by a new one.
    if (std::unique_ptr<ServerSession> kept = ConnectionPool::takeServer(serverConnection)) {
        try {
            checkServer(*kept, serverConnection, password);
            m_server = std::move(kept);
            m_fileName = serverConnection;
            m_pooled = true;
            return;
        } catch (const DbError &e) {
            if (e.code() != ServerSession::lostCode())
                throw;
        }
    }
    auto session = std::make_unique<ServerSession>(serverConnection);
    checkServer(*session, serverConnection, password);
    m_fileName = serverConnection;
    m_server = std::move(session);
    m_pooled = true;
}

void Connection::checkServer(ServerSession &session, const QString &serverConnection,
                             const QString &password)
{
    ServerSession::Result marker;
    try {
        marker = session.run(
            QStringLiteral("SELECT value FROM orvanta_file WHERE name = 'password'"));
    } catch (const DbError &e) {
        if (e.code() == ServerSession::lostCode())
            throw;
        throw DbError(QStringLiteral("Unrecognized database format '%1'.").arg(serverConnection),
                      {}, e.code());
    }
    if (marker.rows.empty() || marker.rows[0][0].toString() != password)
        throw DbError(QStringLiteral("Not a valid password."));
}

QString Connection::quoteName(const QString &name) const
{
    QString n = m_server ? name.toLower() : name;
    n.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

void Connection::openFile(const QString &path, bool readOnly)
{
    // Never SQLITE_OPEN_CREATE: a missing data.mdb is never created by opening it.
    const int flags
        = (g_openReadOnly || readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFileInfo(path).absoluteFilePath().toUtf8().constData(), &db,
                                   flags, nullptr);
    if (rc != SQLITE_OK) {
        const DbError error
            = db ? engineError(db) : DbError(QString::fromUtf8(sqlite3_errstr(rc)), {}, rc);
        sqlite3_close_v2(db);
        throw error;
    }
    sqlite3_extended_result_codes(db, 1);
    if (sqlite3_busy_timeout(db, g_busyWaitMs) != SQLITE_OK) {
        const DbError error = engineError(db);
        sqlite3_close_v2(db);
        throw error;
    }
    m_handle = db;
    m_fileName = path;
    m_statements = std::make_shared<StatementCache>();
}

void Connection::requireOpen(const QString &sql) const
{
    if (!isOpen())
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."), sql);
}

void Connection::fail(const QString &sql) const
{
    if (!m_handle)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."), sql);
    throw engineError(m_handle, sql);
}

PreparedStatement Connection::prepare(const QString &sql, const QVariantList &values) const
{
    requireOpen(sql);
    if (m_server)
        throw DbError(QStringLiteral("A prepared statement of the file's engine was asked of a "
                                     "server connection."),
                      sql);
    qCDebug(lcSql).noquote() << sql << values;
    PreparedStatement stmt = m_statements->take(sql);
    if (!stmt) {
        sqlite3_stmt *raw = nullptr;
        if (sqlite3_prepare16_v2(m_handle, sql.utf16(), int(sql.size() * 2), &raw, nullptr)
            != SQLITE_OK) {
            sqlite3_finalize(raw);
            fail(sql);
        }
        if (!raw)
            throw DbError(QStringLiteral("Command text was not set for the command object."), sql);
        stmt = m_statements->adopt(raw, sql);
    }
    bindValues(m_handle, stmt.get(), values, sql);
    return stmt;
}

int Connection::executeNative(const QString &sql, const QVariantList &values)
{
    if (m_server)
        return m_server->run(sql, values).changed;
    PreparedStatement stmt = prepare(sql, values);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {}
    if (rc != SQLITE_DONE)
        fail(sql);
    return sqlite3_changes(m_handle);
}

int Connection::execute(const QString &jetSql)
{
    requireOpen(jetSql);
    const QString sql = Dialect::translate(jetSql, engine(), Decimal::systemSeparator());
    try {
        return executeNative(sql);
    } catch (const DbError &e) {
        throw e.withSql(jetSql);
    }
}

void Connection::beginTransaction()
{
    // On the file the write lock is taken at once, so that what the transaction reads stays
    // as read; on a server, rows are locked as they are read FOR UPDATE.
    requireOpen(QStringLiteral("BEGIN"));
    executeNative(m_server ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::setFileCommitSeam(std::function<int(sqlite3 *)> seam)
{
    g_fileCommitSeam = std::move(seam);
}

void Connection::commit()
{
    const QString sql = QStringLiteral("COMMIT");
    if (m_server || !g_fileCommitSeam) {
        try {
            executeNative(sql);
        } catch (const DbError &e) {
            // The file's engine can fail after its commit point (an I/O error while the journal
            // is deleted or its folder synced): whether the transaction took effect is then
            // not known, as when a server's answer is lost.
            if (m_server || (e.code() & 0xff) != SQLITE_IOERR)
                throw;
            throw DbError(e.message(), e.sql(), e.code(), DbError::Kind::OutcomeUnknown);
        }
        return;
    }
    requireOpen(sql);
    const std::function<int(sqlite3 *)> seam = g_fileCommitSeam; // it may replace itself
    const int rc = seam(m_handle);
    if (rc != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errstr(rc)), sql, rc,
                      (rc & 0xff) == SQLITE_IOERR ? DbError::Kind::OutcomeUnknown
                                                  : DbError::Kind::Refused);
}

void Connection::rollback()
{
    if (m_server ? m_server->inTransaction() : (m_handle && !sqlite3_get_autocommit(m_handle)))
        executeNative(QStringLiteral("ROLLBACK"));
}

Transaction::Transaction(Connection &connection)
    : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    // A destructor may not throw: a refused rollback is logged, and the transaction left open
    // makes the connection's next BEGIN fail with the engine's message.
    try {
        m_connection.rollback();
    } catch (const DbError &e) {
        qCCritical(lcSql).noquote() << "ROLLBACK failed:" << e.message();
    }
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}
