#pragma once

#include "exporttable.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

// Writes a CSV file as a spreadsheet on this system opens it: UTF-8 with a byte-order mark,
// fields separated by semicolons, lines ended with CR LF, amounts with the system's decimal
// separator and no thousands separator, dates d/M/yyyy. A field that holds a semicolon, a
// double quote or a line break is put in double quotes with its quotes doubled (RFC 4180).
// A text that a spreadsheet would take for a formula (it starts with =, +, -, @ or a tab) is
// written after an apostrophe, so that opening the file never runs what a name or a
// description holds.
class CsvWriter {
public:
    static constexpr QChar kSeparator = u';';

    explicit CsvWriter(QIODevice &device, QChar decimalSeparator = Decimal::systemSeparator());
    ~CsvWriter();
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;

    void writeRow(const QStringList &fields);
    void writeTable(const ExportTable &table);
    // Writes what is buffered; false when the device refused any of it.
    bool flush();
    bool ok() const { return m_ok; }

    // One field as it stands between the separators.
    static QString field(const QString &text);
    // A cell as text: amounts with the given separator, dates d/M/yyyy, formulas defused.
    static QString cellText(const ExportCell &cell, QChar decimalSeparator);
    // The same appended to a line, quoted where needed.
    static void appendCell(QString &line, const ExportCell &cell, QChar decimalSeparator);

private:
    void endRow();

    QIODevice &m_device;
    QChar m_decimal;
    QByteArray m_buffer;
    QString m_line;
    bool m_ok = true;
};
