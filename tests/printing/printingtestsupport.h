#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable failures: QString and QStringList print as text.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << "{" << l.join(" | ").toStdString() << "}"; }

// Helpers of the printing tests: the layouts of the repository put beside a test practice's
// data.mdb, and the text of a PDF file read back as a person would read it.
namespace PrintingTest {

// Copies every layout of the repository's layouts folder into folder.
void installLayouts(const QString &folder);
// The text of a PDF file as pdftotext gives it, page breaks as form feeds.
QString pdfText(const QString &pdfPath, bool layout = false);
// Fills a practice with a few patients, notes, expenses, receipts and the practice details.
void addSampleData();
// A text that fills more than one page when printed.
QString longText(int paragraphs);

} // namespace PrintingTest
