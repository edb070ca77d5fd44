#pragma once

#include "decimal.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

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

    static ExportCell ofText(const QString &text);
    static ExportCell ofInteger(qint64 value);
    static ExportCell ofDate(const QDate &date);
    // Amounts are exported with two decimals, rounded as the windows show them.
    static ExportCell ofAmount(const Decimal &amount);
};

// A column taken from a record set: the column's name in the result, its title, and the kind
// its values are exported as.
struct ExportColumn {
    QString field;
    QString title;
    ExportCell::Kind kind = ExportCell::Kind::Text;
    double width = 12; // in a spreadsheet, in characters
};

// A table to export: titles, then rows of cells, one cell per title.
struct ExportTable {
    QString sheetName; // the spreadsheet's sheet (at most 31 characters)
    QStringList titles;
    QList<double> widths;
    std::vector<std::vector<ExportCell>> rows;

    int rowCount() const { return int(rows.size()); }

    // Every row of an open record set, in its order, the named columns only. A value that is
    // not of its column's kind (a text in an amount column) is exported as the text it is.
    static ExportTable fromRecordSet(const RecordSet &rows, const QList<ExportColumn> &columns,
                                     const QString &sheetName);
};
