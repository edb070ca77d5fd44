#include "icalendar.h"

#include "connection.h"
#include "practicesettings.h"

#include <QUuid>

namespace ICalendar {

namespace {

const QString kKeySetting = QStringLiteral("calendar_key");

// The zone's rules since 1996 (the European Union's): summer time from the last Sunday of
// March at 03:00 to the last Sunday of October at 04:00 local time.
const char kTimeZoneBlock[] = "BEGIN:VTIMEZONE\r\n"
                              "TZID:Europe/Athens\r\n"
                              "BEGIN:DAYLIGHT\r\n"
                              "TZOFFSETFROM:+0200\r\n"
                              "TZOFFSETTO:+0300\r\n"
                              "TZNAME:EEST\r\n"
                              "DTSTART:19700329T030000\r\n"
                              "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
                              "END:DAYLIGHT\r\n"
                              "BEGIN:STANDARD\r\n"
                              "TZOFFSETFROM:+0300\r\n"
                              "TZOFFSETTO:+0200\r\n"
                              "TZNAME:EET\r\n"
                              "DTSTART:19701025T040000\r\n"
                              "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
                              "END:STANDARD\r\n"
                              "END:VTIMEZONE\r\n";

QByteArray line(const QString &name, const QString &value)
{
    return foldLine((name + QLatin1Char(':') + value).toUtf8());
}

QString localTime(const QDate &day, const QTime &time)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('T')
        + time.toString(QStringLiteral("HHmmss"));
}

QByteArray eventBlock(const Event &e, const QString &stamp)
{
    const QString zone = QStringLiteral("DTSTART;TZID=") + QLatin1String(kTimeZone);
    QByteArray out = "BEGIN:VEVENT\r\n";
    out += line(QStringLiteral("UID"), e.uid);
    out += line(QStringLiteral("DTSTAMP"), stamp);
    out += line(zone, localTime(e.day, e.start));
    out += line(QStringLiteral("DTEND;TZID=") + QLatin1String(kTimeZone),
                localTime(e.end < e.start ? e.day.addDays(1) : e.day, e.end));
    out += line(QStringLiteral("SUMMARY"), escapeText(e.summary));
    if (!e.description.isEmpty())
        out += line(QStringLiteral("DESCRIPTION"), escapeText(e.description));
    out += "END:VEVENT\r\n";
    return out;
}

} // namespace

QString escapeText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(','))
            out += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
            continue; // not allowed in a TEXT value
        else
            out += c;
    }
    return out;
}

QByteArray foldLine(const QByteArray &content)
{
    constexpr int kOctets = 75;
    QByteArray out;
    int start = 0;
    int limit = kOctets; // the first line has 75 octets; the others a blank and 74
    while (content.size() - start > limit) {
        int end = start + limit;
        // Never between the bytes of one character: back up to a byte that starts one.
        while (end > start && (uchar(content.at(end)) & 0xC0) == 0x80)
            --end;
        out += content.mid(start, end - start);
        out += "\r\n ";
        start = end;
        limit = kOctets - 1;
    }
    out += content.mid(start);
    out += "\r\n";
    return out;
}

QString practiceKey(Connection &connection)
{
    QString key = PracticeSettings::value(connection, kKeySetting, QString()).trimmed();
    if (!key.isEmpty())
        return key;
    PracticeSettings::setValue(connection, kKeySetting,
                               QUuid::createUuid().toString(QUuid::WithoutBraces));
    // Read back: another workstation that made its key at the same moment may have won.
    return PracticeSettings::value(connection, kKeySetting, QString()).trimmed();
}

QString slotUid(const QString &practiceKey, const QDate &day, int slot)
{
    return QStringLiteral("%1-%2-%3@orvanta")
        .arg(practiceKey, day.toString(QStringLiteral("yyyyMMdd")))
        .arg(slot, 2, 10, QLatin1Char('0'));
}

Event slotEvent(const QString &practiceKey, const AppointmentLinks::Appointment &a)
{
    const QDateTime start = AppointmentLinks::slotStart(a.day, a.slot);
    const QDateTime end = AppointmentLinks::slotEnd(a.day, a.slot);
    return Event {slotUid(practiceKey, a.day, a.slot),
                  a.day,
                  start.time(),
                  end.time(),
                  a.text,
                  a.noShow ? QStringLiteral("Δεν προσήλθε") : QString()};
}

QByteArray calendar(const QList<Event> &events, const QDateTime &stamp, const QString &method)
{
    const QString utc = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QByteArray out = "BEGIN:VCALENDAR\r\n"
                     "VERSION:2.0\r\n"
                     "PRODID:-//Orvanta//Orvanta//EL\r\n"
                     "CALSCALE:GREGORIAN\r\n";
    if (!method.isEmpty())
        out += line(QStringLiteral("METHOD"), method);
    out += kTimeZoneBlock;
    for (const Event &e : events)
        out += eventBlock(e, utc);
    out += "END:VCALENDAR\r\n";
    return out;
}

QByteArray singleEvent(const Event &event, const QDateTime &stamp, const QString &method)
{
    return calendar({event}, stamp, method);
}

QByteArray periodCalendar(Connection &connection, const QDate &from, const QDate &to,
                          const QDateTime &stamp)
{
    const QString key = practiceKey(connection);
    QList<Event> events;
    for (const AppointmentLinks::Appointment &a :
         AppointmentLinks::readPeriod(connection, from, to))
        events << slotEvent(key, a);
    return calendar(events, stamp);
}

} // namespace ICalendar
