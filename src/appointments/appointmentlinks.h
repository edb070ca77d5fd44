#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>

class Connection;

// Which patient an appointment slot is for, kept in its own table beside the appointment book
// (Schema::kAppointmentLinksTable), keyed by the day and the slot's place in the day: 0 for
// 08:00-08:30 to 27 for 21:30-22:00, the order of Schema::slotColumns(). The book's own rows
// and counts know nothing of it.
namespace AppointmentLinks {

inline constexpr int kSlots = 28;

struct Link {
    qint64 patientId = 0;
    bool noShow = false; // the patient did not come
    friend bool operator==(const Link &, const Link &) = default;
};

// A day's links by slot place.
using DayLinks = std::map<int, Link>;

// When a slot begins and ends, in local time.
QDateTime slotStart(const QDate &day, int slot);
QDateTime slotEnd(const QDate &day, int slot);
// "10:00 - 10:30".
QString slotTimes(int slot);

// The text a slot holds once a patient is linked to it: a typed text is kept; an empty or
// blank one becomes the patient's "Επώνυμο Όνομα", cut to the slot's width.
QString textAfterLinking(const QString &slotText, const QString &surname,
                         const QString &firstName, int maxLength);
// A slot whose text was cleared loses its link: the links of the slots whose text (by place,
// as the sheet holds them) is blank are left out.
DayLinks withoutClearedSlots(const DayLinks &links, const QStringList &slotTexts);
// A patient may be marked as not having come only once the slot's time has begun.
bool mayMarkNoShow(const QDate &day, int slot, const QDateTime &now);

// The day's links; none when the practice has no link table yet. Throws DbError.
DayLinks readDay(Connection &connection, const QDate &day);
// Replaces the day's links by `links`, inside the caller's open transaction, so that they are
// written with the slot texts or not at all. Creates the table first in a practice made before
// it. Throws DbError.
void writeDay(Connection &connection, const QDate &day, const DayLinks &links);

// One linked appointment of a patient.
struct PatientAppointment {
    QDate day;
    int slot = 0;
    QString text; // the slot's text as stored
    bool noShow = false;
    bool upcoming = false; // not yet ended at the time the list was read
};
// Upcoming appointments first, the soonest first; then the past ones, the latest first.
void orderForPatient(QList<PatientAppointment> &appointments, const QDateTime &now);
// The patient's linked appointments in that order. Throws DbError.
QList<PatientAppointment> readPatient(Connection &connection, qint64 patientId,
                                      const QDateTime &now);

// The same list as one SELECT for a report's data connection, with the columns HMEROMHNIA,
// WRA ("10:00 - 10:30"), KEIMENO (the slot's text), SHMEIWSH ("Δεν προσήλθε" or empty),
// THESH, DEN_PROSHLTHE and EPOMENO (1 upcoming, 0 past), in the order above. Without the
// link table (`withTable` false) it selects the same columns and no row.
QString patientSql(qint64 patientId, const QDateTime &now, bool withTable = true);

// One appointment of the book, linked or not.
struct Appointment {
    QDate day;
    int slot = 0;
    QString text; // trimmed, never blank
    qint64 patientId = 0; // 0: not linked
    bool noShow = false;
};
// Every slot with a text from `from` to `to` (both included), in time order. Throws DbError.
QList<Appointment> readPeriod(Connection &connection, const QDate &from, const QDate &to);

} // namespace AppointmentLinks
