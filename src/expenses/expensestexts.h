#pragma once

#include <QString>

// The texts of the expenses windows.
namespace ExpensesTexts {

inline const QString kEditCaption = QStringLiteral("Λειτουργικά έξοδα - Επεξεργασία");
inline const QString kPeriodCaption = QStringLiteral("Λειτουργικά έξοδα - Αναλυτική έρευνα");
inline const QString kMonthCaption = QStringLiteral("Λειτουργικά έξοδα - Κατά μήνα");

inline const QString kEuroMark = QStringLiteral("EUR *");
inline const QString kStar = QStringLiteral("*");
inline const QString kEditSort = QStringLiteral("HMEROMHNIA DESC");

inline const QString kFromDate = QStringLiteral("Από:");
inline const QString kToDate = QStringLiteral("Μέχρι:");
inline const QString kFromDateTip
    = QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/03/2007)");
inline const QString kToDateTip
    = QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/12/2007)");
inline const QString kFromYear = QStringLiteral("Από το έτος:");
inline const QString kToYear = QStringLiteral("Μέχρι το έτος:");
inline const QString kFromYearTip = QStringLiteral("(π.χ 2000)");
inline const QString kToYearTip = QStringLiteral("(π.χ 2007)");

// The period window's find button begins with a Latin capital E, the month window's with a
// Greek one; both are the window's own captions.
inline const QString kPeriodFind = QStringLiteral("Eύ&ρεση");
inline const QString kMonthFind = QStringLiteral("Εύ&ρεση");
inline const QString kPrint = QStringLiteral("Εκτύ&πωση");

inline const QString kTotals = QStringLiteral("Ολικά ποσά");
inline const QString kTotalValue = QStringLiteral("Αξία (EUR):");
inline const QString kTotalVat = QStringLiteral("Φ.Π.Α (EUR):");
inline const QString kTotalSum = QStringLiteral("Αξία + Φ.Π.Α (EUR):");

inline const QString kBadCriteria = QStringLiteral("Λανθασμένα κριτήρια.");
inline const QString kError = QStringLiteral("ERROR");

inline const QString kPeriodLayout = QStringLiteral("\\EKSODA1.RAV");
inline const QString kMonthLayout = QStringLiteral("\\EKSODA2.RAV");
inline const QString kPeriodListConnection = QStringLiteral("RvDataSetConnection3");
inline const QString kPeriodTotalsConnection = QStringLiteral("RvDataSetConnection4");
inline const QString kMonthListConnection = QStringLiteral("RvDataSetConnection5");
inline const QString kMonthTotalsConnection = QStringLiteral("RvDataSetConnection6");

} // namespace ExpensesTexts
