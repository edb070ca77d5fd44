#include "dberror.h"
#include "dialect.h"
#include "greektext.h"
#include "sqltext.h"

#include <gtest/gtest.h>

using namespace SqlText;

TEST(ToSqlDate, WritesMonthDayYearWithoutLeadingZeros)
{
    EXPECT_EQ(ToSqlDate("28/03/2007"), "#3/28/2007#");
    EXPECT_EQ(ToSqlDate("1/1/1950"), "#1/1/1950#");
    EXPECT_EQ(ToSqlDate("31/12/1960"), "#12/31/1960#");
    EXPECT_EQ(ToSqlDate("29/02/2024"), "#2/29/2024#");
    EXPECT_EQ(ToSqlDate("  05/03/2026 "), "#3/5/2026#");
}

TEST(ToSqlDate, RefusesWhatIsNotADate)
{
    for (const char *bad : {"", "   ", "31/02/2008", "29/02/2023", "28.03.2007", "28-03-2007",
                            "32/1/2000", "1/13/2000", "abc", "28/03", "0/1/2000", "1/0/2000"})
        EXPECT_EQ(ToSqlDate(QString::fromUtf8(bad)), "ERROR") << bad;
}

TEST(ParseDate, TwoDigitYearsFallNearToday)
{
    const int thisYear = QDate::currentDate().year();
    const auto d = parseDate(QStringLiteral("1/1/%1").arg(thisYear % 100, 2, 10, QLatin1Char('0')));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->year(), thisYear);
}

TEST(IsSafeText, RefusesEachOfTheThirtyOneCharacters)
{
    int refused = 0;
    for (char16_t c = 32; c < 127; ++c) {
        const bool forbidden = (c >= 33 && c <= 46) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96)
            || (c >= 123 && c <= 126);
        const QString text = QStringLiteral("ΠΑΠ") + QChar(c) + QStringLiteral("ΑΣ");
        EXPECT_EQ(IsSafeText(text), !forbidden) << char(c);
        refused += forbidden ? 1 : 0;
    }
    EXPECT_EQ(refused, 31);
}

TEST(IsSafeText, PassesLettersDigitsBlanksSlashAndEmpty)
{
    EXPECT_TRUE(IsSafeText(""));
    EXPECT_TRUE(IsSafeText("   "));
    EXPECT_TRUE(IsSafeText("28/03/2007"));
    EXPECT_TRUE(IsSafeText(QStringLiteral("Παπαδόπουλος Γιώργος 12")));
    EXPECT_TRUE(IsSafeText(QStringLiteral("Ünïcödé « » € ·")));
    EXPECT_FALSE(IsSafeText("O'Brien"));
    EXPECT_FALSE(IsSafeText(QStringLiteral("Παπαδοπούλου-Νικολάου")));
}

TEST(Numbers, ShortestTextWithPoint)
{
    EXPECT_EQ(number(40), "40");
    EXPECT_EQ(number(23.41), "23.41");
    EXPECT_EQ(number(0.1 + 0.2), "0.3");
    EXPECT_EQ(number(-5.5), "-5.5");
    EXPECT_EQ(number(0), "0");
    EXPECT_EQ(number(1234567.891), "1234567.891");
}

TEST(Quoted, DoublesQuotes)
{
    EXPECT_EQ(quoted("O'Brien"), "'O''Brien'");
    EXPECT_EQ(quoted(""), "''");
}

