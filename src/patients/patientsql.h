#pragma once

#include <QString>

// The SQL texts of the patient windows, composed exactly as the windows run them.
namespace PatientSql {

// What the find window hands the patient list: the complete SELECT, and its tail after the
// table name (WHERE and ORDER BY), which the printouts append to their own SELECT texts.
struct ListQuery {
    QString filter;
    QString sql;
};

// Patients whose surname begins with the given letters (trimmed here, otherwise unchanged).
// The caller lets only safe text (SqlText::IsSafeText) reach this.
ListQuery bySurname(const QString &initials);
// Patients born between two SQL date literals ("#1/1/1950#"), both included.
ListQuery byBirthDate(const QString &fromLiteral, const QString &toLiteral);
// Every patient.
ListQuery allPatients();

// The basic details of one patient, for the patient data window.
QString patientData(const QString &patientId);
// The whole row of one patient, for the health record.
QString healthRecord(const QString &patientId);
// One patient's visits, oldest first.
QString visits(const QString &patientId);

} // namespace PatientSql
