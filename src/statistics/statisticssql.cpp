#include "statisticssql.h"

namespace StatisticsSql {

namespace {

// The amounts of a table per month, each distinct pair of amounts with its count.
QString amountsByMonth(const QString &table, const QString &from, const QString &to,
                       const QString &condition)
{
    return QStringLiteral("SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, POSO, VAT, "
                          "COUNT(*) AS PLHTHOS FROM %1 WHERE HMEROMHNIA BETWEEN %2 AND %3%4 "
                          "GROUP BY YEAR(HMEROMHNIA), MONTH(HMEROMHNIA), POSO, VAT")
        .arg(table, from, to, condition);
}

} // namespace

QString income(const QString &fromLiteral, const QString &toLiteral)
{
    return amountsByMonth(QStringLiteral("APODEIKSEIS"), fromLiteral, toLiteral,
                          QStringLiteral(" AND EGKYRH=TRUE"));
}

QString expenses(const QString &fromLiteral, const QString &toLiteral)
{
    return amountsByMonth(QStringLiteral("EKSODA"), fromLiteral, toLiteral, QString());
}

QString visits(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, "
                          "COUNT(*) AS PLHTHOS FROM EPISKEPSEIS WHERE HMEROMHNIA BETWEEN %1 AND %2 "
                          "GROUP BY YEAR(HMEROMHNIA), MONTH(HMEROMHNIA)")
        .arg(fromLiteral, toLiteral);
}

QString newPatients(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT YEAR(PRWTH) AS ETOS, MONTH(PRWTH) AS MHNAS, COUNT(*) AS PLHTHOS "
                          "FROM (SELECT ID, MIN(HMEROMHNIA) AS PRWTH FROM EPISKEPSEIS "
                          "WHERE ID IS NOT NULL AND HMEROMHNIA <= %2 GROUP BY ID) AS PRWTES "
                          "WHERE PRWTH BETWEEN %1 AND %2 GROUP BY YEAR(PRWTH), MONTH(PRWTH)")
        .arg(fromLiteral, toLiteral);
}

QString appointmentLinks(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT YEAR(HMEROMHNIA) AS ETOS, MONTH(HMEROMHNIA) AS MHNAS, "
                          "COUNT(*) AS PLHTHOS, SUM(CASE WHEN DEN_PROSHLTHE=TRUE THEN 1 ELSE 0 END) "
                          "AS APOUSIES FROM RANTEBOU_ASTHENH WHERE HMEROMHNIA BETWEEN %1 AND %2 "
                          "GROUP BY YEAR(HMEROMHNIA), MONTH(HMEROMHNIA)")
        .arg(fromLiteral, toLiteral);
}

} // namespace StatisticsSql
