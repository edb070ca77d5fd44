#pragma once

#include <QString>

// What the windows' shared kit says to the person, gathered in one place.
namespace WidgetTexts {

// After a failure that wrote nothing because the server went: what the person can do.
inline const QString kTypedStays
    = QStringLiteral("Ό,τι γράψατε παραμένει στο παράθυρο· αποθηκεύστε ξανά όταν "
                     "αποκατασταθεί η σύνδεση.");

// A window closed while a registration's outcome is still unknown (the server does not answer).
inline const QString kClosedUnknown
    = QStringLiteral("Δεν είναι ακόμη γνωστό αν η τελευταία καταχώρηση ολοκληρώθηκε, γιατί ο "
                     "διακομιστής της βάσης δεδομένων δεν απαντά.\n"
                     "Όταν αποκατασταθεί η σύνδεση, δείτε αν υπάρχει πριν τη γράψετε ξανά.");

} // namespace WidgetTexts
