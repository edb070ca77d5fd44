#include "exporttable.h"

#include "dberror.h"
#include "recordset.h"

#include <cmath>

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

ExportCell ExportCell::ofCents(qint64 cents)
{
    ExportCell c;
    c.kind = Kind::Amount;
    c.amount = Decimal(cents, 2);
    c.cents = cents;
    return c;
}

namespace {

// A stored amount as the windows show it: its decimal (Decimal::fromDouble) rounded to cents.
// Nearly every stored amount already is a whole number of cents; for those the nearest cent
// is the decimal itself (a double within half a unit of its last place from r/100, with r
// of at most 15 digits, has r/100 as its shortest decimal), so the general reading is only
// needed for the rest.
ExportCell storedAmount(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double) {
        const double v = value.toDouble();
        if (std::fabs(v) < 1e12) {
            const double cents = std::round(v * 100);
            if (cents / 100 == v)
                return ExportCell::ofCents(qint64(cents));
        }
    }
    if (const auto amount = Decimal::fromVariant(value))
        return ExportCell::ofAmount(*amount);
    return ExportCell::ofText(value.toString());
}

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
        return storedAmount(value);
    }
    return {};
}

} // namespace

int ExportTable::rowCount() const
{
    return m_source ? m_source->rowCount() : int(rows.size());
}

ExportCell ExportTable::cell(int row, int column) const
{
    if (m_source)
        return ::cell(m_source->value(row, m_fields[size_t(column)]), m_kinds[size_t(column)]);
    const auto &cells = rows[size_t(row)];
    return size_t(column) < cells.size() ? cells[size_t(column)] : ExportCell {};
}

ExportTable ExportTable::fromRecordSet(const RecordSet &rows, const QList<ExportColumn> &columns,
                                       const QString &sheetName)
{
    ExportTable table;
    table.sheetName = sheetName;
    table.m_source = &rows;
    for (const ExportColumn &column : columns) {
        const int index = rows.fieldIndex(column.field);
        if (index < 0)
            throw DbError(QStringLiteral("The column %1 is not in the rows exported.")
                              .arg(column.field));
        table.m_fields.push_back(index);
        table.m_kinds.push_back(column.kind);
        table.titles << column.title;
        table.widths << column.width;
    }
    return table;
}
