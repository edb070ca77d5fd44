// The statistics' arithmetic and texts without a database: changes and shares in per cent,
// the periods and their bounds, the gridlines, which months a result row lands in, and the
// statements word for word in the SQL statement file.
#include "chartdata.h"
#include "connection.h"
#include "dberror.h"
#include "program.h"
#include "recordset.h"
#include "statisticsfigures.h"
#include "statisticsfixture.h"
#include "statisticssql.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using StatisticsFixture::shown;

TEST(StatisticsFigures, ChangesAndSharesInPerCentExactToATenth)
{
    const struct {
        const char *now;
        const char *before;
        const char *change;
    } amounts[] = {
        {"185.51", "70", "+165.0 %"},
        {"70", "70", "0.0 %"},
        {"0", "70", "-100.0 %"},
        {"1", "0", "χωρίς σύγκριση"},
        {"0", "0", "χωρίς σύγκριση"},
        // -23500 - (-8000) = -15500 cents over 8000: -193.75, an exact half away from zero.
        {"-234.995", "-80", "-193.8 %"},
        // 10.005 is 10.01 as shown, a tenth of a per cent above 10.
        {"10.005", "10", "+0.1 %"},
        {"10.004", "10", "0.0 %"},
        // Amounts that a binary double cannot hold, far apart.
        {"1234567890123.45", "0.01", "+12345678901234400.0 %"},
    };
    for (const auto &a : amounts) {
        const Decimal now = *Decimal::read(QString::fromLatin1(a.now), QLatin1Char('.'));
        const Decimal before = *Decimal::read(QString::fromLatin1(a.before), QLatin1Char('.'));
        EXPECT_EQ(StatisticsFigures::change(now, before), shown(QString::fromUtf8(a.change)))
            << a.now << " against " << a.before;
    }
    EXPECT_EQ(StatisticsFigures::change(7, 3), shown("+133.3 %"));
    EXPECT_EQ(StatisticsFigures::change(1, 3), shown("-66.7 %"));
    EXPECT_EQ(StatisticsFigures::change(2, 3), shown("-33.3 %"));
    EXPECT_EQ(StatisticsFigures::share(Decimal(2), Decimal(4)), shown("50.0 %"));
    EXPECT_EQ(StatisticsFigures::share(Decimal(1), Decimal(3)), shown("33.3 %"));
    EXPECT_EQ(StatisticsFigures::share(Decimal(5), Decimal(0)), "-");
    EXPECT_EQ(StatisticsFigures::amountText(Decimal(-234995, 3)), shown("-235.00"));
    EXPECT_EQ(StatisticsFigures::amountText(Decimal()), shown("0.00"));
}

TEST(StatisticsFigures, PeriodsOfTwelveMonthsAndTheTwelveBefore)
{
    const struct {
        int year, endMonth;
        const char *now, *before, *from, *to, *firstMonth;
    } cases[] = {
        {2025, 12, "2025", "2024", "#1/1/2024#", "#12/31/2025#", "Ιανουάριος 2025"},
        {2025, 3, "4/2024 - 3/2025", "4/2023 - 3/2024", "#4/1/2023#", "#3/31/2025#",
         "Απρίλιος 2024"},
        {2024, 2, "3/2023 - 2/2024", "3/2022 - 2/2023", "#3/1/2022#", "#2/29/2024#",
         "Μάρτιος 2023"},
        {2025, 0, "2025", "2024", "#1/1/2024#", "#12/31/2025#", "Ιανουάριος 2025"},
        {2025, 13, "2025", "2024", "#1/1/2024#", "#12/31/2025#", "Ιανουάριος 2025"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1/%2").arg(c.endMonth).arg(c.year).toStdString());
        const PracticeStatistics s(c.year, c.endMonth);
        EXPECT_EQ(s.periodName(PracticeStatistics::Current), QLatin1String(c.now));
        EXPECT_EQ(s.periodName(PracticeStatistics::Previous), QLatin1String(c.before));
        EXPECT_EQ(s.fromLiteral(), QLatin1String(c.from));
        EXPECT_EQ(s.toLiteral(), QLatin1String(c.to));
        EXPECT_EQ(StatisticsFigures::monthLabel(s.monthStart(PracticeStatistics::Current, 0)),
                  QString::fromUtf8(c.firstMonth));
    }
}

TEST(StatisticsFigures, GridlinesAreRoundAndHoldTheRange)
{
    const struct {
        double low, high;
        QList<double> ticks;
    } cases[] = {
        {0, 0, {0, 1}},
        {0, 185.5, {0, 50, 100, 150, 200}},
        {-300, 80, {-300, -200, -100, 0, 100}},
        {0, 3, {0, 1, 2, 3}},
        {0, 7, {0, 2, 4, 6, 8}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChartDataOf::ticks(c.low, c.high), c.ticks) << c.low << ".." << c.high;
}

TEST(StatisticsFigures, RowsOutsideTheTwoPeriodsAreLeftOut)
{
    TestSupport::TempPractice practice;
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    Query rows(connection);
    // Months from a result as an engine gives them: some inside, some just outside.
    rows.setSql(QStringLiteral(
        "SELECT 2023 AS ETOS, 12 AS MHNAS, 5 AS POSO, 1 AS VAT, 2 AS PLHTHOS UNION ALL "
        "SELECT 2024, 1, 10.005, 2.4, 3 UNION ALL SELECT 2025, 12, 0.1, 0, 10 UNION ALL "
        "SELECT 2026, 1, 7, 0, 1 UNION ALL SELECT 2025, 13, 7, 0, 1"));
    rows.open();
    PracticeStatistics s(2025, 12);
    s.add(PracticeStatistics::Source::Income, rows);
    EXPECT_EQ(StatisticsFigures::amountText(s.total(PracticeStatistics::Previous).income),
              shown("30.02"));
    EXPECT_EQ(s.month(PracticeStatistics::Previous, 0).income, Decimal(30015, 3));
    EXPECT_EQ(s.month(PracticeStatistics::Current, 11).income, Decimal(1));
    EXPECT_EQ(s.total(PracticeStatistics::Current).income, Decimal(1));
    // A result without the statement's columns is refused, not read as zeros.
    EXPECT_THROW(s.add(PracticeStatistics::Source::AppointmentLinks, rows), DbError);
}

TEST(StatisticsFigures, EveryStatementIsInTheStatementFileWordForWord)
{
    const QStringList corpus = TestSupport::corpusLines();
    ASSERT_FALSE(corpus.isEmpty()) << "sql-corpus.txt not found";
    const QString from = QStringLiteral("#1/1/2007#"), to = QStringLiteral("#12/31/2026#");
    for (const QString &sql :
         {StatisticsSql::income(from, to), StatisticsSql::expenses(from, to),
          StatisticsSql::visits(from, to), StatisticsSql::newPatients(from, to),
          StatisticsSql::appointmentLinks(from, to)})
        EXPECT_TRUE(corpus.contains(sql)) << sql.toStdString();
}
