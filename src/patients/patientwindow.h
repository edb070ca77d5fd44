#pragma once

#include "connection.h"
#include "window.h"

class Query;

// What the patient windows share: each owns its connection to the practice file, sets it up
// the same way, and reads its rows when it is shown.
class PatientWindow : public Window {
    Q_OBJECT
public:
    explicit PatientWindow(QWidget *parent = nullptr);

    // The steps run each time the window is shown (a window that reads on creation has none).
    virtual void FormShow() {}

protected:
    void showEvent(QShowEvent *event) override;

    // Closes the connection and opens it again with the program's connection text and no
    // time-outs (a busy file is waited for).
    void openConnection();
    // Closes a query and opens it with a new SQL text.
    static void reopen(Query &query, const QString &sql);

    Connection m_connection;
};
