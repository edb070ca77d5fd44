#include "csvwriter.h"

#include <QIODevice>

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

QString CsvWriter::cellText(const ExportCell &cell, QChar decimalSeparator)
{
    switch (cell.kind) {
    case ExportCell::Kind::Empty:
        return {};
    case ExportCell::Kind::Text:
        return looksLikeFormula(cell.text) ? QLatin1Char('\'') + cell.text : cell.text;
    case ExportCell::Kind::Integer:
        return QString::number(cell.integer);
    case ExportCell::Kind::Date:
        return cell.date.toString(QStringLiteral("d/M/yyyy"));
    case ExportCell::Kind::Amount:
        return cell.amount.text(decimalSeparator);
    }
    return {};
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
            m_line += field(cellText(table.cell(r, c), m_decimal));
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
