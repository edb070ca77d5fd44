#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <compare>
#include <optional>

// An exact decimal number: a whole number of units of 10^-scale, held in 128 bits. Amounts are
// read, computed and rounded in it, so that 10.10 × 15 ÷ 100 is exactly 1.515 and its half goes
// where the rounding rule says, not where a binary approximation happens to fall. A result too
// large for 128 bits throws std::overflow_error; amounts read from the keyboard are far from it.
class Decimal {
public:
    enum class Rounding {
        HalfEven,         // an exact half goes to the even neighbour (VAT, Cyprus pounds)
        HalfAwayFromZero, // an exact half goes away from zero (amounts shown with two decimals)
    };

    // The most significant digits an amount may have: a stored amount is a double, which keeps
    // 15 decimal digits exactly.
    static constexpr int kMaxDigits = 15;

    constexpr Decimal() = default;
    // units × 10^-scale: Decimal(1010, 2) is 10.10.
    Decimal(qint64 units, int scale = 0);

    // Reads an amount as a person types it: an optional sign, digits, and at most one decimal
    // separator followed by digits ("40,50", "-5", ",5"). Nothing else: no blanks inside, no
    // thousands separators, no exponent, no second separator, at most kMaxDigits significant
    // digits and kMaxDigits decimals. Blanks around are ignored. Empty when it is not an amount.
    static std::optional<Decimal> read(QStringView text, QChar separator);
    // The same with the system's decimal separator.
    static std::optional<Decimal> read(QStringView text) { return read(text, systemSeparator()); }

    // The decimal that a stored double stands for: its shortest decimal form with up to 15
    // significant digits, the form in which amounts are written into SQL text (so 1.005, stored
    // as 1.00499999999999989..., is 1.005). Empty when the value is not finite or is beyond
    // 10^38.
    static std::optional<Decimal> fromDouble(double value);

    // A stored value as a decimal: a double as fromDouble, a whole number exactly, a text as
    // typed (the system's separator) or as SQL text (a point). Empty for null and non-numbers.
    static std::optional<Decimal> fromVariant(const QVariant &value);

    // The decimal separator of the system's locale (QLocale::system()), read once: a comma on a
    // Greek system, a point on most others.
    static QChar systemSeparator();

    Decimal operator+(const Decimal &other) const;
    Decimal operator-(const Decimal &other) const;
    Decimal operator*(const Decimal &other) const;
    Decimal operator-() const;
    // The value divided by 10^places (exact).
    Decimal shifted(int places) const;
    // The value rounded to the given number of decimals, with exactly that many decimals.
    Decimal rounded(int decimals, Rounding rounding) const;

    int signum() const { return m_units > 0 ? 1 : m_units < 0 ? -1 : 0; }
    bool isZero() const { return m_units == 0; }
    int scale() const { return m_scale; }

    // Equal values compare equal whatever their scale (1.5 == 1.50).
    bool operator==(const Decimal &other) const;
    std::strong_ordering operator<=>(const Decimal &other) const;

    // The digits as held, with every decimal of the scale (10.10 stays "10,10"), and the given
    // separator; no thousands separators.
    QString text(QChar separator) const;
    QString text() const { return text(systemSeparator()); }
    // The shortest form with a point, for SQL text: no trailing zeros, no exponent ("1.52",
    // "46", "0.00001").
    QString sqlText() const;
    // The nearest double.
    double toDouble() const;

private:
    using Units = __int128;
    Decimal(Units units, int scale, bool)
        : m_units(units)
        , m_scale(scale)
    {}
    static Units checkedMul(Units a, Units b);
    static Units checkedAdd(Units a, Units b);
    // The units scaled up to the given (larger) scale.
    Units unitsAt(int scale) const;

    Units m_units = 0;
    int m_scale = 0;
};
