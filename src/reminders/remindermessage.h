#pragma once

#include "reminderssettings.h"

#include <QDateTime>
#include <QString>

class Connection;

// The text of one reminder, from the practice's templates.
namespace Reminders {

struct Practice {
    QString name;
    QString address;
    QString phone;
};
// The practice's name, address and telephone from its details (INFORMATION).
Practice practice(Connection &connection);
// "Επώνυμο Όνομα" of a patient (empty when the patient is gone).
QString patientName(Connection &connection, qint64 patientId);

struct Message {
    QString subject;
    QString text;
};
// The templates with their fields filled: the date in Greek ("Τρίτη 15/12/2026"), the time as
// 09:30, whatever the computer's language.
Message compose(const Settings &settings, const Practice &practice, const QString &patient,
                const QDateTime &start);

} // namespace Reminders
