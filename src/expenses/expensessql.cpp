#include "expensessql.h"

namespace ExpensesSql {

namespace {

const QString kPeriodWhere
    = QStringLiteral(" FROM EKSODA WHERE EKSODA.HMEROMHNIA Between %1 AND %2");
const QString kYearsWhere
    = QStringLiteral(" FROM EKSODA WHERE YEAR(EKSODA.HMEROMHNIA) BETWEEN %1 AND %2");

} // namespace

QString periodList(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, "
                          "Format(EKSODA.POSO,'0.00') AS AKSIA, Format(EKSODA.VAT,'0.00') AS VAT"
                          ", Format((EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO, EKSODA.PERIGRAFH")
        + kPeriodWhere.arg(fromLiteral, toLiteral)
        + QStringLiteral(" ORDER BY EKSODA.HMEROMHNIA ASC");
}

QString periodExport(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT EKSODA.HMEROMHNIA AS HMEROMHNIA, EKSODA.PERIGRAFH AS PERIGRAFH, "
                          "EKSODA.POSO AS POSO, EKSODA.VAT AS VAT, "
                          "(EKSODA.POSO+EKSODA.VAT) AS SYNOLO")
        + kPeriodWhere.arg(fromLiteral, toLiteral)
        + QStringLiteral(" ORDER BY EKSODA.HMEROMHNIA ASC");
}

QString periodTotals(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, "
                          "Format(SUM(EKSODA.VAT),'0.00') AS VAT"
                          ", Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO")
        + kPeriodWhere.arg(fromLiteral, toLiteral);
}

QString monthList(const QString &fromYear, const QString &toYear)
{
    return QStringLiteral("SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], "
                          "YEAR(EKSODA.HMEROMHNIA) AS [YEAR], "
                          "Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,"
                          "Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                          "Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO")
        + kYearsWhere.arg(fromYear, toYear)
        + QStringLiteral(" GROUP BY MONTH(EKSODA.HMEROMHNIA), YEAR(EKSODA.HMEROMHNIA)  "
                         "ORDER BY YEAR(EKSODA.HMEROMHNIA), MONTH(EKSODA.HMEROMHNIA) ASC");
}

QString monthTotals(const QString &fromYear, const QString &toYear)
{
    return QStringLiteral("SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,"
                          "Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                          "Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO")
        + kYearsWhere.arg(fromYear, toYear);
}

QString year(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty() || text.size() > 4)
        return QStringLiteral("ERROR");
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QStringLiteral("ERROR");
    }
    return QString::number(text.toInt());
}

} // namespace ExpensesSql
