#include "decimal.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

using Units = __int128;

// 10^38 is the largest power of ten that 128 signed bits hold.
constexpr int kMaxScale = 38;

constexpr std::array<Units, kMaxScale + 1> powersOfTen()
{
    std::array<Units, kMaxScale + 1> powers{};
    powers[0] = 1;
    for (size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}
constexpr auto kPowers = powersOfTen();

Units magnitude(Units value) { return value < 0 ? -value : value; }

void requireScale(int scale)
{
    if (scale < 0 || scale > kMaxScale)
        throw std::overflow_error("decimal scale out of range");
}

// Appends the decimal digits of a non-negative value.
void appendDigits(QString &out, Units value)
{
    char digits[40];
    int count = 0;
    do {
        digits[count++] = char('0' + int(value % 10));
        value /= 10;
    } while (value != 0);
    while (count > 0)
        out.append(QLatin1Char(digits[--count]));
}

} // namespace

Decimal::Decimal(qint64 units, int scale)
    : m_units(units)
    , m_scale(scale)
{
    requireScale(scale);
}

std::optional<Decimal> Decimal::read(QStringView text, QChar separator)
{
    text = text.trimmed();
    qsizetype at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-'))) {
        negative = text[at] == QLatin1Char('-');
        ++at;
    }
    Units units = 0;
    int significant = 0; // digits from the first non-zero one on
    int decimals = 0;
    int digits = 0;
    bool afterSeparator = false;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c == separator && !afterSeparator) {
            afterSeparator = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        ++digits;
        if (afterSeparator && ++decimals > kMaxDigits)
            return std::nullopt;
        const int digit = c.unicode() - '0';
        if (units == 0 && digit == 0)
            continue;
        if (++significant > kMaxDigits)
            return std::nullopt;
        units = units * 10 + digit;
    }
    if (digits == 0)
        return std::nullopt;
    return Decimal(negative ? -units : units, decimals, true);
}

std::optional<Decimal> Decimal::fromDouble(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= 1e38)
        return std::nullopt;
    if (value == 0)
        return Decimal();
    // d.dddddddddddddde±x: fifteen significant digits, then the exponent.
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, kMaxDigits - 1);
    const char *end = written.ptr;
    const char *p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    Units mantissa = 0;
    int mantissaDigits = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.')
            continue;
        mantissa = mantissa * 10 + (*p - '0');
        ++mantissaDigits;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    // The value is mantissa × 10^(exponent - mantissaDigits + 1).
    int scale = mantissaDigits - 1 - exponent;
    while (scale > 0 && mantissa % 10 == 0) {
        mantissa /= 10;
        --scale;
    }
    if (scale > kMaxScale)
        return Decimal(); // below 10^-23: nothing an amount can hold
    if (scale < 0) {
        mantissa *= kPowers[-scale];
        scale = 0;
    }
    return Decimal(negative ? -mantissa : mantissa, scale, true);
}

std::optional<Decimal> Decimal::fromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return Decimal(value.toLongLong());
    default: {
        const QString text = value.toString();
        if (auto typed = read(text))
            return typed;
        return read(text, QLatin1Char('.'));
    }
    }
}

QChar Decimal::systemSeparator()
{
    static const QChar separator = [] {
        const QString point = QLocale::system().decimalPoint();
        return point.size() == 1 ? point[0] : QLatin1Char('.');
    }();
    return separator;
}

Decimal::Units Decimal::checkedMul(Units a, Units b)
{
    Units product;
    if (__builtin_mul_overflow(a, b, &product))
        throw std::overflow_error("decimal overflow");
    return product;
}

Decimal::Units Decimal::checkedAdd(Units a, Units b)
{
    Units sum;
    if (__builtin_add_overflow(a, b, &sum))
        throw std::overflow_error("decimal overflow");
    return sum;
}

Decimal::Units Decimal::unitsAt(int scale) const
{
    requireScale(scale);
    return checkedMul(m_units, kPowers[scale - m_scale]);
}

Decimal Decimal::operator+(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    return Decimal(checkedAdd(unitsAt(scale), other.unitsAt(scale)), scale, true);
}

Decimal Decimal::operator-(const Decimal &other) const { return *this + (-other); }

Decimal Decimal::operator*(const Decimal &other) const
{
    const int scale = m_scale + other.m_scale;
    requireScale(scale);
    return Decimal(checkedMul(m_units, other.m_units), scale, true);
}

Decimal Decimal::operator-() const { return Decimal(-m_units, m_scale, true); }

Decimal Decimal::shifted(int places) const
{
    requireScale(m_scale + places);
    return Decimal(m_units, m_scale + places, true);
}

Decimal Decimal::rounded(int decimals, Rounding rounding) const
{
    requireScale(decimals);
    if (decimals >= m_scale)
        return Decimal(unitsAt(decimals), decimals, true);
    const int drop = m_scale - decimals;
    if (drop > kMaxScale)
        return Decimal(0, decimals, true); // every held value is below half a unit
    const Units divisor = kPowers[drop];
    Units quotient = m_units / divisor;
    const Units twiceRest = magnitude(m_units % divisor) * 2;
    const bool up = twiceRest > divisor
        || (twiceRest == divisor
            && (rounding == Rounding::HalfAwayFromZero || quotient % 2 != 0));
    if (up)
        quotient += m_units < 0 ? -1 : 1;
    return Decimal(quotient, decimals, true);
}

std::strong_ordering Decimal::operator<=>(const Decimal &other) const
{
    if (signum() != other.signum())
        return signum() <=> other.signum();
    // Same sign: bring the one with fewer decimals to the other's scale. If that overflows,
    // its magnitude is beyond anything the other holds.
    const bool mine = m_scale < other.m_scale;
    const Decimal &low = mine ? *this : other;
    const Decimal &high = mine ? other : *this;
    Units scaled;
    if (__builtin_mul_overflow(low.m_units, kPowers[high.m_scale - low.m_scale], &scaled)) {
        const auto lowFirst = low.signum() > 0 ? std::strong_ordering::greater
                                               : std::strong_ordering::less;
        return mine ? lowFirst : 0 <=> lowFirst;
    }
    const auto ordered = scaled <=> high.m_units;
    return mine ? ordered : 0 <=> ordered;
}

bool Decimal::operator==(const Decimal &other) const { return (*this <=> other) == 0; }

QString Decimal::text(QChar separator) const
{
    QString out;
    if (m_units < 0)
        out.append(QLatin1Char('-'));
    const Units whole = magnitude(m_units);
    appendDigits(out, whole / kPowers[m_scale]);
    if (m_scale > 0) {
        out.append(separator);
        QString fraction;
        appendDigits(fraction, whole % kPowers[m_scale]);
        out.append(QString(m_scale - fraction.size(), QLatin1Char('0')));
        out.append(fraction);
    }
    return out;
}

QString Decimal::sqlText() const
{
    Units units = m_units;
    int scale = m_scale;
    while (scale > 0 && units % 10 == 0) {
        units /= 10;
        --scale;
    }
    return Decimal(units, scale, true).text(QLatin1Char('.'));
}

double Decimal::toDouble() const
{
    const QByteArray text = sqlText().toLatin1();
    double value = 0;
    std::from_chars(text.constData(), text.constData() + text.size(), value);
    return value;
}
