#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One appointment as an iCalendar (RFC 5545) object with METHOD:PUBLISH, for the reminder's
// attachment. Kept apart on purpose: the appointment book's export writes events too, and this
// goes over to its writer when both are in place.
namespace Reminders {

struct CalendarEvent {
    QString uid;        // stable: the same slot gives the same UID, so a calendar updates it
    QDateTime start;
    QDateTime end;
    QString summary;
    QString location;
    QString description;
};

// The UID of a slot's appointment ("20261215-03@orvanta").
QString slotUid(const QDate &day, int slot);
// The whole VCALENDAR, CRLF lines folded at 75 octets, times in UTC.
QByteArray calendarText(const CalendarEvent &event, const QDateTime &stamp);

} // namespace Reminders
