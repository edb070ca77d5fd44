#pragma once

#include <QString>

// What the person reads about appointment reminders.
namespace ReminderTexts {

inline const QString kSettingsEntry = QStringLiteral("Υπενθυμίσεις ραντεβού…");
inline const QString kSettingsCaption = QStringLiteral("Υπενθυμίσεις ραντεβού");

// The fields of the message templates.
inline const QString kFieldName = QStringLiteral("{ονοματεπώνυμο}");
inline const QString kFieldDate = QStringLiteral("{ημερομηνία}");
inline const QString kFieldTime = QStringLiteral("{ώρα}");
inline const QString kFieldPractice = QStringLiteral("{ιατρείο}");
inline const QString kFieldAddress = QStringLiteral("{διεύθυνση}");
inline const QString kFieldPhone = QStringLiteral("{τηλέφωνο}");
// The fields of the SMS provider's request.
inline const QString kFieldNumber = QStringLiteral("{αριθμός}");
inline const QString kFieldText = QStringLiteral("{μήνυμα}");
inline const QString kFieldKey = QStringLiteral("{κλειδί}");

inline const QString kDefaultSubject
    = QStringLiteral("Υπενθύμιση ραντεβού: {ημερομηνία}, {ώρα}");
inline const QString kDefaultMessage = QStringLiteral(
    "Αγαπητέ/ή {ονοματεπώνυμο}, σας υπενθυμίζουμε το ραντεβού σας στο {ιατρείο} την "
    "{ημερομηνία} και ώρα {ώρα}. Διεύθυνση: {διεύθυνση}. Για αλλαγή ή ακύρωση καλέστε στο "
    "{τηλέφωνο}.");

// States of a reminder as the patient file shows them.
inline const QString kStateWaiting = QStringLiteral("Σε αναμονή");
inline const QString kStateInFlight = QStringLiteral("Στέλνεται");
inline const QString kStateSent = QStringLiteral("Στάλθηκε");
inline const QString kStateUncertain = QStringLiteral("Αβέβαιο αν στάλθηκε");
inline const QString kStateFailed = QStringLiteral("Απορρίφθηκε");
inline const QString kStateExpired = QStringLiteral("Δεν στάλθηκε εγκαίρως");

inline const QString kChannelEmail = QStringLiteral("Email");
inline const QString kChannelSms = QStringLiteral("SMS");

// What a sending run tells the person.
inline const QString kMailLoginRefused = QStringLiteral(
    "Ο διακομιστής email δεν δέχτηκε το όνομα χρήστη ή τον κωδικό για τις υπενθυμίσεις "
    "ραντεβού. Οι υπενθυμίσεις περιμένουν: διορθώστε τα στις «Ρυθμίσεις», «Υπενθυμίσεις "
    "ραντεβού…».");
inline const QString kSmsLoginRefused = QStringLiteral(
    "Η υπηρεσία SMS δεν δέχτηκε το κλειδί για τις υπενθυμίσεις ραντεβού. Οι υπενθυμίσεις "
    "περιμένουν: διορθώστε το στις «Ρυθμίσεις», «Υπενθυμίσεις ραντεβού…».");
inline const QString kUncertain = QStringLiteral(
    "Δεν είναι γνωστό αν έφτασε η υπενθύμιση του ραντεβού της %1 στον/στην %2 (%3): η "
    "αποστολή διακόπηκε. Δεν θα σταλεί ξανά αυτόματα· αν χρειάζεται, ειδοποιήστε τον/την "
    "ασθενή αλλιώς.");
inline const QString kNoPassword = QStringLiteral(
    "Δεν βρέθηκε ο κωδικός του email των υπενθυμίσεων στην κλειδοθήκη αυτού του υπολογιστή. "
    "Γράψτε τον στις «Ρυθμίσεις», «Υπενθυμίσεις ραντεβού…».");
inline const QString kNoSmsKey = QStringLiteral(
    "Δεν βρέθηκε το κλειδί της υπηρεσίας SMS στην κλειδοθήκη αυτού του υπολογιστή. Γράψτε το "
    "στις «Ρυθμίσεις», «Υπενθυμίσεις ραντεβού…».");

} // namespace ReminderTexts
