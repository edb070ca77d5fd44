#include "reminderqueue.h"

#include "connection.h"
#include "recordset.h"
#include "remindercontacts.h"
#include "remindertexts.h"
#include "schema.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace Reminders {

namespace {

const QString kTable = QString::fromLatin1(Schema::kRemindersTable);
const QString kLinks = QString::fromLatin1(Schema::kAppointmentLinksTable);

constexpr struct {
    State state;
    const char *code;
} kStates[] = {
    {State::Waiting, "WAITING"},   {State::InFlight, "INFLIGHT"}, {State::Sent, "SENT"},
    {State::Uncertain, "UNCERTAIN"}, {State::Failed, "FAILED"},   {State::Expired, "EXPIRED"},
};

QString utc(const QDateTime &at)
{
    return at.isValid() ? at.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")) : QString();
}

QDateTime fromUtc(const QString &text)
{
    if (text.isEmpty())
        return {};
    QDateTime at = QDateTime::fromString(text, Qt::ISODate);
    return at.isValid() ? at.toUTC() : QDateTime();
}

QDate dayOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

QString jetDate(const QDate &day)
{
    return QLatin1Char('#') + day.toString(QStringLiteral("M/d/yyyy")) + QLatin1Char('#');
}

State stateOf(const QString &code)
{
    for (const auto &s : kStates)
        if (code == QLatin1String(s.code))
            return s.state;
    return State::Uncertain; // a state this program does not know is never sent blind
}

const QString kColumns = QStringLiteral(
    "ID, HMEROMHNIA, THESH, ASTHENHS, KANALI, SEIRA, DIEYTHYNSH, PROTHESMIA, KATASTASH, EPOMENH, "
    "PROSPATHEIES, APOSTOLH_APO, APESTALH, SFALMA");

QList<Reminder> select(Connection &connection, const QString &where)
{
    QList<Reminder> out;
    if (!Schema::hasTable(connection, kTable))
        return out;
    Query q(connection);
    q.setSql(QStringLiteral("SELECT %1 FROM %2 %3").arg(kColumns, kTable, where));
    q.open();
    for (int row = 0; row < q.rowCount(); ++row) {
        auto v = [&](int column) { return q.value(row, column); };
        Reminder r;
        r.id = v(0).toLongLong();
        r.day = QDate::fromString(v(1).toString(), Qt::ISODate);
        r.slot = v(2).toInt();
        r.patientId = v(3).toLongLong();
        r.channel = v(4).toString() == QLatin1String("SMS") ? Channel::Sms : Channel::Email;
        r.round = v(5).toInt();
        r.address = v(6).toString();
        r.due = fromUtc(v(7).toString());
        r.state = stateOf(v(8).toString());
        r.nextTry = fromUtc(v(9).toString());
        r.attempts = v(10).toInt();
        r.inFlightSince = fromUtc(v(11).toString());
        r.sentAt = fromUtc(v(12).toString());
        r.error = v(13).toString();
        out << r;
    }
    return out;
}

// What identifies a reminder: its slot, patient, channel and round.
using Key = std::tuple<QDate, int, qint64, Channel, int>;
Key keyOf(const Reminder &r)
{
    return {r.day, r.slot, r.patientId, r.channel, r.round};
}

struct Owed {
    QString address;
    QDateTime due;
};

} // namespace

QString channelCode(Channel channel)
{
    return channel == Channel::Sms ? QStringLiteral("SMS") : QStringLiteral("EMAIL");
}

QString stateCode(State state)
{
    for (const auto &s : kStates)
        if (s.state == state)
            return QString::fromLatin1(s.code);
    return {};
}

QString stateText(State state)
{
    switch (state) {
    case State::Waiting:
        return ReminderTexts::kStateWaiting;
    case State::InFlight:
        return ReminderTexts::kStateInFlight;
    case State::Sent:
        return ReminderTexts::kStateSent;
    case State::Uncertain:
        return ReminderTexts::kStateUncertain;
    case State::Failed:
        return ReminderTexts::kStateFailed;
    case State::Expired:
        return ReminderTexts::kStateExpired;
    }
    return {};
}

