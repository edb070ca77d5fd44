#include "appointmentbook.h"

#include "appointmenttexts.h"
#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "sqltext.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <sqlite3.h>

namespace AppointmentBook {

void native(const QString &sql)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.executeNative(sql);
}

// The day's literal as the windows write it.
QString literal(const QDate &date)
{
    return SqlText::ToSqlDate(SqlText::dateText(date));
}

void book(const QDate &date, const QString &column, const QString &text)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    try {
        c.execute(AppointmentTexts::insertDay(literal(date)));
    } catch (const DbError &e) {
        if (e.code() != SQLITE_CONSTRAINT_UNIQUE)
            throw;
    }
    c.execute(QStringLiteral("UPDATE RANTEBOU SET [%1]=%2 WHERE HMEROMHNIA=%3")
                  .arg(column, SqlText::quoted(text), literal(date)));
}

QString slot(const QDate &date, const QString &column)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query q(c);
    q.setSql(
        QStringLiteral("SELECT [%1] FROM RANTEBOU WHERE HMEROMHNIA=%2").arg(column, literal(date)));
    q.open();
    return q.rowCount() > 0 ? q.text(0, 0) : QString();
}

int rowsOf(const QDate &date)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query q(c);
    q.setSql(
        QStringLiteral("SELECT COUNT(*) FROM RANTEBOU WHERE HMEROMHNIA=%1").arg(literal(date)));
    q.open();
    return q.rowCount() > 0 ? q.value(0, 0).toInt() : -1;
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace AppointmentBook
