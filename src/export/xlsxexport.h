#pragma once

#include "exporttable.h"

#include <QByteArray>

// A table as an Excel workbook of one sheet (libxlsxwriter): bold titles, amounts as numbers
// shown with two decimals, dates as dates shown d/m/yyyy, texts always as texts (never
// formulas). Returns the bytes of the .xlsx file; throws ExportError when the library fails.
namespace XlsxExport {

QByteArray workbook(const ExportTable &table);

} // namespace XlsxExport
