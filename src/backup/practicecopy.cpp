#include "practicecopy.h"

#include "connection.h"
#include "dberror.h"
#include "schema.h"

#include <QRegularExpression>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace PracticeCopy {

namespace {

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

QVariantList emptyFigures(const TableShape &shape)
{
    QVariantList none {qlonglong(0)};
    for (qsizetype i = 0; i < shape.numbers.size() + shape.texts.size(); ++i)
        none << qlonglong(0);
    return none;
}

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

} // namespace PracticeCopy
