#include "connection.h"

#include "connectionstring.h"
#include "dberror.h"
#include "dialect.h"
#include "schema.h"
#include "sqlfunctions.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <sqlite3.h>

Q_LOGGING_CATEGORY(lcSql, "orvanta.sql", QtWarningMsg)

namespace {

QAtomicInt g_nextConnection;

// How long a statement waits for a file another connection is writing: "no limit" in
// practice, but a machine that never lets go still ends in an error rather than a hang.
constexpr int kBusyWaitMs = 5 * 60 * 1000;

void bindValues(sqlite3_stmt *stmt, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values[i];
        const int at = i + 1;
        if (v.isNull() || !v.isValid()) {
            sqlite3_bind_null(stmt, at);
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            sqlite3_bind_int64(stmt, at, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(stmt, at, v.toDouble());
            break;
        default: {
            const QString s = v.toString();
            sqlite3_bind_text16(stmt, at, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
        }
        }
    }
}

} // namespace

Connection::Connection()
    : m_name(QStringLiteral("orvanta-%1").arg(g_nextConnection.fetchAndAddRelaxed(1)))
{
}

Connection::~Connection()
{
    close();
}

void Connection::close()
{
    if (!m_handle)
        return;
    m_handle = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::setUp(const QString &connectionText, bool openNow)
{
    close();
    setConnectionText(connectionText);
    setCommandTimeout(0);
    setConnectionTimeout(0);
    if (openNow)
        open();
}

void Connection::open()
{
    if (m_handle)
        return;
    const ConnectionString::Target target = ConnectionString::parse(m_connectionText);
    const QString path = ConnectionString::localPath(target.dataSource);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw DbError(QStringLiteral("Could not find file '%1'.").arg(target.dataSource));

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
        if (!db.open()) {
            const QString message = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(message);
        }
        const QVariant h = db.driver()->handle();
        if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
            throw DbError(QStringLiteral("The database driver gives no SQLite handle."));
        m_handle = *static_cast<sqlite3 *const *>(h.constData());
    }
    m_fileName = path;
    sqlite3_busy_timeout(m_handle, kBusyWaitMs);

    auto refuse = [&](const QString &message) {
        close();
        throw DbError(message);
    };
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_handle, "PRAGMA application_id", -1, &stmt, nullptr) != SQLITE_OK
        || sqlite3_step(stmt) != SQLITE_ROW || sqlite3_column_int(stmt, 0) != Schema::kApplicationId) {
        sqlite3_finalize(stmt);
        refuse(QStringLiteral("Unrecognized database format '%1'.").arg(target.dataSource));
    }
    sqlite3_finalize(stmt);
    stmt = nullptr;
    QString stored;
    if (sqlite3_prepare_v2(m_handle, "SELECT VALUE FROM ORVANTA_FILE WHERE NAME = 'password'", -1,
                           &stmt, nullptr)
            == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        stored = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    if (stored != target.password)
        refuse(QStringLiteral("Not a valid password."));

    // Committed data reaches the disk before a commit returns; the rollback journal keeps the
    // whole database in data.mdb itself, so a copy of that one file is a complete backup.
    sqlite3_exec(m_handle, "PRAGMA synchronous = FULL; PRAGMA journal_mode = DELETE", nullptr,
                 nullptr, nullptr);
    SqlFunctions::registerAll(m_handle);
}

void Connection::requireOpen(const QString &sql) const
{
    if (!m_handle)
        throw DbError(QStringLiteral("Operation is not allowed when the object is closed."), sql);
}

void Connection::fail(const QString &sql) const
{
    throw DbError(QString::fromUtf8(sqlite3_errmsg(m_handle)), sql,
                  sqlite3_extended_errcode(m_handle));
}

sqlite3_stmt *Connection::prepare(const QString &sql, const QVariantList &values) const
{
    requireOpen(sql);
    qCDebug(lcSql).noquote() << sql << values;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare16_v2(m_handle, sql.utf16(), int(sql.size() * 2), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        fail(sql);
    }
    if (!stmt)
        throw DbError(QStringLiteral("Command text was not set for the command object."), sql);
    bindValues(stmt, values);
    return stmt;
}

int Connection::executeNative(const QString &sql, const QVariantList &values)
{
    sqlite3_stmt *stmt = prepare(sql, values);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        fail(sql);
    return sqlite3_changes(m_handle);
}

int Connection::execute(const QString &jetSql)
{
    requireOpen(jetSql);
    const QString sql = Dialect::translate(jetSql);
    try {
        return executeNative(sql);
    } catch (const DbError &e) {
        throw e.withSql(jetSql);
    }
}

void Connection::beginTransaction()
{
    executeNative(QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::commit()
{
    executeNative(QStringLiteral("COMMIT"));
}

void Connection::rollback()
{
    if (m_handle && !sqlite3_get_autocommit(m_handle))
        sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
}

Transaction::Transaction(Connection &connection) : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_connection.rollback();
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}
