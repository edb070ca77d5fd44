#pragma once

#include <QString>
#include <QStringList>

// The texts of the statistics window and of its printout, as the person reads them.
namespace StatisticsTexts {

inline const QString kCaption = QStringLiteral("Στατιστικά");
inline const QString kYear = QStringLiteral("Έ&τος:");
inline const QString kEndMonth = QStringLiteral("Έως τον &μήνα:");
inline const QString kPeriodHint
    = QStringLiteral("Τα γραφήματα δείχνουν τους 12 μήνες που τελειώνουν με τον μήνα που "
                     "επιλέξατε, δίπλα στους ίδιους μήνες του προηγούμενου έτους.");
inline const QString kPrint = QStringLiteral("Εκτύ&πωση");
inline const QString kExport = QStringLiteral("Ε&ξαγωγή");

inline const QStringList kMonths = {
    QStringLiteral("Ιανουάριος"), QStringLiteral("Φεβρουάριος"), QStringLiteral("Μάρτιος"),
    QStringLiteral("Απρίλιος"),   QStringLiteral("Μάιος"),       QStringLiteral("Ιούνιος"),
    QStringLiteral("Ιούλιος"),    QStringLiteral("Αύγουστος"),   QStringLiteral("Σεπτέμβριος"),
    QStringLiteral("Οκτώβριος"),  QStringLiteral("Νοέμβριος"),   QStringLiteral("Δεκέμβριος"),
};
inline const QStringList kShortMonths = {
    QStringLiteral("Ιαν"), QStringLiteral("Φεβ"), QStringLiteral("Μαρ"), QStringLiteral("Απρ"),
    QStringLiteral("Μάι"), QStringLiteral("Ιουν"), QStringLiteral("Ιουλ"), QStringLiteral("Αυγ"),
    QStringLiteral("Σεπ"), QStringLiteral("Οκτ"), QStringLiteral("Νοε"), QStringLiteral("Δεκ"),
};

// Chart titles
inline const QString kIncomeTitle = QStringLiteral("Έσοδα ανά μήνα (αποδείξεις σε ισχύ)");
inline const QString kExpensesTitle = QStringLiteral("Έξοδα και έσοδα ανά μήνα (χωρίς Φ.Π.Α)");
inline const QString kVisitsTitle = QStringLiteral("Επισκέψεις και νέοι ασθενείς ανά μήνα");
inline const QString kAppointmentsTitle
    = QStringLiteral("Ραντεβού με ασθενή και απουσίες ανά μήνα");
// Tab captions
inline const QString kIncomeTab = QStringLiteral("Έσοδα");
inline const QString kExpensesTab = QStringLiteral("Έξοδα και καθαρό");
inline const QString kVisitsTab = QStringLiteral("Επισκέψεις");
inline const QString kAppointmentsTab = QStringLiteral("Ραντεβού");
inline const QString kNoAppointmentLinks
    = QStringLiteral("Το βιβλίο ραντεβού δεν έχει ακόμη ραντεβού συνδεδεμένα με ασθενείς.");

// Table columns and series
inline const QString kMonth = QStringLiteral("Μήνας");
inline const QString kTotal = QStringLiteral("Σύνολο");
inline const QString kAmount = QStringLiteral("Ποσό %1 (EUR)");
inline const QString kVat = QStringLiteral("Φ.Π.Α %1 (EUR)");
inline const QString kIncome = QStringLiteral("Έσοδα (EUR)");
inline const QString kExpenses = QStringLiteral("Έξοδα (EUR)");
inline const QString kNet = QStringLiteral("Καθαρό (EUR)");
inline const QString kVisits = QStringLiteral("Επισκέψεις %1");
inline const QString kNewPatients = QStringLiteral("Νέοι ασθενείς %1");
inline const QString kLinkedSlots = QStringLiteral("Ραντεβού %1");
inline const QString kNoShows = QStringLiteral("Δεν προσήλθαν %1");
// Series names in the charts
inline const QString kSeriesAmount = QStringLiteral("Ποσό %1");
inline const QString kSeriesVat = QStringLiteral("Φ.Π.Α %1");
inline const QString kSeriesIncome = QStringLiteral("Έσοδα");
inline const QString kSeriesExpenses = QStringLiteral("Έξοδα");
inline const QString kSeriesNet = QStringLiteral("Καθαρό");
inline const QString kSeriesVisits = QStringLiteral("Επισκέψεις");
inline const QString kSeriesNewPatients = QStringLiteral("Νέοι ασθενείς");
inline const QString kSeriesLinkedSlots = QStringLiteral("Ραντεβού με ασθενή");
inline const QString kSeriesNoShows = QStringLiteral("Δεν προσήλθαν");

// Figures under the charts: what, this period's value, the previous period's value and the
// change ("+12,5 %", or "χωρίς σύγκριση" when the previous period had nothing).
inline const QString kFigure = QStringLiteral("%1: %2 (πέρσι %3, %4)");
inline const QString kNoComparison = QStringLiteral("χωρίς σύγκριση");
inline const QString kEuro = QStringLiteral("%1 EUR");
inline const QString kFigureIncome = QStringLiteral("Έσοδα χωρίς Φ.Π.Α");
inline const QString kFigureIncomeVat = QStringLiteral("Φ.Π.Α εσόδων");
inline const QString kFigureIncomeTotal = QStringLiteral("Έσοδα με Φ.Π.Α");
inline const QString kFigureExpenses = QStringLiteral("Έξοδα χωρίς Φ.Π.Α");
inline const QString kFigureNet = QStringLiteral("Καθαρό αποτέλεσμα");
inline const QString kFigureExpenseShare = QStringLiteral("Τα έξοδα είναι το %1 των εσόδων");
inline const QString kFigureVisits = QStringLiteral("Επισκέψεις");
inline const QString kFigureNewPatients = QStringLiteral("Νέοι ασθενείς");
inline const QString kFigureLinkedSlots = QStringLiteral("Ραντεβού με ασθενή");
inline const QString kFigureNoShows = QStringLiteral("Δεν προσήλθαν");
inline const QString kFigureNoShowShare = QStringLiteral("Απουσίες: %1 των ραντεβού");

// Printout and export
inline const QString kPrintTitle = QStringLiteral("Στατιστικά του ιατρείου");
inline const QString kPrintPeriod = QStringLiteral("Περίοδος %1, σύγκριση με %2");
inline const QString kPrintFooter = QStringLiteral("Εκτύπωση %1 - σελίδα {page} από {pages}");
inline const QString kExportSheet = QStringLiteral("Στατιστικά");
inline const QString kExportFileName = QStringLiteral("Στατιστικά %1.csv");
inline const QString kExportYear = QStringLiteral("Έτος");
inline const QString kExportMonth = QStringLiteral("Μήνας");
inline const QString kExportIncome = QStringLiteral("Έσοδα (EUR)");
inline const QString kExportIncomeVat = QStringLiteral("Φ.Π.Α εσόδων (EUR)");
inline const QString kExportExpenses = QStringLiteral("Έξοδα (EUR)");
inline const QString kExportExpensesVat = QStringLiteral("Φ.Π.Α εξόδων (EUR)");
inline const QString kExportNet = QStringLiteral("Καθαρό (EUR)");
inline const QString kExportVisits = QStringLiteral("Επισκέψεις");
inline const QString kExportNewPatients = QStringLiteral("Νέοι ασθενείς");
inline const QString kExportLinkedSlots = QStringLiteral("Ραντεβού με ασθενή");
inline const QString kExportNoShows = QStringLiteral("Δεν προσήλθαν");
inline const QString kExportTotal = QStringLiteral("Σύνολο %1");

} // namespace StatisticsTexts
