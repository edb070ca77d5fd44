#include "patientsql.h"

namespace PatientSql {

namespace {
const QString kListSelect = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH");
const QString kBySurname = QStringLiteral(" ORDER BY EPWNYMO ASC");

// The ID goes into the SQL text unquoted, so only a whole number may reach it; anything else
// (never produced by the windows, which pass the row's own ID) selects no row.
QString idText(const QString &patientId)
{
    bool ok = false;
    const qlonglong id = patientId.trimmed().toLongLong(&ok);
    return QString::number(ok ? id : 0);
}
} // namespace

ListQuery bySurname(const QString &initials)
{
    // No blank between LIKE and the quote: the texts are kept as the printouts expect them.
    const QString filter = QStringLiteral("WHERE EPWNYMO LIKE'") + initials.trimmed()
        + QStringLiteral("%") + QStringLiteral("'") + kBySurname;
    return {filter, kListSelect + QLatin1Char(' ') + filter};
}

ListQuery byBirthDate(const QString &fromLiteral, const QString &toLiteral)
{
    // This tail begins with a blank; the surname one does not.
    const QString filter = QStringLiteral(" WHERE HMEROMHNIA_GENNHSEWS BETWEEN ") + fromLiteral
        + QStringLiteral(" AND ") + toLiteral + kBySurname;
    return {filter, kListSelect + filter};
}

ListQuery allPatients()
{
    return {QString(), kListSelect + kBySurname};
}

QString patientData(const QString &patientId)
{
    return QStringLiteral(
               "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,DIEYTHYNSH,THLEFWNO_1,")
        + QStringLiteral("THLEFWNO_2,EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH WHERE ID=")
        + idText(patientId);
}

QString healthRecord(const QString &patientId)
{
    return QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE ID=") + idText(patientId);
}

QString visits(const QString &patientId)
{
    return QStringLiteral("select ID AS ID,HMEROMHNIA AS HMEROMHNIA,AITIA AS AITIA,PERIGRAFH AS "
                          "PERIGRAFH from EPISKEPSEIS WHERE ID=")
        + idText(patientId) + QStringLiteral(" ORDER BY HMEROMHNIA ASC");
}

} // namespace PatientSql
