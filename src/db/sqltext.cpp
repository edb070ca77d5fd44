#include "sqltext.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace SqlText {

namespace {

bool isForbidden(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 33 && u <= 46) || (u >= 58 && u <= 64) || (u >= 91 && u <= 96)
        || (u >= 123 && u <= 126);
}

int expandYear(int year, int digits)
{
    if (digits > 2)
        return year;
    // Two-digit years fall within fifty years either side of today.
    const int threshold = QDate::currentDate().year() - 50;
    int full = (threshold / 100) * 100 + year;
    if (full < threshold)
        full += 100;
    return full;
}

} // namespace

std::optional<QDate> parseDate(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{1,4})$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const int year = expandYear(m.captured(3).toInt(), int(m.captured(3).size()));
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1)
        return std::nullopt;
    return date;
}

QString ToSqlDate(const QString &text)
{
    const std::optional<QDate> date = parseDate(text);
    if (!date)
        return QStringLiteral("ERROR");
    return QStringLiteral("#%1/%2/%3#").arg(date->month()).arg(date->day()).arg(date->year());
}

bool IsSafeText(const QString &text)
{
    for (const QChar c : text) {
        if (isForbidden(c))
            return false;
    }
    return true;
}

QString dateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    // A year below 100 keeps four digits: written short it would read back as a year of this
    // century or the last ("1/4/5" is 2005).
    const int year = date.year();
    return QStringLiteral("%1/%2/%3")
        .arg(date.day())
        .arg(date.month())
        .arg(year, year >= 0 && year < 100 ? 4 : 0, 10, QLatin1Char('0'));
}

QString number(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    const QString g = QString::number(value, 'g', 15);
    const qsizetype e = g.indexOf(QLatin1Char('e'));
    if (e < 0)
        return g;
    // Very small and very large numbers come out as "5.5e-05", which no amount field reads
    // back: the same digits are written out in plain decimal form.
    const bool negative = g.startsWith(QLatin1Char('-'));
    QString digits = g.mid(negative ? 1 : 0, e - (negative ? 1 : 0));
    digits.remove(QLatin1Char('.'));
    const qsizetype point = g.mid(e + 1).toInt() + 1; // digits before the decimal point
    QString out;
    if (point <= 0)
        out = QStringLiteral("0.") + QString(-point, QLatin1Char('0')) + digits;
    else if (point >= digits.size())
        out = digits + QString(point - digits.size(), QLatin1Char('0'));
    else
        out = digits.left(point) + QLatin1Char('.') + digits.mid(point);
    return negative ? QLatin1Char('-') + out : out;
}

QString quoted(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

} // namespace SqlText