QDateTime slotStart(const QDate &day, int slot)
{
    return QDateTime(day, QTime(8, 0).addSecs(qint64(slot) * 30 * 60));
}

ReconcileOutcome reconcile(Connection &connection, const Settings &settings, const QDateTime &now)
{
    ReconcileOutcome out;
    ensureTables(connection);
    const QDate from = now.toLocalTime().date().addDays(-1);

    // The links as they stand: which patient each slot is for.
    QHash<std::pair<QDate, int>, qint64> links;
    if (Schema::hasTable(connection, kLinks)) {
        Query q(connection);
        q.setSql(QStringLiteral("SELECT HMEROMHNIA, THESH, ID FROM %1 WHERE HMEROMHNIA>=%2")
                     .arg(kLinks, jetDate(from)));
        q.open();
        for (int row = 0; row < q.rowCount(); ++row)
            links.insert({dayOf(q.value(row, 0)), q.value(row, 1).toInt()},
                         q.value(row, 2).toLongLong());
    }

    // What is owed now.
    std::map<Key, Owed> owed;
    if (settings.enabled && (settings.mailOn || settings.smsOn) && !links.isEmpty()) {
        const QHash<qint64, Contact> contacts = allContacts(connection);
        QList<int> rounds {settings.hoursBefore};
        if (settings.secondHoursBefore > 0)
            rounds << settings.secondHoursBefore;
        for (auto it = links.cbegin(); it != links.cend(); ++it) {
            const QDateTime start = slotStart(it.key().first, it.key().second);
            if (start <= now)
                continue;
            const auto contact = contacts.constFind(it.value());
            if (contact == contacts.cend() || !contact->consent)
                continue;
            QList<std::pair<Channel, QString>> channels;
            if (settings.mailOn && plausibleEmail(contact->email))
                channels.push_back({Channel::Email, contact->email});
            if (settings.smsOn && !greekMobile(contact->mobile).isEmpty())
                channels.push_back({Channel::Sms, greekMobile(contact->mobile)});
            for (const auto &[channel, address] : channels)
                for (int round = 1; round <= rounds.size(); ++round)
                    owed[{it.key().first, it.key().second, it.value(), channel, round}]
                        = {address, start.addSecs(-3600LL * rounds.at(round - 1)).toUTC()};
        }
    }

    // What the queue holds: every waiting reminder, and any other of the days still owed for.
    const QList<Reminder> queued = select(
        connection, QStringLiteral("WHERE KATASTASH='WAITING' OR HMEROMHNIA>='%1'")
                        .arg(from.toString(Qt::ISODate)));
    std::set<Key> present;
    for (const Reminder &r : queued) {
        present.insert(keyOf(r));
        if (r.state != State::Waiting)
            continue;
        const auto o = owed.find(keyOf(r));
        if (o == owed.end()) {
            // Its appointment began with the link unchanged: kept, as not sent in time.
            const auto link = links.constFind({r.day, r.slot});
            if (slotStart(r.day, r.slot) <= now && link != links.cend()
                && link.value() == r.patientId) {
                connection.executeNative(
                    QStringLiteral("UPDATE %1 SET KATASTASH='EXPIRED' WHERE ID=? AND "
                                   "KATASTASH='WAITING'")
                        .arg(kTable),
                    {r.id});
                ++out.expired;
            } else {
                connection.executeNative(
                    QStringLiteral("DELETE FROM %1 WHERE ID=? AND KATASTASH='WAITING'").arg(kTable),
                    {r.id});
                ++out.dropped;
            }
        } else if (o->second.address != r.address || o->second.due != r.due) {
            connection.executeNative(
                QStringLiteral("UPDATE %1 SET DIEYTHYNSH=?, PROTHESMIA=? WHERE ID=? AND "
                               "KATASTASH='WAITING'")
                    .arg(kTable),
                {o->second.address, utc(o->second.due), r.id});
            ++out.changed;
        }
    }
    for (const auto &[key, o] : owed) {
        if (present.count(key))
            continue;
        const auto &[day, slot, patient, channel, round] = key;
        connection.executeNative(
            QStringLiteral("INSERT INTO %1 (HMEROMHNIA, THESH, ASTHENHS, KANALI, SEIRA, DIEYTHYNSH, "
                           "PROTHESMIA, KATASTASH, PROSPATHEIES) VALUES (?, ?, ?, ?, ?, ?, ?, "
                           "'WAITING', 0)")
                .arg(kTable),
            {day.toString(Qt::ISODate), slot, patient, channelCode(channel), round, o.address,
             utc(o.due)});
        ++out.added;
    }
    return out;
}

