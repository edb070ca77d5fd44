#pragma once

#include "reportproject.h"

#include <memory>

class Connection;
class Query;
class Table;
#include "window.h"

// The notes printing window ("Εκτύπωση"): all notes by title, or the note selected in the
// notebook. Created once at start-up; the notebook fills NoteId before showing it.
class NotesPrintingWindow : public Window {
    Q_OBJECT
public:
    explicit NotesPrintingWindow(QWidget *parent = nullptr);
    ~NotesPrintingWindow() override;

    QString NoteId;

    QString selectedSql() const;

    void Button1Click(); // all notes
    void Button2Click(); // the selected note

    Connection &connection() { return *m_connection; }
    Query &query() { return *m_query; }

    // Closing the window (exit button, Esc, close box) closes its connection.
    void done(int result) override;

private:
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Query> m_query;
    ReportProject m_report;
};
using TForm7 = NotesPrintingWindow;
