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

QList<TableShape> tables()
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

namespace {

// The figures of a table the database was made before: those of an empty one.
QVariantList emptyFigures(const TableShape &shape)
{
    QVariantList none {qlonglong(0)};
    for (qsizetype i = 0; i < shape.numbers.size() + shape.texts.size(); ++i)
        none << qlonglong(0);
    return none;
}

} // namespace

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

QVariantList fileFigures(Connection &file, const TableShape &shape)
{
    if (!Schema::hasTable(file, shape.name))
        return emptyFigures(shape);
    const QString sql = QStringLiteral("SELECT %1 FROM \"%2\"")
                            .arg(figureExpressions(shape, false).join(QLatin1Char(',')), shape.name);
    const PreparedStatement figures = file.prepare(sql);
    if (sqlite3_step(figures.get()) != SQLITE_ROW)
        file.fail(sql);
    QVariantList out;
    for (int i = 0; i < sqlite3_column_count(figures.get()); ++i)
        out << fileValue(figures.get(), i);
    return out;
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

QString difference(const TableShape &shape, const QVariantList &first, const QVariantList &second,
                   const QString &firstSide, const QString &secondSide)
{
    for (int i = 0; i < std::max(first.size(), second.size()); ++i) {
        const QVariant a = first.value(i);
        const QVariant b = second.value(i);
        if (i >= first.size() || i >= second.size() || !sameFigure(a, b))
            return QStringLiteral("%1, %2: %3 %4, %5 %6")
                .arg(shape.name, figureName(shape, i), a.toString(), firstSide, b.toString(),
                     secondSide);
    }
    return {};
}

QString rowsLine(const QString &table, qlonglong rows)
{
    return QStringLiteral("%1: %2 %3")
        .arg(table)
        .arg(rows)
        .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
}

bool hasCounter(const QString &table)
{
    return table == QLatin1String("STOIXEIA_PELATH") || table == QLatin1String("SHMEIWSEIS");
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
