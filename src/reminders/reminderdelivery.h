#pragma once

#include "reminderssettings.h"

#include <QByteArray>
#include <QString>

// Handing one reminder to the practice's mail server or SMS provider, once: neither libcurl's
// SMTP nor the single HTTP request ever sends it a second time by themselves.
namespace Reminders {

struct Delivery {
    enum class Fate {
        Sent,          // the server or provider took it
        NotDelivered,  // nothing was handed over (no connection, a time-out before the message)
        LoginRefused,  // the user, password or key was refused before the message
        Refused,       // the server or provider refused this message for good
        Unknown,       // the message went out, but no answer came: it may have arrived
    };
    Fate fate = Fate::Unknown;
    QString detail; // the server's or the library's own words
};

struct Mail {
    QString to;
    QString subject;
    QString text;
    QByteArray calendar;     // the .ics attachment (empty: none)
    QString calendarName;    // its file name
    QString messageId;       // without the angle brackets
};

// Through libcurl's SMTP and its MIME parts: a UTF-8 subject and sender name encoded as RFC 2047
// words, the text as UTF-8 quoted-printable, the calendar as text/calendar; method=PUBLISH.
Delivery sendMail(const Settings &settings, const QString &password, const Mail &mail,
                  int timeoutSeconds);
// The header value as RFC 2047 encoded words (base64), or the text itself when it is ASCII.
QByteArray encodedWords(const QString &text);

// Through the provider's HTTP interface as the settings describe it, on a connection of its own
// (plain http only to this computer). Runs the thread's event loop until the reply or time-out.
Delivery sendSms(const Settings &settings, const QString &key, const QString &number,
                 const QString &text, int timeoutSeconds);
// The provider's request with its fields filled, for the settings window's check.
struct SmsRequest {
    QByteArray url;
    QByteArray method;
    QByteArray body;
    QByteArray headerName;
    QByteArray headerValue;
};
SmsRequest smsRequest(const Settings &settings, const QString &key, const QString &number,
                      const QString &text);

} // namespace Reminders
