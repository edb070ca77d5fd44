#pragma once

#include "connection.h"
#include "recordset.h"
#include "reportproject.h"
#include "window.h"

// The notes printing window ("Εκτύπωση"): all notes by title, or the note selected in the
// notebook. Created once at start-up; the notebook fills NoteId before showing it.
class NotesPrintingWindow : public Window {
    Q_OBJECT
public:
    explicit NotesPrintingWindow(QWidget *parent = nullptr);

    QString NoteId;

    QString selectedSql() const;

    void Button1Click(); // all notes
    void Button2Click(); // the selected note

    Connection &connection() { return m_connection; }
    Query &query() { return m_query; }

protected:
    void done(int result) override;

private:
    Connection m_connection;
    Query m_query;
    ReportProject m_report;
};
using TForm7 = NotesPrintingWindow;
