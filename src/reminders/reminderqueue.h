#pragma once

#include "reminderssettings.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

class Connection;

// The reminders of linked appointment slots (Schema::kRemindersTable). The queue follows the
// links: reconcile() adds the reminders owed and drops the unsent ones no longer owed. Every
// state change of sending is one statement, committed on its own, so that what the table says
// is true at every moment: a reminder is marked in flight before it leaves and is never sent
// again from that state. Functions throw DbError when the database fails.
namespace Reminders {

enum class Channel { Email, Sms };
enum class State { Waiting, InFlight, Sent, Uncertain, Failed, Expired };

QString channelCode(Channel channel);
QString stateCode(State state);
// The state as the patient file shows it, in Greek.
QString stateText(State state);

struct Reminder {
    qint64 id = 0;
    QDate day;
    int slot = 0;          // the slot's place in the day, 0 (08:00) to 27 (21:30)
    qint64 patientId = 0;
    Channel channel = Channel::Email;
    int round = 1;         // 1, or 2 for the second reminder
    QString address;       // the email address or the +3069... number it goes to
    QDateTime due;         // UTC
    State state = State::Waiting;
    QDateTime nextTry;     // UTC; null: at once
    int attempts = 0;
    QDateTime inFlightSince; // UTC
    QDateTime sentAt;      // UTC
    QString error;
};

// When a slot starts, in the computer's local time (the practice's: Europe/Athens).
QDateTime slotStart(const QDate &day, int slot);

struct ReconcileOutcome {
    int added = 0;
    int dropped = 0;  // unsent reminders of slots cleared, moved or linked to another patient
    int changed = 0;  // waiting reminders given a new address or time
    int expired = 0;  // waiting reminders whose appointment began before they could leave
};

// Brings the queue in line with the appointment links, the patients' contacts and the settings,
// as they are at `now` (UTC): a reminder is owed for each linked slot starting after `now` whose
// patient has consented and has an address for a channel that is on, for the first round and
// (when set) the second. Waiting reminders no longer owed are dropped (those of an appointment
// that has begun are kept as expired); waiting ones owed are brought to the current address and
// due time; owed ones never queued are added as waiting. A reminder in flight, sent, uncertain
// or failed is never touched: it is not queued again. Runs inside the caller's transaction when
// there is one (the day sheet's save); creates the tables when absent, so call it outside a
// transaction the first time on a server. A practice without the links table owes nothing.
ReconcileOutcome reconcile(Connection &connection, const Settings &settings, const QDateTime &now);
// The same with the practice's stored settings, at the current time.
ReconcileOutcome reconcile(Connection &connection);

// Reading and marking, one statement each.
QList<Reminder> waiting(Connection &connection);
QList<Reminder> inFlight(Connection &connection);
std::optional<Reminder> reminder(Connection &connection, qint64 id);
// Marks a waiting reminder in flight for this sender: false (and nothing changed) when it is
// no longer waiting (sent by another, dropped meanwhile).
bool markInFlight(Connection &connection, qint64 id, const QString &sender, const QDateTime &now);
void markSent(Connection &connection, qint64 id, const QDateTime &at);
// It did not leave: waiting again, tried again at `nextTry`.
void markWaiting(Connection &connection, qint64 id, const QString &why, const QDateTime &nextTry);
void markUncertain(Connection &connection, qint64 id, const QString &why);
void markFailed(Connection &connection, qint64 id, const QString &why);

// The places (0..27) of the day's slots whose patient was sent a reminder, for the day sheet's
// mark; in order, each once.
QList<int> remindedSlots(Connection &connection, const QDate &day);
// Every reminder of the patient, whatever its state, the latest appointment first (then by
// round and channel), for the patient file.
QList<Reminder> patientReminders(Connection &connection, qint64 patientId);

} // namespace Reminders
