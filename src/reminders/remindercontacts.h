#pragma once

#include <QDate>
#include <QHash>
#include <QString>

#include <optional>

class Connection;

// Where a patient may be reminded of appointments and whether the patient agreed, kept beside
// the patient's row (Schema::kReminderContactsTable). Throw DbError when the database fails.
namespace Reminders {

struct Contact {
    qint64 patientId = 0;
    QString email;
    QString mobile;   // +3069xxxxxxxx, or empty
    bool consent = false;
    QDate consentDate; // when the patient agreed (null without consent)

    bool operator==(const Contact &) const = default;
};

// A Greek mobile number written as people write it (69xxxxxxxx, +3069..., 003069..., with
// spaces, dashes, dots or brackets) as +3069xxxxxxxx; empty when the text is no such number.
QString greekMobile(const QString &text);
// A plausible address: one '@', something before it, a dotted domain after, no spaces.
bool plausibleEmail(const QString &text);

// The patient's contact; a patient without one (or a practice without the table) has none.
std::optional<Contact> contact(Connection &connection, qint64 patientId);
// Every contact, by the patient's ID.
QHash<qint64, Contact> allContacts(Connection &connection);
// Writes the contact in a transaction of its own, creating the table when it is absent. The
// email and mobile are kept as given (call greekMobile first); a contact without consent keeps
// no consent date.
void saveContact(Connection &connection, const Contact &contact);
// Creates the reminders' tables when the practice does not have them yet.
void ensureTables(Connection &connection);

} // namespace Reminders
