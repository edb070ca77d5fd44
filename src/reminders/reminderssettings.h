#pragma once

#include "remindertexts.h"

#include <QString>
#include <QStringList>

class Connection;

// The practice's settings for appointment reminders, kept in the practice's settings table
// (Schema::kSettingsTable) so that the program on every workstation and the scheduled
// orvanta-reminders send alike. The mail password and the SMS provider's key are never kept
// here: they live in the desktop's keyring (kSecretService, names kMailSecret and kSmsSecret).
namespace Reminders {

inline constexpr char kSecretService[] = "Orvanta appointment reminders";
inline constexpr char kMailSecret[] = "smtp";
inline constexpr char kSmsSecret[] = "sms";

enum class Security { StartTls, Tls };

struct Settings {
    bool enabled = false; // off until the practice turns reminders on

    bool mailOn = false;
    QString smtpHost;
    int smtpPort = 587;
    Security security = Security::StartTls;
    QString smtpUser;      // empty: the server takes mail without logging in
    QString senderName;
    QString senderAddress;
    QString caFile;        // an authority of the practice's own to trust (empty: the system's)

    bool smsOn = false;
    QString smsUrl;        // may hold {αριθμός}, {μήνυμα} and {κλειδί}, encoded for a URL
    QString smsMethod = QStringLiteral("POST");
    QString smsContentType = QStringLiteral("application/x-www-form-urlencoded");
    QString smsBody;       // the same fields, encoded as the content type wants
    QString smsHeader;     // one extra header line ("Authorization: Bearer {κλειδί}"), optional
    QString smsSuccess;    // text that the provider's reply holds when it took the message

    int hoursBefore = 24;
    int secondHoursBefore = 0; // 0: no second reminder

    QString subject = ReminderTexts::kDefaultSubject; // the email's subject template
    QString message = ReminderTexts::kDefaultMessage; // the email's and the SMS's text template

    bool mailReady() const { return enabled && mailOn; }
    bool smsReady() const { return enabled && smsOn; }
    bool operator==(const Settings &) const = default;
};

// The stored settings; a practice without them (or a value that cannot be read) gives the
// defaults: off, 24 hours before, the Greek templates of ReminderTexts. Throws DbError.
Settings load(Connection &connection);
// Writes every setting in one transaction. Throws DbError.
void save(Connection &connection, const Settings &settings);
// What keeps the settings from working, one Greek sentence each; empty when they can.
QStringList problems(const Settings &settings);

} // namespace Reminders
