// What the readers of typed text must give back unchanged: faults the fuzz targets in fuzz/ found,
// kept here as plain cases.

#include "greektext.h"
#include "sqlfunctions.h"
#include "sqltext.h"

#include "testsupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace SqlText;

TEST(DateText, ReadsBackAsTheSameDate)
{
    const struct {
        QDate date;
        const char *shown;
    } cases[] = {
        {QDate(2007, 3, 28), "28/3/2007"}, {QDate(1950, 1, 1), "1/1/1950"},
        {QDate(999, 12, 31), "31/12/999"}, {QDate(100, 2, 1), "1/2/100"},
        {QDate(99, 7, 4), "4/7/0099"},     {QDate(5, 4, 1), "1/4/0005"},
        {QDate(1, 1, 1), "1/1/0001"},
    };
    for (const auto &c : cases) {
        const QString shown = dateText(c.date);
        EXPECT_EQ(shown, QString::fromLatin1(c.shown));
        const auto back = parseDate(shown);
        ASSERT_TRUE(back.has_value()) << c.shown;
        EXPECT_EQ(*back, c.date) << c.shown;
        EXPECT_EQ(
            ToSqlDate(shown),
            QStringLiteral("#%1/%2/%3#").arg(c.date.month()).arg(c.date.day()).arg(c.date.year()));
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
        bool ok = false;
        const double back = text.toDouble(&ok);
        ASSERT_TRUE(ok) << c.text;
        EXPECT_EQ(number(back), text);
    }
}

TEST(Rounding, FormatInSqlGivesTheSameFigures)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    SqlFunctions::registerAll(db);
    const struct {
        const char *sql;
        const char *text;
    } cases[] = {
        {"SELECT FORMAT(5000000,'0.00')", "5000000.00"},
        {"SELECT FORMAT(500000000,'0')", "500000000"},
        {"SELECT FORMAT(1.005,'0.00')", "1.01"},
        {"SELECT FORMAT('40.5','0.00')", "40.50"},
        {"SELECT FORMAT(-0.001,'0.00')", "0.00"},
    };
    for (const auto &c : cases) {
        sqlite3_stmt *st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, c.sql, -1, &st, nullptr), SQLITE_OK) << c.sql;
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW) << c.sql;
        // Format() writes the system's decimal separator, as the windows show amounts.
        EXPECT_EQ(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                  TestSupport::num(QString::fromUtf8(c.text)))
            << c.sql;
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

// The GREEK collation compares stored UTF-8 where it lies; it must give the order of compare(),
// and stay an order on bytes that are not valid UTF-8 (a damaged row), reading none past the end.
TEST(GreekCollation, OrderOnStoredBytes)
{
    auto cmp = [](const QByteArray &a, const QByteArray &b) {
        // Copies without a terminating byte, so that a read past the end shows under ASan.
        std::vector<char> x(a.begin(), a.end()), y(b.begin(), b.end());
        const int r = GreekText::compareUtf8(x.data(), int(x.size()), y.data(), int(y.size()));
        return (r > 0) - (r < 0);
    };
    const QByteArray pairs[][2] = {
        {"\xce\x64\xa0", "\xce\x96\xce\xae"}, // broken lead byte against Ζή
        {"\xce", "\xce\x96"},
        {"\xce\x96", "\xce\x97"},
        {"ab", "abc"},
        {"\xcf\x83\x80", "\xcf\x82"},
    };
    for (const auto &p : pairs) {
        EXPECT_EQ(cmp(p[0], p[1]), -cmp(p[1], p[0])) << p[0].toHex().constData();
        const QString a = QString::fromUtf8(p[0]);
        const QString b = QString::fromUtf8(p[1]);
        if (a.toUtf8() == p[0] && b.toUtf8() == p[1]) {
            const int c = GreekText::compare(a, b);
            EXPECT_EQ(cmp(p[0], p[1]), (c > 0) - (c < 0)) << p[0].toHex().constData();
        }
    }
}
