#include "reminderics.h"

namespace Reminders {

namespace {

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char(';'), QLatin1String("\\;"));
    text.replace(QLatin1Char(','), QLatin1String("\\,"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QString utc(const QDateTime &at)
{
    return at.toUTC().toString(QStringLiteral("yyyyMMddTHHmmssZ"));
}

// A content line folded at 75 octets, never inside a UTF-8 sequence.
QByteArray folded(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray out;
    int width = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype len = 1;
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        if (width + len > 75) {
            out += "\r\n ";
            width = 1;
        }
        out += bytes.mid(i, len);
        width += int(len);
        i += len;
    }
    return out + "\r\n";
}

} // namespace

QString slotUid(const QDate &day, int slot)
{
    return day.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-')
        + QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0')) + QStringLiteral("@orvanta");
}

QByteArray calendarText(const CalendarEvent &e, const QDateTime &stamp)
{
    QStringList lines = {
        QStringLiteral("BEGIN:VCALENDAR"),
        QStringLiteral("VERSION:2.0"),
        QStringLiteral("PRODID:-//Orvanta//Appointment reminders//EL"),
        QStringLiteral("METHOD:PUBLISH"),
        QStringLiteral("BEGIN:VEVENT"),
        QStringLiteral("UID:") + e.uid,
        QStringLiteral("DTSTAMP:") + utc(stamp),
        QStringLiteral("DTSTART:") + utc(e.start),
        QStringLiteral("DTEND:") + utc(e.end),
        QStringLiteral("SUMMARY:") + escaped(e.summary),
    };
    if (!e.location.isEmpty())
        lines << QStringLiteral("LOCATION:") + escaped(e.location);
    if (!e.description.isEmpty())
        lines << QStringLiteral("DESCRIPTION:") + escaped(e.description);
    lines << QStringLiteral("END:VEVENT") << QStringLiteral("END:VCALENDAR");
    QByteArray out;
    for (const QString &line : lines)
        out += folded(line);
    return out;
}

} // namespace Reminders
