#pragma once

#include <QString>

// The SQL texts behind the statistics window, composed exactly as the window runs them, one
// row per month (ETOS, MHNAS) between two SQL date literals ("#1/1/2025#"), both included.
// The months are grouped by YEAR() and MONTH(), which both engines know (registered on the
// file's connections, created as functions on a server).
//
// Amounts are not summed by the engines, which add binary doubles: each month comes with its
// distinct amounts and how many rows carry each (PLHTHOS), and the window multiplies and adds
// them as exact decimals. A practice charges a handful of fees, so a month has few such rows.
namespace StatisticsSql {

// Receipts in force (EGKYRH=TRUE): POSO and VAT, each distinct pair with its count.
QString income(const QString &fromLiteral, const QString &toLiteral);
// Operating expenses: POSO and VAT, each distinct pair with its count.
QString expenses(const QString &fromLiteral, const QString &toLiteral);
// The number of visits.
QString visits(const QString &fromLiteral, const QString &toLiteral);
// The number of patients whose first visit ever falls in the month.
QString newPatients(const QString &fromLiteral, const QString &toLiteral);
// Appointment slots linked to a patient (RANTEBOU_ASTHENH), and how many of those the patient
// did not come to (APOUSIES).
QString appointmentLinks(const QString &fromLiteral, const QString &toLiteral);

} // namespace StatisticsSql
