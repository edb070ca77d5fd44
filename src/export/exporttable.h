#pragma once

#include "decimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include <vector>

class RecordSet;

// One value of an exported table, with its kind, so that each format writes it as it should:
// an amount is a number in a spreadsheet and a text with the system's separator in a CSV file,
// a date a date in the one and d/M/yyyy in the other.
struct ExportCell {
    enum class Kind : quint8 { Empty, Text, Integer, Date, Amount };

    Kind kind = Kind::Empty;
    QString text;
    qint64 integer = 0;
    QDate date;
    Decimal amount;
    // An amount also held as a whole number of cents when it fits in one (nearly always), so
    // that writers need no decimal arithmetic for it.
    std::optional<qint64> cents;

    static ExportCell ofText(const QString &text);
    static ExportCell ofInteger(qint64 value);
    static ExportCell ofDate(const QDate &date);
    // Amounts are exported with two decimals, rounded as the windows show them.
    static ExportCell ofAmount(const Decimal &amount);
    static ExportCell ofCents(qint64 cents);
};

// A column taken from a record set: the column's name in the result, its title, and the kind
// its values are exported as.
struct ExportColumn {
    QString field;
    QString title;
    ExportCell::Kind kind = ExportCell::Kind::Text;
    double width = 12; // in a spreadsheet, in characters
};

// A table to export: titles, then rows of cells, one cell per title. The rows are either held
// by the table (rows) or read, cell by cell as a writer asks, from a record set that stays open
// while the table is written, so that a year of receipts is never copied whole.
class ExportTable {
public:
    QString sheetName; // the spreadsheet's sheet (at most 31 characters)
    QStringList titles;
    QList<double> widths;
    std::vector<std::vector<ExportCell>> rows;

    int rowCount() const;
    int columnCount() const { return int(titles.size()); }
    ExportCell cell(int row, int column) const;

    // The rows of an open record set, in its order, the named columns only. A value that is
    // not of its column's kind (a text in an amount column) is exported as the text it is.
    // Throws DbError when a column is not in the record set.
    static ExportTable fromRecordSet(const RecordSet &rows, const QList<ExportColumn> &columns,
                                     const QString &sheetName);

private:
    const RecordSet *m_source = nullptr;
    std::vector<int> m_fields;
    std::vector<ExportCell::Kind> m_kinds;
};
