#include "patientsql.h"
#include "testsupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

TEST(PatientSql, ListTextsAreThoseTheOtherWindowsAndTheLayerExpect)
{
    const QStringList lines = TestSupport::corpusLines();
    ASSERT_FALSE(lines.isEmpty()) << "sql-corpus.txt not found";
    // The initials are trimmed and nothing else: no blank between LIKE and the quote.
    const auto surname = PatientSql::bySurname(QStringLiteral("  ΠΑΠ  "));
    EXPECT_TRUE(lines.contains(surname.sql)) << surname.sql.toStdString();
    EXPECT_EQ(surname.filter, QStringLiteral("WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC"));
    EXPECT_TRUE(
        surname.sql.endsWith(QStringLiteral(" WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC")));

    const auto dates
        = PatientSql::byBirthDate(QStringLiteral("#1/1/1950#"), QStringLiteral("#12/31/1960#"));
    EXPECT_TRUE(lines.contains(dates.sql)) << dates.sql.toStdString();
    EXPECT_EQ(dates.filter,
              QStringLiteral(" WHERE HMEROMHNIA_GENNHSEWS BETWEEN #1/1/1950# AND "
                             "#12/31/1960# ORDER BY EPWNYMO ASC"));

    const auto all = PatientSql::allPatients();
    EXPECT_TRUE(lines.contains(all.sql)) << all.sql.toStdString();
    EXPECT_TRUE(all.filter.isEmpty());

    // The printouts append the tail to SELECT texts that end in a blank.
    EXPECT_TRUE(lines.contains(QStringLiteral("SELECT * FROM STOIXEIA_PELATH ") + dates.filter));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, "
                                      "THLEFWNO_1, THLEFWNO_2, DIEYTHYNSH, EPAGGELMA, "
                                      "TAMEIO FROM STOIXEIA_PELATH ")
                       + surname.filter));
}

TEST(PatientSql, OnePatientTexts)
{
    const QStringList lines = TestSupport::corpusLines();
    ASSERT_FALSE(lines.isEmpty());
    for (const QString &sql :
         {PatientSql::patientData(QStringLiteral("7")),
          PatientSql::healthRecord(QStringLiteral("7")), PatientSql::visits(QStringLiteral("7"))})
        EXPECT_TRUE(lines.contains(sql)) << sql.toStdString();
}

TEST(PatientSql, OnlyAWholeNumberReachesTheIdCondition)
{
    EXPECT_TRUE(
        PatientSql::healthRecord(QStringLiteral(" 12 ")).endsWith(QStringLiteral("WHERE ID=12")));
    EXPECT_TRUE(
        PatientSql::patientData(QStringLiteral("7 OR 1=1")).endsWith(QStringLiteral("WHERE ID=0")));
    EXPECT_TRUE(PatientSql::visits(QStringLiteral("7;DELETE FROM EPISKEPSEIS"))
                    .endsWith(QStringLiteral("WHERE ID=0 ORDER BY HMEROMHNIA ASC")));
}
