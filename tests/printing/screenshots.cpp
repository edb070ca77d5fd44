// Pictures of the printing windows for a person to look at: the patient printouts window, the
// notes printing window, the output-options dialogue, the preview of a health record printout
// on its second page and the print status window.
//   xvfb-run -a ./printing_screenshots OUTDIR
#include "connection.h"
#include "datawindow.h"
#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "printingtestsupport.h"
#include "printstatuswindow.h"
#include "program.h"
#include "recordset.h"
#include "reportoutputdialog.h"
#include "reportpreview.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace {

void save(QWidget &w, const QString &path)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        qWarning("window not exposed");
    QTest::qWait(200);
    w.grab().save(path);
    qInfo("%s", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(out);
    TestSupport::TempPractice practice;
    PrintingTest::installLayouts(practice.dir());
    PrintingTest::addSampleData();

    PatientPrintoutsWindow printouts;
    save(printouts, out + QStringLiteral("/TForm22.png"));
    NotesPrintingWindow notes;
    save(notes, out + QStringLiteral("/TForm7.png"));
    ReportOutputDialog dialog(12, QStringLiteral("Λίστα των ασθενών"), true);
    save(dialog, out + QStringLiteral("/output-options.png"));

    Connection connection;
    ProgramConnection::open(connection);
    Query query(connection);
    query.setSql(QStringLiteral("SELECT * FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC"));
    query.open();
    ReportProject report;
    report.addConnection(QStringLiteral("RvDataSetConnection7"), &query);
    report.setProjectFile(Program::AppDir + QStringLiteral("\\DYGEIAS.RAV"));
    const Report::RenderedReport rendered = report.render(); // the preview keeps a reference
    ReportPreview preview(rendered);
    preview.resize(900, 800);
    preview.nextPage();
    save(preview, out + QStringLiteral("/preview.png"));

    PrintStatusWindow status(5);
    status.setPage(2, 5);
    save(status, out + QStringLiteral("/status.png"));
    return 0;
}
