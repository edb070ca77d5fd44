// Pictures of the expenses and office windows with data in them, and the two expense reports
// as PDF files, for a person to look at.
//   xvfb-run -a ./expenses_screenshots OUTDIR
#include "calendarwindow.h"
#include "directpdfoutput.h"
#include "expensesbymonthwindow.h"
#include "expensesbyperiodwindow.h"
#include "expenseseditor.h"
#include "officeeditors.h"
#include "printingtestsupport.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
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

void find(ExpensesReviewWindow &w, const QString &from, const QString &to)
{
    w.fromField()->setText(from);
    w.toField()->setText(to);
    w.findButton()->click();
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
    for (int month = 1; month <= 12; ++month)
        practice.exec(QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                     "VALUES (#%1/10/2007#, %2, %3, 'Ενοίκιο ιατρείου')")
                          .arg(month)
                          .arg(350 + month)
                          .arg(66.5));
    practice.exec("INSERT INTO YPENTHIMISEIS (HMEROMHNIA, PERIGRAFH) VALUES (#12/8/2026#, "
                  "'Να πληρώσω το ενοίκιο')");
    practice.exec("INSERT INTO XRHSIMA_THLEFWNA (ONOMATEPWNYMO, DIEYTHYNSH, THLEFWNO_1, EMAIL) "
                  "VALUES ('Λογιστικό γραφείο Νικολάου', 'Μακαρίου 12, Λευκωσία', '22456789', "
                  "'info@logistis.example')");
    practice.exec("INSERT INTO GIATROI_ALLWN_EIDIKOTHTWN (ONOMA, EPWNYMO, DIEYTHYNSH, "
                  "THLEFWNO_1, EIDIKOTHTA) VALUES ('Ελένη', 'Κωνσταντίνου', 'Αρχ. Μακαρίου 5', "
                  "'22334455', 'Ορθοπεδικός')");

    {
        TableEditorWindow w(ExpensesEditor::layout());
        save(w, out + "/expenses-edit.png");
    }
    DirectPdfOutput pdf(out);
    {
        ExpensesByPeriodWindow w;
        w.show();
        find(w, "01/03/2008", "31/03/2008");
        save(w, out + "/expenses-period.png");
        w.printButton()->click();
    }
    {
        ExpensesByMonthWindow w;
        w.show();
        find(w, "2007", "2008");
        save(w, out + "/expenses-month.png");
        w.printButton()->click();
    }
    for (const auto &run : pdf.runs())
        qInfo("%s (%d pages) from %s", qPrintable(run.pdfPath), run.pages,
              qPrintable(run.projectFile));
    const struct {
        EditorLayout (*layout)();
        const char *file;
    } editors[] = {{&OfficeEditors::notebook, "/notebook.png"},
                   {&OfficeEditors::reminders, "/reminders.png"},
                   {&OfficeEditors::phoneNumbers, "/phones.png"},
                   {&OfficeEditors::doctors, "/doctors.png"}};
    for (const auto &e : editors) {
        TableEditorWindow w(e.layout());
        save(w, out + QLatin1String(e.file));
    }
    CalendarWindow calendar;
    save(calendar, out + "/calendar.png");
    return 0;
}
