#pragma once

#include "reportproject.h"

#include <memory>

class Connection;
class Query;
class Table;
#include "window.h"

class QPushButton;

// The patient printouts window ("Εκτύπωση"): patient details, health records and histories,
// each for the whole list the patient list was opened for or for its current patient, and the
// list itself. Created once at start-up; the patient list fills the inputs before every
// showing, and they keep their last values between showings.
class PatientPrintoutsWindow : public Window {
    Q_OBJECT
public:
    explicit PatientPrintoutsWindow(QWidget *parent = nullptr);
    ~PatientPrintoutsWindow() override;

    // Inputs: the list's current patient, the WHERE/ORDER BY tail of the list's SELECT (empty
    // when the list holds all patients) and the list's complete SELECT.
    QString PatientId;
    QString ListFilter;
    QString ListSql;

    // The SELECT text each button runs, composed from the inputs.
    QString detailsAllSql() const;
    QString detailsSelectedSql() const;
    QString healthAllSql() const;
    QString healthSelectedSql() const;
    QString historyAllSql() const;
    QString historySelectedSql() const;

    void Button1Click(); // details, all
    void Button2Click(); // details, selected
    void Button3Click(); // health record, all
    void Button4Click(); // health record, selected
    void Button5Click(); // history, all
    void Button6Click(); // history, selected
    void Button7Click(); // the list

    Connection &connection() { return *m_connection; }
    Query &query() { return *m_query; }

    // Closing the window (exit button, Esc, close box) closes its connection.
    void done(int result) override;

private:

    void print(ReportProject &report, const QString &layout, const QString &sql);

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Query> m_query;
    ReportProject m_detailsReport;
    ReportProject m_healthReport;
    ReportProject m_historyReport;
    ReportProject m_listReport;
};
using TForm22 = PatientPrintoutsWindow;
