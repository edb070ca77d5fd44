#pragma once

#include <QString>

// What the database layer says to the person in its own words, gathered in one place.
namespace DbTexts {

// A session with the server that went: the fact only. What it means for what was being written
// follows it, and what the person can do is said where the failure is shown.
inline const QString kLost
    = QStringLiteral("Η σύνδεση με τον διακομιστή της βάσης δεδομένων χάθηκε.");
// The transaction under way went with the session: nothing of it was written.
inline const QString kNotWritten
    = QStringLiteral("Ό,τι γραφόταν εκείνη τη στιγμή δεν αποθηκεύτηκε.");
// The answer to a commit was lost: the server may have written it before it went.
inline const QString kCommitUnknown
    = QStringLiteral("Χάθηκε την ώρα που ολοκληρωνόταν μια αποθήκευση· δεν είναι γνωστό αν "
                     "ολοκληρώθηκε.");

// A new record whose commit answer was lost, and the server still cannot be reached to look
// it up: the record stays in the window, and the next save looks it up before writing.
inline const QString kRegistrationUnknown
    = QStringLiteral("Η σύνδεση με τον διακομιστή της βάσης δεδομένων χάθηκε την ώρα της "
                     "καταχώρησης και δεν είναι ακόμη γνωστό αν η καταχώρηση ολοκληρώθηκε.\n"
                     "Ό,τι γράψατε παραμένει στο παράθυρο. Όταν αποκατασταθεί η σύνδεση, "
                     "πατήστε ξανά αποθήκευση: θα ελεγχθεί πρώτα αν η καταχώρηση έγινε, ώστε να "
                     "μη γραφτεί δύο φορές.");

} // namespace DbTexts
