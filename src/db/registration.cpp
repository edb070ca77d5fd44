#include "registration.h"

#include "connection.h"
#include "dberror.h"
#include "schema.h"
#include "serversession.h"

#include <QDateTime>
#include <QUuid>
#include <sqlite3.h>

#include <atomic>

namespace Registration {

namespace {

// When the tokens were last pruned by this program (seconds since the epoch); once a day.
std::atomic<qint64> g_nextPrune {0};

QString utc(const QDateTime &at)
{
    return at.toUTC().toString(Qt::ISODate);
}

} // namespace

QString tableStatement(Engine engine)
{
    return Schema::registrationTableStatement(engine);
}

QString newToken()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void record(Connection &connection, const QString &token, const QString &table, const QString &key)
{
    const QString name = connection.quoteName(QLatin1String(kTable));
    // Created only when missing: a workstation's user may read and write the tables without
    // the right to create any (the server checks that right even for IF NOT EXISTS).
    if (!Schema::hasTable(connection, QLatin1String(kTable)))
        connection.executeNative(tableStatement(connection.engine()));
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QString insert
        = QStringLiteral("INSERT INTO %1 (TOKEN, PINAKAS, KLEIDI, WRA) VALUES (?, ?, ?, ?)");
    connection.executeNative(insert.arg(name), {token, table, key, utc(now)});
    const qint64 seconds = now.toSecsSinceEpoch();
    if (seconds >= g_nextPrune.load()) {
        prune(connection, now);
        g_nextPrune = seconds + 24 * 3600;
    }
}

void prune(Connection &connection, const QDateTime &now)
{
    connection.executeNative(QStringLiteral("DELETE FROM %1 WHERE WRA < ?")
                                 .arg(connection.quoteName(QLatin1String(kTable))),
                             {utc(now.addDays(-kKeptDays))});
}

Lookup lookUp(Connection &connection, const QString &token)
{
    Lookup out;
    try {
        // What the lost commit left open goes first: on a server a lost transaction refuses
        // every statement until it is rolled back.
        connection.rollback();
    } catch (const DbError &) {}
    try {
        if (!connection.isOpen())
            connection.open();
        if (!Schema::hasTable(connection, QLatin1String(kTable))) {
            out.state = Lookup::State::NotWritten;
            return out;
        }
        const QString sql = QStringLiteral("SELECT KLEIDI FROM %1 WHERE TOKEN = ?")
                                .arg(connection.quoteName(QLatin1String(kTable)));
        QVariant key;
        bool found = false;
        if (ServerSession *server = connection.server()) {
            const ServerSession::Result r = server->run(sql, {token});
            found = !r.rows.empty();
            if (found)
                key = r.rows[0][0];
        } else {
            const PreparedStatement stmt = connection.prepare(sql, {token});
            const int rc = sqlite3_step(stmt.get());
            if (rc == SQLITE_ROW) {
                found = true;
                key = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0)));
            } else if (rc != SQLITE_DONE) {
                connection.fail(sql);
            }
        }
        out.state = found ? Lookup::State::Written : Lookup::State::NotWritten;
        out.key = key.toString();
    } catch (const DbError &) {
        out.state = Lookup::State::Unknown;
    }
    return out;
}

} // namespace Registration
