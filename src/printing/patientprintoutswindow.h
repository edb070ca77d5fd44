#pragma once

#include "datawindow.h"
#include "reportproject.h"

#include <memory>

class Query;

class QPushButton;

// The patient printouts window ("Εκτύπωση"): patient details, health records and histories,
// each for the whole list the patient list was opened for or for its current patient, and the
// list itself. Created once at start-up; the patient list fills the inputs before every
// showing, and they keep their last values between showings. Closing the window (exit button,
// Esc, close box) closes its query and its connection.
class PatientPrintoutsWindow : public DataWindow {
    Q_OBJECT
public:
    explicit PatientPrintoutsWindow(QWidget *parent = nullptr);
    ~PatientPrintoutsWindow() override;

    // Inputs: the list's current patient, the WHERE/ORDER BY tail of the list's SELECT (empty
    // when the list holds all patients) and the list's complete SELECT.
    QString PatientId;
    QString ListFilter;
    QString ListSql;

    // The SELECT text each button runs, composed from the inputs; the "selected" ones throw
    // DbError when PatientId is not a whole number.
    QString detailsAllSql() const;
    QString detailsSelectedSql() const;
    QString healthAllSql() const;
    QString healthSelectedSql() const;
    QString historyAllSql() const;
    QString historySelectedSql() const;
    QString listSql() const;

    void Button1Click(); // details, all
    void Button2Click(); // details, selected
    void Button3Click(); // health record, all
    void Button4Click(); // health record, selected
    void Button5Click(); // history, all
    void Button6Click(); // history, selected
    void Button7Click(); // the list

    Connection &connection() { return m_connection; }
    Query &query() { return *m_query; }

private:
    // Composes the SELECT and runs the report; a failure of either is shown.
    void print(ReportProject &report, const QString &layout,
               QString (PatientPrintoutsWindow::*sql)() const);

    std::unique_ptr<Query> m_query;
    ReportProject m_detailsReport;
    ReportProject m_healthReport;
    ReportProject m_historyReport;
    ReportProject m_listReport;
};
using TForm22 = PatientPrintoutsWindow;
