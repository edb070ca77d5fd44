#pragma once

#include "datawindow.h"
#include "recordset.h"

class QPlainTextEdit;
class QPushButton;

// The reminder of the day: shows the text of the first row of the query its caller gives it,
// read-only. The query runs when the window is shown.
class TodayReminderWindow : public DataWindow {
    Q_OBJECT
public:
    explicit TodayReminderWindow(QWidget *parent = nullptr);
    ~TodayReminderWindow() override;

    Query &query() { return m_query; }
    QPlainTextEdit *textView() const { return m_text; }

    // Opens the connection and runs the query; called when the window is shown.
    void FormShow() override;

private:
    Query m_query;
    QPlainTextEdit *m_text;
    QPushButton *m_exit;
};
