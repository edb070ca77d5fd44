#pragma once

#include "appointmentlinks.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

class Connection;

// Appointments as an iCalendar file (RFC 5545) that a phone's or a mail program's calendar
// imports: lines ended by CRLF and folded at 75 octets without splitting a UTF-8 character,
// texts escaped, times as the book's wall-clock times in Europe/Athens with the zone's rules
// in a VTIMEZONE block. Every slot has a UID made of the practice's calendar key, the date and
// the slot's place, so that importing a later export of the same slot updates the event
// instead of adding a second one.
namespace ICalendar {

inline constexpr char kTimeZone[] = "Europe/Athens";

struct Event {
    QString uid;
    QDate day;
    QTime start; // wall-clock times in kTimeZone
    QTime end;
    QString summary;
    QString description; // may be empty
};

// A TEXT value with "\", ";", "," and line breaks escaped.
QString escapeText(const QString &text);
// One content line (without its CRLF) folded at 75 octets, each line ended by CRLF.
QByteArray foldLine(const QByteArray &line);

// The practice's calendar key, made once and kept in the practice's settings (so that a copy
// of the practice on a server keeps it). Writes in a transaction of its own the first time:
// call it outside any open transaction. Throws DbError.
QString practiceKey(Connection &connection);
// "<key>-20260305-04@orvanta" for the slot of place 4 (10:00-10:30) of 5 March 2026.
QString slotUid(const QString &practiceKey, const QDate &day, int slot);
// The event of one appointment of the book; a no-show says so in its description.
Event slotEvent(const QString &practiceKey, const AppointmentLinks::Appointment &appointment);

// A whole VCALENDAR with the VTIMEZONE block and the events; `stamp` (any zone) becomes every
// event's DTSTAMP in UTC. `method` is left out when empty ("PUBLISH" for a calendar to import,
// "REQUEST" for an invitation).
QByteArray calendar(const QList<Event> &events, const QDateTime &stamp,
                    const QString &method = QStringLiteral("PUBLISH"));
// One event, e.g. for an email's attachment.
QByteArray singleEvent(const Event &event, const QDateTime &stamp,
                       const QString &method = QStringLiteral("PUBLISH"));
// Every appointment (linked or not) from `from` to `to`, both included. Throws DbError.
QByteArray periodCalendar(Connection &connection, const QDate &from, const QDate &to,
                          const QDateTime &stamp);

} // namespace ICalendar
