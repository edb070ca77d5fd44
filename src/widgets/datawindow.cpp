#include "datawindow.h"

#include "program.h"
#include "recordset.h"

#include <QShowEvent>

namespace ProgramConnection {

namespace {
OpenedHook &openedHook()
{
    static OpenedHook hook;
    return hook;
}
} // namespace

void open(Connection &connection)
{
    connection.setUp(Program::DbConnectionString, true);
    if (openedHook()) {
        // What a test's hook changes on the handle must not reach the next window's.
        connection.keepOutOfPool();
        openedHook()(connection);
    }
}

void setOpenedHook(OpenedHook hook)
{
    openedHook() = std::move(hook);
}

} // namespace ProgramConnection

DataWindow::DataWindow(QWidget *parent)
    : Window(parent)
{}

// The record sets named by a window are its own members and are gone by now; the connection
// closes itself.
DataWindow::~DataWindow() = default;

void DataWindow::showEvent(QShowEvent *event)
{
    Window::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void DataWindow::done(int result)
{
    for (RecordSet *recordSet : m_recordSets)
        Kit::settleBeforeClosing(this, *recordSet);
    closeData();
    Window::done(result);
}

void DataWindow::openConnection()
{
    ProgramConnection::open(m_connection);
}

void DataWindow::reopen(Query &query, const QString &sql)
{
    query.close();
    query.clearSql();
    query.setSql(sql);
    query.open();
}

void DataWindow::closesWithWindow(std::initializer_list<RecordSet *> recordSets)
{
    m_recordSets.insert(m_recordSets.end(), recordSets);
}

void DataWindow::closeData()
{
    for (RecordSet *recordSet : m_recordSets)
        recordSet->close();
    m_connection.close();
}
