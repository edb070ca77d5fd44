#include "exporttable.h"

#include "dberror.h"
#include "recordset.h"

ExportCell ExportCell::ofText(const QString &text)
{
    ExportCell c;
    c.kind = Kind::Text;
    c.text = text;
    return c;
}

ExportCell ExportCell::ofInteger(qint64 value)
{
    ExportCell c;
    c.kind = Kind::Integer;
    c.integer = value;
    return c;
}

ExportCell ExportCell::ofDate(const QDate &date)
{
    ExportCell c;
    c.kind = date.isValid() ? Kind::Date : Kind::Empty;
    c.date = date;
    return c;
}

ExportCell ExportCell::ofAmount(const Decimal &amount)
{
    ExportCell c;
    c.kind = Kind::Amount;
    c.amount = amount.rounded(2, Decimal::Rounding::HalfAwayFromZero);
    return c;
}

namespace {

ExportCell cell(const QVariant &value, ExportCell::Kind kind)
{
    if (value.isNull())
        return {};
    switch (kind) {
    case ExportCell::Kind::Empty:
        return {};
    case ExportCell::Kind::Text:
        return ExportCell::ofText(value.toString());
    case ExportCell::Kind::Integer: {
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        return ok ? ExportCell::ofInteger(n) : ExportCell::ofText(value.toString());
    }
    case ExportCell::Kind::Date: {
        const QDate date = QDate::fromString(value.toString().left(10), Qt::ISODate);
        return date.isValid() ? ExportCell::ofDate(date) : ExportCell::ofText(value.toString());
    }
    case ExportCell::Kind::Amount:
        if (const auto amount = Decimal::fromVariant(value))
            return ExportCell::ofAmount(*amount);
        return ExportCell::ofText(value.toString());
    }
    return {};
}

} // namespace

ExportTable ExportTable::fromRecordSet(const RecordSet &rows, const QList<ExportColumn> &columns,
                                       const QString &sheetName)
{
    ExportTable table;
    table.sheetName = sheetName;
    std::vector<int> indexes;
    for (const ExportColumn &column : columns) {
        const int index = rows.fieldIndex(column.field);
        if (index < 0)
            throw DbError(QStringLiteral("The column %1 is not in the rows exported.")
                              .arg(column.field));
        indexes.push_back(index);
        table.titles << column.title;
        table.widths << column.width;
    }
    table.rows.reserve(size_t(rows.rowCount()));
    for (int r = 0; r < rows.rowCount(); ++r) {
        std::vector<ExportCell> row;
        row.reserve(indexes.size());
        for (size_t c = 0; c < indexes.size(); ++c)
            row.push_back(cell(rows.value(r, indexes[c]), columns.at(qsizetype(c)).kind));
        table.rows.push_back(std::move(row));
    }
    return table;
}
