#include "practicecopy.h"

#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "schema.h"
#include "serversession.h"

#include <sqlite3.h>

#include <algorithm>

// The server's side of the copies and of their checks.
namespace PracticeCopy {

bool serverHasTable(ServerSession &server, const QString &table)
{
    QString name = table.toLower();
    name.replace(QLatin1Char('\''), QLatin1String("''"));
    return server
               .run(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                                   "table_schema = current_schema() AND table_name = '%1'")
                        .arg(name))
               .rows.at(0)
               .at(0)
               .toLongLong()
        > 0;
}

QVariantList serverFigures(ServerSession &server, const TableShape &shape)
{
    if (!serverHasTable(server, shape.name))
        return emptyFigures(shape);
    const ServerSession::Result r = server.run(
        QStringLiteral("SELECT %1 FROM \"%2\"")
            .arg(figureExpressions(shape, true).join(QLatin1Char(',')), shape.name.toLower()));
    QVariantList out;
    for (const QVariant &v : r.rows.at(0))
        out << v;
    return out;
}

namespace {

QStringList copy(Connection &file, const QString &serverConnection);

} // namespace

QStringList copyToServer(const QString &practiceFolder, const QString &serverConnection)
{
    Connection file;
    file.setUp(ConnectionString::build(practiceFolder), true);
    if (file.engine() != Engine::SQLite)
        throw DbError(QStringLiteral("The practice folder already keeps its data on a server."));
    return copy(file, serverConnection);
}

QStringList copyFileToServer(const QString &path, const QString &serverConnection)
{
    Connection file;
    file.openPracticeFile(path, QLatin1String(ConnectionString::kDatabasePassword), true);
    return copy(file, serverConnection);
}

namespace {

QStringList copy(Connection &file, const QString &serverConnection)
{
    ServerSession server(serverConnection);
    QStringList report;
    server.run(QStringLiteral("BEGIN"));
    try {
        Schema::createServerTables(server, QLatin1String(ConnectionString::kDatabasePassword));
        // The delivered state's own rows (the factory password) give way to the file's.
        server.run(QStringLiteral("DELETE FROM security"));
        file.executeNative(QStringLiteral("BEGIN")); // one consistent reading of the file
        for (const TableShape &shape : tables()) {
            // A file from before the e-books tables has no sendings or settings to copy.
            if (!Schema::hasTable(file, shape.name)) {
                report << QStringLiteral("%1: 0 rows").arg(shape.name);
                continue;
            }
            QStringList names, marks;
            for (const QString &c : shape.columns) {
                names << QLatin1Char('"') + c.toLower() + QLatin1Char('"');
                marks << QStringLiteral("?");
            }
            const QString insert = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                       .arg(shape.name.toLower(), names.join(QLatin1Char(',')),
                                            marks.join(QLatin1Char(',')));
            QStringList fileNames;
            for (const QString &c : shape.columns)
                fileNames << QLatin1Char('"') + c + QLatin1Char('"');
            const PreparedStatement rows
                = file.prepare(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY _rowid_")
                                   .arg(fileNames.join(QLatin1Char(',')), shape.name));
            int rc;
            while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
                QVariantList values;
                for (int i = 0; i < shape.columns.size(); ++i)
                    values << fileValue(rows.get(), i);
                server.run(insert, values);
            }
            if (rc != SQLITE_DONE)
                file.fail(QStringLiteral("SELECT * FROM ") + shape.name);

            // The engine-given IDs go on after the highest the file ever gave, deleted ones
            // included, so that a new patient never takes the ID a deleted one's visits and
            // payments still carry.
            if (hasCounter(shape.name)) {
                const PreparedStatement given
                    = file.prepare(QStringLiteral(
                                       "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE "
                                       "name = ?), 0), coalesce((SELECT max(ID) FROM \"%1\"), 0))")
                                       .arg(shape.name),
                                   {shape.name});
                if (sqlite3_step(given.get()) != SQLITE_ROW)
                    file.fail(shape.name);
                const qlonglong highest = sqlite3_column_int64(given.get(), 0);
                server.run(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), ?, ?)")
                               .arg(shape.name.toLower()),
                           {std::max<qlonglong>(1, highest), highest > 0});
            }

            // The checks: the same figures on both sides.
            const QVariantList want = fileFigures(file, shape);
            const QVariantList got = serverFigures(server, shape);
            const QString differs = difference(shape, want, got, QStringLiteral("in the file"),
                                               QStringLiteral("on the server"));
            if (!differs.isEmpty())
                throw DbError(differs + QStringLiteral("; nothing was copied."));
            report << rowsLine(shape.name, got.value(0).toLongLong());
        }
        file.executeNative(QStringLiteral("COMMIT"));
        server.run(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            server.run(QStringLiteral("ROLLBACK"));
        } catch (const DbError &) {}
        throw;
    }
    // The server plans its queries by what it knows of the tables: it learns it now rather than
    // at its next automatic pass. The copy is whole whatever this says.
    try {
        server.run(QStringLiteral("ANALYZE"));
    } catch (const DbError &) {}
    return report;
}

} // namespace

} // namespace PracticeCopy
