#pragma once

#include "datawindow.h"
#include "reportproject.h"

#include <memory>

class Query;

// The notes printing window ("Εκτύπωση"): all notes by title, or the note selected in the
// notebook. Created once at start-up; the notebook fills NoteId before showing it. Closing the
// window (exit button, Esc, close box) closes its query and its connection.
class NotesPrintingWindow : public DataWindow {
    Q_OBJECT
public:
    explicit NotesPrintingWindow(QWidget *parent = nullptr);
    ~NotesPrintingWindow() override;

    QString NoteId;

    // The SELECT of the selected note; throws DbError when NoteId is not a whole number.
    QString selectedSql() const;

    void Button1Click(); // all notes
    void Button2Click(); // the selected note

    Connection &connection() { return m_connection; }
    Query &query() { return *m_query; }

private:
    std::unique_ptr<Query> m_query;
    ReportProject m_report;
};
using TForm7 = NotesPrintingWindow;
