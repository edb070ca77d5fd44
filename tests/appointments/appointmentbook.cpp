#include "appointmentbook.h"

#include "connection.h"
#include "program.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <sqlite3.h>

namespace AppointmentBook {

namespace {
QString iso(const QDate &date)
{
    return date.toString(Qt::ISODate);
}
} // namespace

void native(const QString &sql)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.executeNative(sql);
}

void book(const QDate &date, const QString &column, const QString &text)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    c.executeNative(QStringLiteral("INSERT OR IGNORE INTO RANTEBOU (HMEROMHNIA) VALUES (?)"),
                    {iso(date)});
    c.executeNative(
        QStringLiteral("UPDATE RANTEBOU SET \"%1\" = ? WHERE HMEROMHNIA = ?").arg(column),
        {text, iso(date)});
}

QString slot(const QDate &date, const QString &column)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const PreparedStatement statement
        = c.prepare(QStringLiteral("SELECT \"%1\" FROM RANTEBOU WHERE HMEROMHNIA = ?").arg(column),
                    {iso(date)});
    sqlite3_stmt *stmt = statement.get();
    QString out;
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    return out;
}

int rowsOf(const QDate &date)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    const PreparedStatement stmt
        = c.prepare(QStringLiteral("SELECT COUNT(*) FROM RANTEBOU WHERE HMEROMHNIA = ?"),
                    {iso(date)});
    return sqlite3_step(stmt.get()) == SQLITE_ROW ? sqlite3_column_int(stmt.get(), 0) : -1;
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
