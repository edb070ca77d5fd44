#pragma once

#include "connection.h"
#include "recordset.h"
#include "window.h"

class QPlainTextEdit;
class QPushButton;

// The reminder of the day: shows the text of the first row of the query its caller gives it,
// read-only. The query runs when the window is shown.
class TodayReminderWindow : public Window {
    Q_OBJECT
public:
    explicit TodayReminderWindow(QWidget *parent = nullptr);
    ~TodayReminderWindow() override;

    Query &query() { return m_query; }
    QPlainTextEdit *textView() const { return m_text; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

public:
    // Opens the connection and runs the query; called when the window is shown.
    void FormShow();

private:
    Connection m_connection;
    Query m_query;
    QPlainTextEdit *m_text;
    QPushButton *m_exit;
};