ReconcileOutcome reconcile(Connection &connection)
{
    return reconcile(connection, load(connection), QDateTime::currentDateTimeUtc());
}

QList<Reminder> waiting(Connection &connection)
{
    return select(connection, QStringLiteral("WHERE KATASTASH='WAITING' ORDER BY PROTHESMIA, ID"));
}

QList<Reminder> inFlight(Connection &connection)
{
    return select(connection, QStringLiteral("WHERE KATASTASH='INFLIGHT' ORDER BY ID"));
}

std::optional<Reminder> reminder(Connection &connection, qint64 id)
{
    const QList<Reminder> r = select(connection, QStringLiteral("WHERE ID=%1").arg(id));
    if (r.isEmpty())
        return std::nullopt;
    return r.first();
}

bool markInFlight(Connection &connection, qint64 id, const QString &sender, const QDateTime &now)
{
    return connection.executeNative(
               QStringLiteral("UPDATE %1 SET KATASTASH='INFLIGHT', APOSTOLEAS=?, APOSTOLH_APO=?, "
                              "PROSPATHEIES=PROSPATHEIES+1 WHERE ID=? AND KATASTASH='WAITING'")
                   .arg(kTable),
               {sender, utc(now), id})
        == 1;
}

void markSent(Connection &connection, qint64 id, const QDateTime &at)
{
    connection.executeNative(
        QStringLiteral("UPDATE %1 SET KATASTASH='SENT', APESTALH=?, SFALMA=NULL WHERE ID=?")
            .arg(kTable),
        {utc(at), id});
}

void markWaiting(Connection &connection, qint64 id, const QString &why, const QDateTime &nextTry)
{
    connection.executeNative(
        QStringLiteral("UPDATE %1 SET KATASTASH='WAITING', SFALMA=?, EPOMENH=? WHERE ID=?")
            .arg(kTable),
        {why, utc(nextTry), id});
}

void markUncertain(Connection &connection, qint64 id, const QString &why)
{
    connection.executeNative(
        QStringLiteral("UPDATE %1 SET KATASTASH='UNCERTAIN', SFALMA=? WHERE ID=?").arg(kTable),
        {why, id});
}

void markFailed(Connection &connection, qint64 id, const QString &why)
{
    connection.executeNative(
        QStringLiteral("UPDATE %1 SET KATASTASH='FAILED', SFALMA=? WHERE ID=?").arg(kTable),
        {why, id});
}

QList<int> remindedSlots(Connection &connection, const QDate &day)
{
    QList<int> out;
    const QList<Reminder> sent
        = select(connection, QStringLiteral("WHERE HMEROMHNIA='%1' AND KATASTASH='SENT'")
                                 .arg(day.toString(Qt::ISODate)));
    if (sent.isEmpty() || !Schema::hasTable(connection, kLinks))
        return out;
    // Only while the slot is still for the patient who was reminded.
    Query q(connection);
    q.setSql(QStringLiteral("SELECT THESH, ID FROM %1 WHERE HMEROMHNIA=%2").arg(kLinks, jetDate(day)));
    q.open();
    QHash<int, qint64> links;
    for (int row = 0; row < q.rowCount(); ++row)
        links.insert(q.value(row, 0).toInt(), q.value(row, 1).toLongLong());
    for (const Reminder &r : sent)
        if (links.value(r.slot, -1) == r.patientId && !out.contains(r.slot))
            out << r.slot;
    std::sort(out.begin(), out.end());
    return out;
}

QList<Reminder> patientReminders(Connection &connection, qint64 patientId)
{
    return select(connection,
                  QStringLiteral("WHERE ASTHENHS=%1 ORDER BY HMEROMHNIA DESC, THESH DESC, SEIRA, "
                                 "KANALI")
                      .arg(patientId));
}

} // namespace Reminders
