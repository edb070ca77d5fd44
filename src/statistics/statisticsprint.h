#pragma once

#include "renderer.h"

#include <QDate>

class PracticeStatistics;
class QWidget;

// The statistics on A4 paper: each chart drawn with boxes and lines (the bars told apart by
// shade and stripes, so that a black-and-white printer keeps them apart), its figures and its
// table, two charts a page. It goes out through the program's printing path: the
// output-options dialogue with printer, preview and PDF file.
namespace StatisticsPrint {

Report::RenderedReport render(const PracticeStatistics &statistics,
                              const QDate &printDate = QDate::currentDate());
// Lays the printout out and hands it to the output (ReportOutput::deliver).
void print(const PracticeStatistics &statistics, QWidget *parent);

} // namespace StatisticsPrint
