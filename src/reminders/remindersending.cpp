#include "remindersending.h"

#include "connection.h"
#include "reminderdelivery.h"
#include "icalendar.h"
#include "remindercontacts.h"
#include "remindermessage.h"
#include "remindertexts.h"

#include <set>

namespace Reminders {

namespace {

QString whenText(const Reminder &r)
{
    return slotStart(r.day, r.slot).toString(QStringLiteral("d/M/yyyy HH:mm"));
}

} // namespace

RunReport sendDue(Connection &connection, const Secrets &secrets, const QDateTime &now,
                  const RunOptions &options)
{
    RunReport report;
    const Settings settings = load(connection);
    {
        ensureTables(connection);
        Transaction t(connection);
        report.expired = reconcile(connection, settings, now).expired;
        t.commit();
    }

    // A reminder still in flight long after its run began went with a run that never ended:
    // it may have arrived, so it is never sent again; the person is told.
    for (const Reminder &r : inFlight(connection)) {
        if (r.inFlightSince.isValid() && r.inFlightSince.secsTo(now) < options.staleSeconds)
            continue;
        markUncertain(connection, r.id, QStringLiteral("the run sending it did not finish"));
        ++report.uncertain;
        report.notices << ReminderTexts::kUncertain.arg(whenText(r),
                                                        patientName(connection, r.patientId),
                                                        r.address);
    }

    QList<Reminder> due;
    for (const Reminder &r : waiting(connection))
        if (r.due <= now && (!r.nextTry.isValid() || r.nextTry <= now)
            && slotStart(r.day, r.slot) > now)
            due << r;
    if (due.isEmpty())
        return report;

    std::set<Channel> stopped;
    auto stop = [&](Channel channel, const QString &notice) {
        stopped.insert(channel);
        if (!notice.isEmpty() && !report.notices.contains(notice))
            report.notices << notice;
    };
    if (settings.mailReady() && !settings.smtpUser.trimmed().isEmpty() && !secrets.mailPasswordFound)
        stop(Channel::Email, ReminderTexts::kNoPassword);
    if (settings.smsReady() && settings.smsUrl.contains(ReminderTexts::kFieldKey)
        && !secrets.smsKeyFound)
        stop(Channel::Sms, ReminderTexts::kNoSmsKey);
    const Practice practiceDetails = practice(connection);
    // The attachment's event has the UID the book's own export gives the slot, so that a
    // calendar which has both keeps one event.
    const QString calendarKey = ICalendar::practiceKey(connection);

    for (const Reminder &r : due) {
        if (stopped.count(r.channel))
            continue;
        const QDateTime start = slotStart(r.day, r.slot);
        const QString patient = patientName(connection, r.patientId);
        const Message message = compose(settings, practiceDetails, patient, start);
        ICalendar::Event event;
        event.uid = ICalendar::slotUid(calendarKey, r.day, r.slot);
        event.day = r.day;
        event.start = start.time();
        event.end = start.time().addSecs(30 * 60);
        event.summary = practiceDetails.name.isEmpty()
            ? QStringLiteral("Ραντεβού")
            : QStringLiteral("Ραντεβού: ") + practiceDetails.name;
        event.description = message.text;

        // From here on its fate is unknown until an answer is kept.
        if (!markInFlight(connection, r.id, options.sender, now))
            continue;
        if (options.afterInFlight)
            options.afterInFlight(r);

        Delivery d;
        if (r.channel == Channel::Email) {
            Mail mail;
            mail.to = r.address;
            mail.subject = message.subject;
            mail.text = message.text;
            mail.calendar = ICalendar::singleEvent(event, now);
            mail.calendarName = QStringLiteral("rantevou.ics");
            mail.messageId = QStringLiteral("reminder-%1-%2@orvanta")
                                 .arg(r.id)
                                 .arg(now.toSecsSinceEpoch());
            d = sendMail(settings, secrets.mailPassword, mail, options.timeoutSeconds);
        } else {
            d = sendSms(settings, secrets.smsKey, r.address, message.text, options.timeoutSeconds);
        }

        if (options.afterDelivery)
            options.afterDelivery(r);
        switch (d.fate) {
        case Delivery::Fate::Sent:
            markSent(connection, r.id, now);
            ++report.sent;
            break;
        case Delivery::Fate::NotDelivered:
            // The server cannot be reached: the rest of this channel waits for the next run.
            markWaiting(connection, r.id, d.detail, now.addSecs(options.retrySeconds));
            ++report.retry;
            stop(r.channel, QString());
            break;
        case Delivery::Fate::LoginRefused:
            markWaiting(connection, r.id, d.detail, now.addSecs(options.retrySeconds));
            ++report.retry;
            stop(r.channel, r.channel == Channel::Email ? ReminderTexts::kMailLoginRefused
                                                        : ReminderTexts::kSmsLoginRefused);
            break;
        case Delivery::Fate::Refused:
            markFailed(connection, r.id, d.detail);
            ++report.failed;
            break;
        case Delivery::Fate::Unknown:
            markUncertain(connection, r.id, d.detail);
            ++report.uncertain;
            report.notices << ReminderTexts::kUncertain.arg(whenText(r), patient, r.address);
            break;
        }
    }
    return report;
}

} // namespace Reminders
