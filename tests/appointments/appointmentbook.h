#pragma once

#include <QDate>
#include <QString>

class QWidget;

// Reads and writes the appointment book of a test practice directly, the way the windows
// never do (slot columns by name), so that a test can arrange and check it.
namespace AppointmentBook {

// Makes sure the date has its row, then sets one slot column ("1000-1030") to a text.
void book(const QDate &date, const QString &column, const QString &text);
// The stored text of a slot column ("" when null or when there is no row).
QString slot(const QDate &date, const QString &column);
// The number of rows the date has (0 or 1 when the book is sound).
int rowsOf(const QDate &date);
// Runs a statement in the engine's own dialect on the current practice.
void native(const QString &sql);

// Types a text into a widget key by key, as a keyboard would; unlike QTest::keyClicks it takes
// any character, Greek included.
void typeText(QWidget *widget, const QString &text);

} // namespace AppointmentBook
