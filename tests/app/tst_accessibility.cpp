// Every window of the program as a screen reader sees it: each field, drop-down, date field,
// check box and button that a person can reach must carry a name in the accessibility tree
// (its label as buddy, its caption, or an accessible name).
#include "aboutwindow.h"
#include "accesswindows.h"
#include "calendarwindow.h"
#include "daysheetwindow.h"
#include "expensesbymonthwindow.h"
#include "expensesbyperiodwindow.h"
#include "expenseseditor.h"
#include "findpatientwindow.h"
#include "healthrecordwindow.h"
#include "issuedreceiptswindow.h"
#include "locksettingwindow.h"
#include "lockwindow.h"
#include "mainwindow.h"
#include "monthviewwindow.h"
#include "newpatientwindow.h"
#include "notesprintingwindow.h"
#include "officeeditors.h"
#include "patientdatawindow.h"
#include "patientlistwindow.h"
#include "patientpaymentswindow.h"
#include "patientprintoutswindow.h"
#include "periodincomewindow.h"
#include "practicedetailswindow.h"
#include "printstatuswindow.h"
#include "receiptwindow.h"
#include "reportoutputdialog.h"
#include "reportpreview.h"
#include "settingwindow.h"
#include "tableeditorwindow.h"
#include "testsupport.h"
#include "todayreminderwindow.h"
#include "visitswindow.h"
#include "window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

bool isInputControl(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractItemView *>(p))
            return false; // a grid's own parts (its corner button) are the grid's
    }
    if (qobject_cast<const QLineEdit *>(w) && qobject_cast<const QComboBox *>(w->parentWidget()))
        return false; // the edit inside an editable drop-down: the drop-down carries the name
    if (qobject_cast<const QLineEdit *>(w) && qobject_cast<const QAbstractSpinBox *>(w->parentWidget()))
        return false;
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return !edit->isReadOnly();
    if (auto *edit = qobject_cast<const QTextEdit *>(w))
        return !edit->isReadOnly();
    if (auto *edit = qobject_cast<const QPlainTextEdit *>(w))
        return !edit->isReadOnly();
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QAbstractButton *>(w);
}

// The controls of a shown window that a person can reach and a screen reader cannot name.
QStringList unnamedControls(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || !isInputControl(w))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        const QString name = a ? a->text(QAccessible::Name).trimmed() : QString();
        if (name.isEmpty())
            unnamed << QStringLiteral("%1 \"%2\"").arg(QString::fromLatin1(w->metaObject()->className()),
                                                       w->objectName());
    }
    return unnamed;
}

using Make = std::function<std::unique_ptr<QWidget>()>;

// A window of one patient, opened on that patient.
template <class W>
Make forPatient(const QString &id)
{
    return [id] {
        auto w = std::make_unique<W>();
        w->PatientId = id;
        return std::unique_ptr<QWidget>(std::move(w));
    };
}

} // namespace

TEST(Accessibility, EveryControlOfEveryWindowHasAName)
{
    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    QDir::setCurrent(practice.dir()); // the access windows look for data.mdb in the current folder
    // A window that opens another modally at its start (today's reminders) is answered at once.
    ModalRunner::install([](QDialog *) { return int(QDialog::Rejected); });
    practice.exec("INSERT INTO LAST_APODEIKSH([LAST]) VALUES(100)");
    practice.exec("INSERT INTO SYNTELESTHS_VAT(VAT_RATIO) VALUES(15)");
    practice.exec("INSERT INTO STOIXEIA_PELATH(ONOMA,EPWNYMO) VALUES('Άννα','Ιωάννου')");
    const QString id = practice.scalar("SELECT MAX(ID) FROM STOIXEIA_PELATH");

    PatientListWindow list;
    const std::pair<const char *, Make> windows[] = {
        {"main", [] { return std::make_unique<MainWindow>(); }},
        {"about", [] { return std::make_unique<AboutWindow>(); }},
        {"login", [] { return std::make_unique<LoginWindow>(); }},
        {"first password", [] { return std::make_unique<FirstPasswordWindow>(); }},
        {"change password", [] { return std::make_unique<ChangePasswordWindow>(); }},
        {"lock", [] { return std::make_unique<LockWindow>(); }},
        {"lock setting", [] { return std::make_unique<LockSettingWindow>(); }},
        {"today's reminders", [] { return std::make_unique<TodayReminderWindow>(); }},
        {"patient list", [] { return std::make_unique<PatientListWindow>(); }},
        {"find patient", [&] { return std::make_unique<FindPatientWindow>(&list); }},
        {"new patient", [] { return std::make_unique<NewPatientWindow>(); }},
        {"patient data", forPatient<PatientDataWindow>(id)},
        {"health record", forPatient<HealthRecordWindow>(id)},
        {"visits", forPatient<VisitsWindow>(id)},
        {"patient printouts", [] { return std::make_unique<PatientPrintoutsWindow>(); }},
        {"receipt", forPatient<ReceiptWindow>(id)},
        {"issued receipts", [] { return std::make_unique<IssuedReceiptsWindow>(); }},
        {"payments", forPatient<PatientPaymentsWindow>(id)},
        {"period income", [] { return std::make_unique<PeriodIncomeWindow>(); }},
        {"practice details", [] { return std::make_unique<PracticeDetailsWindow>(); }},
        {"numbering", [] { return std::make_unique<ReceiptNumberingWindow>(); }},
        {"VAT rate", [] { return std::make_unique<VatRateWindow>(); }},
        {"expenses", [] { return std::make_unique<TableEditorWindow>(ExpensesEditor::layout()); }},
        {"expenses of a period", [] { return std::make_unique<ExpensesByPeriodWindow>(); }},
        {"expenses by month", [] { return std::make_unique<ExpensesByMonthWindow>(); }},
        {"notebook", [] { return std::make_unique<TableEditorWindow>(OfficeEditors::notebook()); }},
        {"reminders", [] { return std::make_unique<TableEditorWindow>(OfficeEditors::reminders()); }},
        {"phone numbers",
         [] { return std::make_unique<TableEditorWindow>(OfficeEditors::phoneNumbers()); }},
        {"doctors", [] { return std::make_unique<TableEditorWindow>(OfficeEditors::doctors()); }},
        {"calendar", [] { return std::make_unique<CalendarWindow>(); }},
        {"month view", [] { return std::make_unique<MonthViewWindow>(); }},
        {"day sheet",
         [] {
             auto w = std::make_unique<DaySheetWindow>();
             w->DayDateText = QStringLiteral("5/3/2026");
             w->DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
             w->setUp();
             return w;
         }},
        {"notes printing", [] { return std::make_unique<NotesPrintingWindow>(); }},
        {"print status", [] { return std::make_unique<PrintStatusWindow>(3); }},
        {"preview",
         [] {
             Report::RenderedReport report;
             report.title = QStringLiteral("Λίστα");
             report.pageSizeMm = QSizeF(210, 297);
             report.pages.resize(2);
             return std::make_unique<ReportPreview>(report);
         }},
        {"printing choices",
         [] { return std::make_unique<ReportOutputDialog>(3, QStringLiteral("Λίστα"), true); }},
    };
    for (const auto &[name, make] : windows) {
        std::unique_ptr<QWidget> w = make();
        w->show();
        QApplication::processEvents();
        EXPECT_EQ(unnamedControls(w.get()), QStringList()) << name;
        w->close();
    }
    ModalRunner::install({});
}
