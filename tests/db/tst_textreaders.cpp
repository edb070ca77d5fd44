// What the readers of typed text must give back unchanged: faults the fuzz targets in fuzz/ found,
// kept here as plain cases.

#include "greektext.h"
#include "sqltext.h"

#include <gtest/gtest.h>

using namespace SqlText;

TEST(DateText, ReadsBackAsTheSameDate)
{
    const struct {
        QDate date;
        const char *shown;
    } cases[] = {
        {QDate(2007, 3, 28), "28/3/2007"},
        {QDate(1950, 1, 1), "1/1/1950"},
        {QDate(999, 12, 31), "31/12/999"},
        {QDate(100, 2, 1), "1/2/100"},
        {QDate(99, 7, 4), "4/7/0099"},
        {QDate(5, 4, 1), "1/4/0005"},
        {QDate(1, 1, 1), "1/1/0001"},
    };
    for (const auto &c : cases) {
        const QString shown = dateText(c.date);
        EXPECT_EQ(shown, QString::fromLatin1(c.shown));
        const auto back = parseDate(shown);
        ASSERT_TRUE(back.has_value()) << c.shown;
        EXPECT_EQ(*back, c.date) << c.shown;
        EXPECT_EQ(ToSqlDate(shown), QStringLiteral("#%1/%2/%3#")
                                        .arg(c.date.month()).arg(c.date.day()).arg(c.date.year()));
    }
}

TEST(NumberText, PlainDecimalsThatReadBack)
{
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0.000055, "0.000055"},
        {-0.00001, "-0.00001"},
        {1e-7, "0.0000001"},
        {1e15, "1000000000000000"},
        {-2.5e20, "-250000000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {0.1 + 0.2, "0.3"},
        {23.41, "23.41"},
    };
    for (const auto &c : cases) {
        const QString text = number(c.value);
        EXPECT_EQ(text, QString::fromLatin1(c.text));
        const auto back = parseAmount(text);
        ASSERT_TRUE(back.has_value()) << c.text;
        EXPECT_EQ(number(*back), text);
    }
}
