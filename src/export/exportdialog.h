#pragma once

#include "exporttable.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// How a window exports what it found: the person names the file (through the modal seam, so
// tests answer for the person), the rows are read, the file is written through ExportFile and
// the person is told how many rows went where, or why nothing was written.
namespace ExportDialog {

enum class Format { Csv, Xlsx };

// A name for the file, asked with a save dialogue that offers the filters (the first chosen
// at start) in the folder of the last export of this run that was written. A name typed
// without one of the filters' extensions gets the chosen filter's first. Empty when the person
// cancelled.
QString chooseFile(QWidget *parent, const QString &suggestedName, const QStringList &filters);

// The next export's dialogue opens in this file's folder: called once the file is written, so
// that a folder that failed is not offered again.
void rememberFolder(const QString &writtenPath);

// An SQL date literal ("#3/31/2024#") as a file name shows it: "31-3-2024".
QString fileNameDate(const QString &literal);

// The format a chosen name asks for: .xlsx is a workbook, anything else CSV.
Format formatOf(const QString &path);

// Writes a table to the path in its format. Throws ExportError when nothing could be written.
void writeTable(const ExportTable &table, const QString &path);

// The whole export of a table. rows() runs only after a file was chosen; the record set its
// table reads stays open until the file is written. A failure of it or of the writing is shown
// in the error dialog. True when the file was written.
bool exportTable(QWidget *parent, const QString &suggestedName,
                 const std::function<ExportTable()> &rows);

} // namespace ExportDialog
