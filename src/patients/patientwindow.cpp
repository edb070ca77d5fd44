#include "patientwindow.h"

#include "program.h"
#include "recordset.h"

#include <QShowEvent>

PatientWindow::PatientWindow(QWidget *parent)
    : Window(parent) {
}

void PatientWindow::showEvent(QShowEvent *event) {
    Window::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void PatientWindow::openConnection() {
    m_connection.setUp(Program::DbConnectionString, true);
}

void PatientWindow::reopen(Query &query, const QString &sql) {
    query.close();
    query.clearSql();
    query.setSql(sql);
    query.open();
}
