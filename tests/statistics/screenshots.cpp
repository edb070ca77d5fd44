// Pictures of the statistics window (each tab) and its printout as a PDF file, on a practice
// with two years of known figures, for a person to look at. Not a test:
//   xvfb-run -a ./statistics_screenshots OUTDIR
#include "directpdfoutput.h"
#include "statisticsfixture.h"
#include "statisticswindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(out);
    TestSupport::TempPractice practice;
    StatisticsFixture::fill(practice);
    DirectPdfOutput pdf(out);

    StatisticsWindow w;
    w.yearBox()->setValue(2025);
    w.monthBox()->setCurrentIndex(11);
    w.show();
    // The figures are read once the window has painted.
    QElapsedTimer waited;
    waited.start();
    while (w.tabs()->count() == 0 && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    for (int i = 0; i < w.tabs()->count(); ++i) {
        w.tabs()->setCurrentIndex(i);
        QApplication::processEvents();
        w.grab().save(QDir(out).filePath(QStringLiteral("statistics-%1.png").arg(i + 1)));
    }
    w.printButton()->click();
    for (const DirectPdfOutput::Run &run : pdf.runs())
        std::printf("%s (%d pages)\n", qPrintable(run.pdfPath), run.pages);
    w.done(0);
    return 0;
}
