// The exact decimal that amounts are read, computed and rounded in.

#include "decimal.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QString sql(const std::optional<Decimal> &d)
{
    return d ? d->sqlText() : QStringLiteral("refused");
}

} // namespace

TEST(Decimal, ReadsWhatAPersonTypesWithTheGivenSeparatorOnly)
{
    const struct {
        const char *typed;
        char separator;
        const char *read; // as SQL text, or "refused"
    } cases[] = {
        {"40,50", ',', "40.5"},
        {" 10,10 ", ',', "10.1"},
        {",5", ',', "0.5"},
        {"5,", ',', "5"},
        {"-5", ',', "-5"},
        {"+0,24", ',', "0.24"},
        {"007", ',', "7"},
        {"999999999999999", ',', "999999999999999"},
        {"0,000000000000001", ',', "0.000000000000001"},
        {"40.50", '.', "40.5"},
        {"1.000", '.', "1"},
        // A point on a system that writes a comma is a thousands separator or a slip: refused.
        {"1.000", ',', "refused"},
        {"40.5", ',', "refused"},
        {"40,5", '.', "refused"},
        {"1.000,50", ',', "refused"},
        {"1,000.50", '.', "refused"},
        {"1,2,3", ',', "refused"},
        {"", ',', "refused"},
        {" ", ',', "refused"},
        {",", ',', "refused"},
        {"-", ',', "refused"},
        {"1 000", ',', "refused"},
        {"1e5", '.', "refused"},
        {"--5", ',', "refused"},
        {"abc", ',', "refused"},
        {"٣", ',', "refused"}, // a digit of another script
        {"1000000000000000", ',', "refused"}, // sixteen significant digits
        {"0,0000000000000001", ',', "refused"}, // sixteen decimals
    };
    for (const auto &c : cases)
        EXPECT_EQ(sql(Decimal::read(QString::fromUtf8(c.typed), QLatin1Char(c.separator))),
                  QString::fromLatin1(c.read))
            << c.typed << " with " << c.separator;
}

TEST(Decimal, RoundsExactHalvesAsAsked)
{
    using R = Decimal::Rounding;
    const struct {
        Decimal value;
        const char *halfEven;
        const char *halfAway;
    } cases[] = {
        {Decimal(1515, 3), "1.52", "1.52"},
        {Decimal(1525, 3), "1.52", "1.53"},
        {Decimal(-1525, 3), "-1.52", "-1.53"},
        {Decimal(125, 3), "0.12", "0.13"},
        {Decimal(1250001, 7), "0.13", "0.13"},
        {Decimal(4, 3), "0", "0"},
        {Decimal(5000000), "5000000", "5000000"},
        {*Decimal::fromDouble(1.005), "1", "1.01"},
        {*Decimal::fromDouble(2.675), "2.68", "2.68"},
        {*Decimal::fromDouble(50500000.05), "50500000.05", "50500000.05"},
        {*Decimal::fromDouble(1e17), "100000000000000000", "100000000000000000"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.value.rounded(2, R::HalfEven).sqlText(), QString::fromLatin1(c.halfEven))
            << c.value.sqlText().toStdString();
        EXPECT_EQ(c.value.rounded(2, R::HalfAwayFromZero).sqlText(),
                  QString::fromLatin1(c.halfAway))
            << c.value.sqlText().toStdString();
    }
}

TEST(Decimal, WritesEveryDecimalOfItsScaleWithTheSeparatorGiven)
{
    EXPECT_EQ(Decimal(1010, 2).text(QLatin1Char(',')), "10,10");
    EXPECT_EQ(Decimal(1010, 2).text(QLatin1Char('.')), "10.10");
    EXPECT_EQ(Decimal(-5, 3).text(QLatin1Char(',')), "-0,005");
    EXPECT_EQ(Decimal(46).rounded(2, Decimal::Rounding::HalfEven).text(QLatin1Char(',')),
              "46,00");
    EXPECT_EQ(Decimal(1010, 2).sqlText(), "10.1");
    EXPECT_EQ(Decimal(1, 5).sqlText(), "0.00001");
    EXPECT_EQ(Decimal(1010, 2), Decimal(101, 1));
    EXPECT_LT(Decimal(-1, 2), Decimal());
}

TEST(Decimal, StoredValuesAreTheDecimalsTheyStandFor)
{
    EXPECT_EQ(sql(Decimal::fromVariant(QVariant(0.1 + 0.2))), "0.3");
    EXPECT_EQ(sql(Decimal::fromVariant(QVariant(qint64(9007199254740993)))), "9007199254740993");
    EXPECT_EQ(sql(Decimal::fromVariant(QVariant(QStringLiteral("23.41")))), "23.41");
    EXPECT_EQ(sql(Decimal::fromVariant(QVariant())), "refused");
    EXPECT_EQ(sql(Decimal::fromVariant(QVariant(QStringLiteral("x")))), "refused");
    EXPECT_EQ(sql(Decimal::fromDouble(std::numeric_limits<double>::infinity())), "refused");
}

TEST(Decimal, ResultsBeyondItsRangeThrowInsteadOfWrapping)
{
    const Decimal big = *Decimal::read(QStringLiteral("999999999999999"), QLatin1Char('.'));
    Decimal product = big;
    EXPECT_THROW(
        {
            for (int i = 0; i < 4; ++i)
                product = product * big;
        },
        std::overflow_error);
    EXPECT_THROW((void)Decimal(1, 2).shifted(40), std::overflow_error);
}