TEST(GreekText, FoldIgnoresCaseAccentsAndFinalSigma)
{
    EXPECT_EQ(GreekText::fold(QStringLiteral("Παπαδόπουλος")), QStringLiteral("ΠΑΠΑΔΟΠΟΥΛΟΣ"));
    EXPECT_EQ(GreekText::fold(QStringLiteral("ΐΰάέήίόύώ")), QStringLiteral("ΙΥΑΕΗΙΟΥΩ"));
    EXPECT_TRUE(GreekText::like(QStringLiteral("παπ%"), QStringLiteral("ΠΑΠΑΔΟΠΟΥΛΟΣ")));
    EXPECT_TRUE(GreekText::like(QStringLiteral("ΠΑΠ%"), QStringLiteral("Παπαδόπουλος")));
    EXPECT_FALSE(GreekText::like(QStringLiteral("ΠΑΠ%"), QStringLiteral("ΑΠΑΠ")));
    EXPECT_TRUE(GreekText::like(QStringLiteral("%ΟΣ"), QStringLiteral("νίκος")));
    EXPECT_TRUE(GreekText::like(QStringLiteral("Ν_ΚΟΣ"), QStringLiteral("ΝΙΚΟΣ")));
    EXPECT_FALSE(GreekText::like(QStringLiteral("ΝΙΚΟ"), QStringLiteral("ΝΙΚΟΣ")));
}

TEST(GreekText, AlphabeticalOrder)
{
    // Ω after Ψ after Α; accented letters sort with their base letter; ς is σ.
    EXPECT_LT(GreekText::compare(QStringLiteral("Άλφα"), QStringLiteral("βήτα")), 0);
    EXPECT_LT(GreekText::compare(QStringLiteral("ψ"), QStringLiteral("Ω")), 0);
    EXPECT_LT(GreekText::compare(QStringLiteral("έλα"), QStringLiteral("Ζήτα")), 0);
    EXPECT_LT(GreekText::compare(QStringLiteral("ΑΣ"), QStringLiteral("ας ")), 0);
}

TEST(Dialect, TranslatesTheWindowsSql)
{
    EXPECT_EQ(Dialect::translate("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#"),
              "SELECT * FROM RANTEBOU WHERE HMEROMHNIA='2026-03-05'");
    EXPECT_EQ(Dialect::translate("UPDATE LAST_APODEIKSH SET [LAST]=[LAST]+1"),
              "UPDATE LAST_APODEIKSH SET \"LAST\"=\"LAST\"+1");
    EXPECT_EQ(
        Dialect::translate("SELECT Format(D,\"dd/mm/yyyy\") AS X FROM T ORDER BY X ASC, Y"),
        "SELECT Format(D,'dd/mm/yyyy') AS X FROM T ORDER BY X COLLATE GREEK ASC, Y COLLATE GREEK");
    EXPECT_EQ(Dialect::translate(
                  "SELECT 'a#b' FROM T WHERE N LIKE'ΠΑΠ%' ORDER BY YEAR(D), MONTH(D) ASC"),
              "SELECT 'a#b' FROM T WHERE N LIKE'ΠΑΠ%' ORDER BY YEAR(D) COLLATE GREEK, MONTH(D) "
              "COLLATE GREEK ASC");
    EXPECT_EQ(Dialect::translate("SELECT \"O'Brien\""), "SELECT 'O''Brien'");
    EXPECT_THROW(Dialect::translate("SELECT * FROM T WHERE D=#2/30/2026#"), DbError);
    // A date literal with anything but digits in a part is refused, not read up to the junk.
    for (const QString &junk : {QStringLiteral("#9/1/1") + QChar(0) + QStringLiteral("99#"),
                                QStringLiteral("#9/1x/2026#"), QStringLiteral("#+9/1/2026#"),
                                QStringLiteral("#9//2026#")})
        EXPECT_THROW(Dialect::translate(QStringLiteral("SELECT ") + junk), DbError)
            << junk.toStdString();
    EXPECT_EQ(Dialect::translate("SELECT # 3 / 5 / 2026 #"), "SELECT '2026-03-05'");
    EXPECT_THROW(Dialect::translate("SELECT 'open"), DbError);
}

TEST(Dialect, ANulInsideAValueReachesTheEngineWhole)
{
    const QString value = QStringLiteral("πριν") + QChar(0) + QStringLiteral("O'Brien") + QChar(0);
    const QString sql = Dialect::translate("SELECT " + SqlText::quoted(value) + " AS X");
    EXPECT_FALSE(sql.contains(QChar(0)));
    EXPECT_EQ(sql, "SELECT ('πριν'||char(0)||'O''Brien'||char(0)||'') AS X");
}
