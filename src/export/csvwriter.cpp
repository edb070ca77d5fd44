#include "csvwriter.h"

#include <QIODevice>

#include <charconv>

namespace {

// Written out in pieces of about this size, so that a year of receipts never sits whole in
// memory twice.
constexpr qsizetype kChunk = 64 * 1024;

bool needsQuotes(const QString &text)
{
    for (const QChar c : text)
        if (c == CsvWriter::kSeparator || c == u'"' || c == u'\n' || c == u'\r')
            return true;
    return false;
}

bool looksLikeFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    return first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t';
}

} // namespace

CsvWriter::CsvWriter(QIODevice &device, QChar decimalSeparator)
    : m_device(device)
    , m_decimal(decimalSeparator)
{
    m_buffer.reserve(kChunk + 4096);
    m_buffer.append("\xEF\xBB\xBF");
}

CsvWriter::~CsvWriter()
{
    flush();
}

QString CsvWriter::field(const QString &text)
{
    if (!needsQuotes(text))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

namespace {

// Digits straight onto the line: no allocation per cell.
void appendDigits(QString &line, quint64 value)
{
    char buffer[24];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    line.append(QLatin1StringView(buffer, written.ptr - buffer));
}

void appendNumberCell(QString &line, const ExportCell &cell, QChar decimalSeparator)
{
    switch (cell.kind) {
    case ExportCell::Kind::Integer:
        if (cell.integer < 0)
            line += u'-';
        appendDigits(line, cell.integer < 0 ? 0 - quint64(cell.integer) : quint64(cell.integer));
        return;
    case ExportCell::Kind::Date:
        appendDigits(line, quint64(cell.date.day()));
        line += u'/';
        appendDigits(line, quint64(cell.date.month()));
        line += u'/';
        appendDigits(line, quint64(cell.date.year()));
        return;
    default: { // an amount in cents
        const qint64 cents = *cell.cents;
        const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
        if (cents < 0)
            line += u'-';
        appendDigits(line, magnitude / 100);
        line += decimalSeparator;
        line += QLatin1Char(char('0' + magnitude % 100 / 10));
        line += QLatin1Char(char('0' + magnitude % 10));
        return;
    }
    }
}

} // namespace

QString CsvWriter::cellText(const ExportCell &cell, QChar decimalSeparator)
{
    switch (cell.kind) {
    case ExportCell::Kind::Empty:
        return {};
    case ExportCell::Kind::Text:
        return looksLikeFormula(cell.text) ? QLatin1Char('\'') + cell.text : cell.text;
    case ExportCell::Kind::Amount:
        if (!cell.cents)
            return cell.amount.text(decimalSeparator);
        [[fallthrough]];
    case ExportCell::Kind::Integer:
    case ExportCell::Kind::Date: {
        QString text;
        appendNumberCell(text, cell, decimalSeparator);
        return text;
    }
    }
    return {};
}

void CsvWriter::appendCell(QString &line, const ExportCell &cell, QChar decimalSeparator)
{
    switch (cell.kind) {
    case ExportCell::Kind::Empty:
        return;
    case ExportCell::Kind::Text:
        if (looksLikeFormula(cell.text) || needsQuotes(cell.text))
            line += field(cellText(cell, decimalSeparator));
        else
            line += cell.text;
        return;
    case ExportCell::Kind::Amount:
        if (!cell.cents) {
            line += cell.amount.text(decimalSeparator);
            return;
        }
        [[fallthrough]];
    case ExportCell::Kind::Integer:
    case ExportCell::Kind::Date:
        // Digits and a separator other than ";" never need quotes.
        appendNumberCell(line, cell, decimalSeparator);
        return;
    }
}

void CsvWriter::writeRow(const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            m_line += kSeparator;
        m_line += field(fields.at(i));
    }
    endRow();
}

void CsvWriter::writeTable(const ExportTable &table)
{
    writeRow(table.titles);
    const int rows = table.rowCount();
    const int columns = table.columnCount();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                m_line += kSeparator;
            appendCell(m_line, table.cell(r, c), m_decimal);
        }
        endRow();
    }
}

void CsvWriter::endRow()
{
    m_line += QLatin1String("\r\n");
    m_buffer += m_line.toUtf8();
    m_line.clear();
    if (m_buffer.size() >= kChunk)
        flush();
}

bool CsvWriter::flush()
{
    if (!m_buffer.isEmpty()) {
        if (m_ok && m_device.write(m_buffer) != m_buffer.size())
            m_ok = false;
        m_buffer.clear();
    }
    return m_ok;
}
