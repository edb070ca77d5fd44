#include "reminderssettings.h"

#include "connection.h"
#include "practicesettings.h"
#include "recordset.h"
#include "remindercontacts.h"
#include "remindertexts.h"
#include "schema.h"

#include <QHash>
#include <QUrl>

namespace Reminders {

namespace {

const QString kTable = QString::fromLatin1(Schema::kSettingsTable);
const QString kPrefix = QStringLiteral("reminders.");
// The settings table keeps values of up to 255 characters: a longer text (a template) is kept
// in pieces, "name", "name#2", "name#3"...
constexpr int kPiece = 250;

QHash<QString, QString> stored(Connection &connection)
{
    QHash<QString, QString> out;
    if (!Schema::hasTable(connection, kTable))
        return out;
    Query q(connection);
    q.setSql(QStringLiteral("SELECT ONOMA, TIMH FROM %1").arg(kTable));
    q.open();
    for (int row = 0; row < q.rowCount(); ++row)
        if (const QString name = q.value(row, 0).toString(); name.startsWith(kPrefix))
            out.insert(name, q.value(row, 1).toString());
    return out;
}

QString text(const QHash<QString, QString> &values, const QString &name, const QString &fallback)
{
    const QString key = kPrefix + name;
    if (!values.contains(key))
        return fallback;
    QString out = values.value(key);
    for (int piece = 2; values.contains(key + QLatin1Char('#') + QString::number(piece)); ++piece)
        out += values.value(key + QLatin1Char('#') + QString::number(piece));
    return out;
}

int number(const QHash<QString, QString> &values, const QString &name, int fallback, int low,
           int high)
{
    bool ok = false;
    const int n = text(values, name, QString()).trimmed().toInt(&ok);
    return ok && n >= low && n <= high ? n : fallback;
}

bool yes(const QHash<QString, QString> &values, const QString &name)
{
    return text(values, name, QString()) == QLatin1String("1");
}

} // namespace

Settings load(Connection &connection)
{
    const QHash<QString, QString> v = stored(connection);
    Settings s;
    s.enabled = yes(v, QStringLiteral("enabled"));
    s.mailOn = yes(v, QStringLiteral("mail"));
    s.smtpHost = text(v, QStringLiteral("smtp_host"), s.smtpHost);
    s.smtpPort = number(v, QStringLiteral("smtp_port"), s.smtpPort, 1, 65535);
    s.security = text(v, QStringLiteral("smtp_security"), QString()) == QLatin1String("tls")
        ? Security::Tls
        : Security::StartTls;
    s.smtpUser = text(v, QStringLiteral("smtp_user"), s.smtpUser);
    s.senderName = text(v, QStringLiteral("sender_name"), s.senderName);
    s.senderAddress = text(v, QStringLiteral("sender_address"), s.senderAddress);
    s.caFile = text(v, QStringLiteral("ca_file"), s.caFile);
    s.smsOn = yes(v, QStringLiteral("sms"));
    s.smsUrl = text(v, QStringLiteral("sms_url"), s.smsUrl);
    s.smsMethod = text(v, QStringLiteral("sms_method"), s.smsMethod);
    s.smsContentType = text(v, QStringLiteral("sms_content_type"), s.smsContentType);
    s.smsBody = text(v, QStringLiteral("sms_body"), s.smsBody);
    s.smsHeader = text(v, QStringLiteral("sms_header"), s.smsHeader);
    s.smsSuccess = text(v, QStringLiteral("sms_success"), s.smsSuccess);
    s.hoursBefore = number(v, QStringLiteral("hours_before"), s.hoursBefore, 1, 24 * 14);
    s.secondHoursBefore = number(v, QStringLiteral("second_hours_before"), 0, 0, 24 * 14);
    s.subject = text(v, QStringLiteral("subject"), ReminderTexts::kDefaultSubject);
    s.message = text(v, QStringLiteral("message"), ReminderTexts::kDefaultMessage);
    return s;
}

void save(Connection &connection, const Settings &s)
{
    const QList<QPair<QString, QString>> values = {
        {QStringLiteral("enabled"), s.enabled ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("mail"), s.mailOn ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("smtp_host"), s.smtpHost.trimmed()},
        {QStringLiteral("smtp_port"), QString::number(s.smtpPort)},
        {QStringLiteral("smtp_security"),
         s.security == Security::Tls ? QStringLiteral("tls") : QStringLiteral("starttls")},
        {QStringLiteral("smtp_user"), s.smtpUser.trimmed()},
        {QStringLiteral("sender_name"), s.senderName.trimmed()},
        {QStringLiteral("sender_address"), s.senderAddress.trimmed()},
        {QStringLiteral("ca_file"), s.caFile.trimmed()},
        {QStringLiteral("sms"), s.smsOn ? QStringLiteral("1") : QStringLiteral("0")},
        {QStringLiteral("sms_url"), s.smsUrl.trimmed()},
        {QStringLiteral("sms_method"), s.smsMethod},
        {QStringLiteral("sms_content_type"), s.smsContentType.trimmed()},
        {QStringLiteral("sms_body"), s.smsBody},
        {QStringLiteral("sms_header"), s.smsHeader.trimmed()},
        {QStringLiteral("sms_success"), s.smsSuccess},
        {QStringLiteral("hours_before"), QString::number(s.hoursBefore)},
        {QStringLiteral("second_hours_before"), QString::number(s.secondHoursBefore)},
        {QStringLiteral("subject"), s.subject},
        {QStringLiteral("message"), s.message},
    };
    connection.executeNative(Schema::settingsTableStatement(connection.engine()));
    Transaction t(connection);
    connection.executeNative(
        QStringLiteral("DELETE FROM %1 WHERE ONOMA LIKE 'reminders.%'").arg(kTable));
    for (const auto &[name, value] : values) {
        for (int at = 0, piece = 1; at == 0 || at < value.size(); at += kPiece, ++piece) {
            const QString key = kPrefix + name
                + (piece == 1 ? QString() : QLatin1Char('#') + QString::number(piece));
            connection.executeNative(
                QStringLiteral("INSERT INTO %1 (ONOMA, TIMH) VALUES (?, ?)").arg(kTable),
                {key, value.mid(at, kPiece)});
        }
    }
    t.commit();
}

QStringList problems(const Settings &s)
{
    QStringList out;
    if (!s.enabled)
        return out;
    if (!s.mailOn && !s.smsOn)
        out << QStringLiteral("Επιλέξτε email, SMS ή και τα δύο.");
    if (s.mailOn) {
        if (s.smtpHost.trimmed().isEmpty())
            out << QStringLiteral("Γράψτε τον διακομιστή SMTP.");
        if (!plausibleEmail(s.senderAddress.trimmed()))
            out << QStringLiteral("Γράψτε μια σωστή διεύθυνση email αποστολέα.");
    }
    if (s.smsOn) {
        const QUrl url(QString(s.smsUrl).replace(QLatin1Char('{'), QLatin1Char('x'))
                           .replace(QLatin1Char('}'), QLatin1Char('x')));
        const bool local = url.host() == QLatin1String("127.0.0.1")
            || url.host() == QLatin1String("localhost");
        if (!url.isValid() || url.host().isEmpty()
            || !(url.scheme() == QLatin1String("https")
                 || (url.scheme() == QLatin1String("http") && local)))
            out << QStringLiteral("Η διεύθυνση της υπηρεσίας SMS πρέπει να αρχίζει με https://.");
        if (s.smsSuccess.trimmed().isEmpty())
            out << QStringLiteral("Γράψτε το κείμενο της απάντησης που σημαίνει επιτυχία.");
    }
    if (s.message.trimmed().isEmpty())
        out << QStringLiteral("Γράψτε το κείμενο του μηνύματος.");
    if (s.secondHoursBefore != 0 && s.secondHoursBefore >= s.hoursBefore)
        out << QStringLiteral("Η δεύτερη υπενθύμιση πρέπει να είναι πιο κοντά στο ραντεβού από την "
                              "πρώτη.");
    return out;
}

} // namespace Reminders
