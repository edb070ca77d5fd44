#include "practicecopy.h"

#include "connection.h"
#include "connectionstring.h"
#include "dberror.h"
#include "schema.h"
#include "serversession.h"

#include <QRegularExpression>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace PracticeCopy {

namespace {

struct TableShape {
    QString name;
    QStringList columns;
    QStringList numbers; // columns whose sums are compared
    QStringList texts;   // columns whose total lengths are compared
};

// The tables and their columns, read from the statements that create them.
QList<TableShape> shapes()
{
    static const QRegularExpression create(QStringLiteral("^CREATE TABLE \"(\\w+)\""));
    static const QRegularExpression column(
        QStringLiteral("^\\s*\"([^\"]+)\" (VARCHAR|LONGTEXT|DATE|DOUBLE|INTEGER|BOOLEAN)"));
    QList<TableShape> out;
    for (const QString &sql : Schema::createStatements(Engine::SQLite)) {
        const QRegularExpressionMatch t = create.match(sql);
        if (!t.hasMatch() || t.captured(1) == QLatin1String("ORVANTA_FILE"))
            continue;
        TableShape shape {t.captured(1), {}, {}, {}};
        for (const QString &line : sql.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch c = column.match(line);
            if (!c.hasMatch())
                continue;
            shape.columns << c.captured(1);
            const QString type = c.captured(2);
            if (type == QLatin1String("VARCHAR") || type == QLatin1String("LONGTEXT"))
                shape.texts << c.captured(1);
            else if (type != QLatin1String("DATE"))
                shape.numbers << c.captured(1);
        }
        out << shape;
    }
    return out;
}

QVariant fileValue(sqlite3_stmt *stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    case SQLITE_NULL:
        return {};
    default:
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                 sqlite3_column_bytes(stmt, i));
    }
}

// The checks' figures of one table: row count, then a sum per number column and a total length
// per text column.
QStringList figureExpressions(const TableShape &shape, bool server)
{
    const auto q = [&](const QString &c) {
        return QLatin1Char('"') + (server ? c.toLower() : c) + QLatin1Char('"');
    };
    QStringList e {QStringLiteral("count(*)")};
    for (const QString &c : shape.numbers)
        e << QStringLiteral("coalesce(sum(%1), 0)").arg(q(c));
    for (const QString &c : shape.texts)
        e << QStringLiteral("coalesce(sum(length(%1)), 0)").arg(q(c));
    return e;
}

QString figureName(const TableShape &shape, int i)
{
    if (i == 0)
        return QStringLiteral("rows");
    if (i <= shape.numbers.size())
        return QStringLiteral("sum of ") + shape.numbers[i - 1];
    return QStringLiteral("length of ") + shape.texts[i - 1 - shape.numbers.size()];
}

bool sameFigure(const QVariant &a, const QVariant &b)
{
    const double x = a.toDouble();
    const double y = b.toDouble();
    return std::fabs(x - y) <= 1e-9 * std::max({1.0, std::fabs(x), std::fabs(y)});
}

} // namespace

QStringList copyToServer(const QString &practiceFolder, const QString &serverConnection)
{
    Connection file;
    file.setUp(ConnectionString::build(practiceFolder), true);
    if (file.engine() != Engine::SQLite)
        throw DbError(QStringLiteral("The practice folder already keeps its data on a server."));

    ServerSession server(serverConnection);
    QStringList report;
    server.run(QStringLiteral("BEGIN"));
    try {
        Schema::createServerTables(server, QLatin1String(ConnectionString::kDatabasePassword));
        // The delivered state's own rows (the factory password) give way to the file's.
        server.run(QStringLiteral("DELETE FROM security"));
        file.executeNative(QStringLiteral("BEGIN")); // one consistent reading of the file
        for (const TableShape &shape : shapes()) {
            // A file from before the e-books tables has no sendings or settings to copy.
            if (shape.name == QLatin1String(Schema::kEbooksTable)
                || shape.name == QLatin1String(Schema::kEbooksSettingsTable)) {
                const PreparedStatement exists = file.prepare(
                    QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                   "AND name = ?"),
                    {shape.name});
                if (sqlite3_step(exists.get()) != SQLITE_ROW)
                    file.fail(shape.name);
                if (sqlite3_column_int64(exists.get(), 0) == 0) {
                    report << QStringLiteral("%1: 0 rows").arg(shape.name);
                    continue;
                }
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
            if (shape.name == QLatin1String("STOIXEIA_PELATH")
                || shape.name == QLatin1String("SHMEIWSEIS")) {
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
            const PreparedStatement fileFigures = file.prepare(
                QStringLiteral("SELECT %1 FROM \"%2\"")
                    .arg(figureExpressions(shape, false).join(QLatin1Char(',')), shape.name));
            if (sqlite3_step(fileFigures.get()) != SQLITE_ROW)
                file.fail(shape.name);
            const ServerSession::Result serverFigures
                = server.run(QStringLiteral("SELECT %1 FROM \"%2\"")
                                 .arg(figureExpressions(shape, true).join(QLatin1Char(',')),
                                      shape.name.toLower()));
            const std::vector<QVariant> &got = serverFigures.rows.at(0);
            for (int i = 0; i < int(got.size()); ++i) {
                const QVariant want = fileValue(fileFigures.get(), i);
                if (!sameFigure(want, got[size_t(i)]))
                    throw DbError(QStringLiteral("%1, %2: %3 in the file, %4 on the server; "
                                                 "nothing was copied.")
                                      .arg(shape.name, figureName(shape, i), want.toString(),
                                           got[size_t(i)].toString()));
            }
            const qlonglong copied = got[0].toLongLong();
            report << QStringLiteral("%1: %2 %3")
                          .arg(shape.name)
                          .arg(copied)
                          .arg(copied == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
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

} // namespace PracticeCopy
