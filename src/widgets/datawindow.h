#pragma once

#include "connection.h"
#include "window.h"

#include <functional>
#include <initializer_list>
#include <vector>

class Query;
class RecordSet;

// How every part of the program opens its connection to the practice file: closed, given the
// program's connection text, opened.
namespace ProgramConnection {

void open(Connection &connection);

// Runs on every connection just opened above. Empty in the program; tests use it to make the
// engine itself refuse what follows (a shorter wait on a locked file, a read-only or full
// file), so that a failure path is seen with the engine's own message.
using OpenedHook = std::function<void(Connection &)>;
void setOpenedHook(OpenedHook hook);

} // namespace ProgramConnection

// What every window that works on the practice file does: it owns one connection, set up with
// the program's connection text and no time-outs (a busy file is waited for); it reads its rows
// each time it is shown (FormShow); and when it closes, its record sets are closed (an edit
// that was not saved is dropped, without a question) and then its connection.
class DataWindow : public Window {
    Q_OBJECT
public:
    explicit DataWindow(QWidget *parent = nullptr);
    ~DataWindow() override;

    // The steps run each time the window is shown; a window that reads on creation has none.
    virtual void FormShow() {}

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

    // Closes the connection and opens it again with the program's connection text.
    void openConnection();
    // Closes a query and opens it with a new SQL text (in the windows' dialect).
    static void reopen(Query &query, const QString &sql);
    // Record sets on this window's connection that are closed when the window closes.
    void closesWithWindow(std::initializer_list<RecordSet *> recordSets);
    // Closes the record sets named above and then the connection.
    void closeData();

    Connection m_connection;

private:
    std::vector<RecordSet *> m_recordSets;
};
