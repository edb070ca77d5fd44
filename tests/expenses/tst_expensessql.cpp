// The expenses statements word for word as the SQL statement file holds them, and the typed
// years that may reach them.
#include "expensessql.h"
#include "testsupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

TEST(ExpensesSql, EveryStatementIsInTheStatementFileWordForWord)
{
    const QStringList corpus = TestSupport::corpusLines();
    ASSERT_FALSE(corpus.isEmpty()) << "sql-corpus.txt not found";
    const struct {
        const char *name;
        QString sql;
    } cases[] = {
        {"period list", ExpensesSql::periodList("#3/1/2008#", "#3/31/2008#")},
        {"period totals", ExpensesSql::periodTotals("#3/1/2008#", "#3/31/2008#")},
        {"month list", ExpensesSql::monthList("2007", "2008")},
        {"month totals", ExpensesSql::monthTotals("2007", "2008")},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(corpus.contains(c.sql)) << c.name << ": " << c.sql.toStdString();
}

TEST(ExpensesSql, TheDatesAreDoubleQuotedAndOrderHasTwoBlanksBeforeIt)
{
    EXPECT_TRUE(ExpensesSql::periodList("#1/1/2000#", "#1/2/2000#")
                    .startsWith("SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA"));
    EXPECT_TRUE(ExpensesSql::monthList("1", "2").contains(
        "YEAR(EKSODA.HMEROMHNIA) BETWEEN 1 AND 2 GROUP BY MONTH(EKSODA.HMEROMHNIA), "
        "YEAR(EKSODA.HMEROMHNIA)  ORDER BY"));
}

TEST(ExpensesSql, OnlyWholeYearsReachTheStatement)
{
    const struct {
        const char *typed;
        const char *expected;
    } cases[] = {
        {"2007", "2007"},   {" 2008 ", "2008"},     {"0", "0"},         {"02007", "ERROR"},
        {"0207", "207"},    {"", "ERROR"},          {"   ", "ERROR"},   {"abc", "ERROR"},
        {"20o7", "ERROR"},  {"2007 OR 1", "ERROR"}, {"-2007", "ERROR"}, {"2007.5", "ERROR"},
        {"2 007", "ERROR"}, {"٢٠٠٧", "ERROR"},      {"12345", "ERROR"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExpensesSql::year(QString::fromUtf8(c.typed)), QString::fromUtf8(c.expected))
            << "typed '" << c.typed << "'";
}
