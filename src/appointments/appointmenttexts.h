#pragma once

#include "sqltext.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The Greek texts and the SQL texts of the appointment book, gathered in one place.
namespace AppointmentTexts {

inline QString monthViewCaption()
{
    return QStringLiteral("Μηνιαία κατάσταση των ραντεβού");
}
inline QString daySheetCaption()
{
    return QStringLiteral("Αναλυτική κατάσταση των ραντεβού");
}
inline QString yearLabel()
{
    return QStringLiteral("Έτος:");
}
inline QString monthLabel()
{
    return QStringLiteral("Μήνας:");
}
inline QString todayButton()
{
    return QStringLiteral("Σήμερα");
}

inline QStringList monthNames()
{
    return {QStringLiteral("Ιανουάριος"),  QStringLiteral("Φεβρουάριος"),
            QStringLiteral("Μάρτιος"),     QStringLiteral("Απρίλιος"),
            QStringLiteral("Μάιος"),       QStringLiteral("Ιούνιος"),
            QStringLiteral("Ιούλιος"),     QStringLiteral("Αύγουστος"),
            QStringLiteral("Σεπτέμβριος"), QStringLiteral("Οκτώβριος"),
            QStringLiteral("Νοέμβριος"),   QStringLiteral("Δεκέμβριος")};
}

// Monday first, as the grid's columns.
inline QStringList weekdayNames()
{
    return {QStringLiteral("Δευτέρα"), QStringLiteral("Τρίτη"),     QStringLiteral("Τετάρτη"),
            QStringLiteral("Πέμπτη"),  QStringLiteral("Παρασκευή"), QStringLiteral("Σάββατο"),
            QStringLiteral("Κυριακή")};
}

// A slot's patient (the day sheet's slot menu and mark).
inline QString linkPatient()
{
    return QStringLiteral("Σύνδεση με ασθενή…");
}
inline QString unlinkPatient()
{
    return QStringLiteral("Αποσύνδεση");
}
inline QString noShow()
{
    return QStringLiteral("Δεν προσήλθε");
}
// The mark's tip: "Ασθενής: Παπαδόπουλος Γιώργος".
inline QString linkedTo(const QString &name)
{
    return QStringLiteral("Ασθενής: ") + name;
}
inline QString reminded()
{
    return QStringLiteral("Στάλθηκε υπενθύμιση");
}
inline QString patientGone(qint64 id)
{
    return QStringLiteral("ο ασθενής με κωδικό %1 δεν υπάρχει πια").arg(id);
}

// "Εξαγωγή ραντεβού (iCalendar)…"
inline QString calendarExportCommand()
{
    return QStringLiteral("Εξαγωγή ραντεβού (iCalendar)…");
}
inline QString calendarExportCaption()
{
    return QStringLiteral("Εξαγωγή ραντεβού σε ημερολόγιο");
}
inline QString calendarExportFilter()
{
    return QStringLiteral("Ημερολόγιο iCalendar (*.ics)");
}

// The years the book offers.
inline constexpr int kFirstYear = 2008;
inline constexpr int kLastYear = 2035;

// A date as the book writes it, d/M/yyyy ("5/3/2026"), from its three numbers.
inline QString dateText(int day, int month, int year)
{
    return SqlText::dateText(QDate(year, month, day));
}

// The day's row, by the date's SQL literal ("#3/5/2026#").
inline QString dayQuery(const QString &dayLiteral)
{
    return QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=") + dayLiteral;
}

// A row that carries only the date; refused when the day has its row already.
inline QString insertDay(const QString &dayLiteral)
{
    return QStringLiteral("INSERT INTO RANTEBOU(HMEROMHNIA) VALUES(") + dayLiteral
        + QLatin1Char(')');
}

} // namespace AppointmentTexts
