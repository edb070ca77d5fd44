#pragma once

#include <QString>
#include <QStringList>

// The texts of the receipt and payment windows: captions, labels, buttons and messages, as the
// person reads them.
namespace BillingTexts {

// Receipt window
inline const QString kReceiptCaption = QStringLiteral("Έκδοση απόδειξης");
inline const QString kFirstName = QStringLiteral("Όνομα:");
inline const QString kSurname = QStringLiteral("Επώνυμο:");
inline const QString kReceiptNumber = QStringLiteral("Αριθμός απόδειξης:");
inline const QString kAmount = QStringLiteral("Ποσό:");
inline const QString kAmountMark = QStringLiteral("* EUR");
inline const QString kDescription = QStringLiteral("Περιγραφή:");
inline const QString kFund = QStringLiteral("Ταμείο:");
inline const QString kRegister = QStringLiteral("Κατα&χώρηση");
inline const QString kNotAccepted = QStringLiteral("Μη αποδεκτή τιμή");
inline const QString kNotRegistered = QStringLiteral("Η καταχώρηση δεν έγινε");
// The database refused the write: what the engine said goes under it.
inline QString notRegisteredBecause(const QString &engineMessage)
{
    return kNotRegistered + QLatin1Char('\r') + engineMessage;
}
// The answer to the registration's commit was lost and the server still cannot be reached:
// nobody can yet tell whether the receipt was issued. What was typed stays, and the next press
// looks the receipt up before it issues anything.
inline const QString kOutcomeUnknown
    = QStringLiteral("Η σύνδεση με τον διακομιστή της βάσης δεδομένων χάθηκε την ώρα της "
                     "καταχώρησης και δεν είναι ακόμη γνωστό αν η απόδειξη καταχωρήθηκε.\r"
                     "Τα στοιχεία που γράψατε παραμένουν. Όταν αποκατασταθεί η σύνδεση, πατήστε "
                     "ξανά «Καταχώρηση»: θα ελεγχθεί πρώτα αν η απόδειξη έχει ήδη καταχωρηθεί, "
                     "ώστε να μην εκδοθεί δεύτερη φορά.");
// The same, when the window is closed before the server answers again.
inline const QString kClosedOutcomeUnknown
    = QStringLiteral("Δεν είναι ακόμη γνωστό αν η απόδειξη καταχωρήθηκε, γιατί ο διακομιστής "
                     "της βάσης δεδομένων δεν απαντά.\r"
                     "Όταν αποκατασταθεί η σύνδεση, δείτε τις «Αποδείξεις που εκδόθηκαν» πριν "
                     "την εκδώσετε ξανά.");
// Looked up before a change or the window's closing: the receipt had been issued.
inline QString foundRegistered(qint64 number)
{
    return QStringLiteral("Η απόδειξη με αριθμό %1 είχε καταχωρηθεί πριν χαθεί η σύνδεση.")
        .arg(number);
}
// Another window or workstation issued the shown number first: nothing was written, the window
// now shows the next free number, and the same press issues the receipt under it.
inline QString numberTakenMeanwhile(qint64 taken, qint64 next)
{
    return kNotRegistered + QLatin1Char('\r')
        + QStringLiteral("Ο αριθμός %1 μόλις δόθηκε σε άλλη απόδειξη.\r"
                         "Πατήστε ξανά για να εκδοθεί αυτή με αριθμό %2.")
              .arg(taken)
              .arg(next);
}
// A receipt written but not printed must not be issued a second time.
inline QString registeredNotPrinted(qint64 number)
{
    return QStringLiteral("Η απόδειξη με αριθμό %1 καταχωρήθηκε, αλλά δεν εκτυπώθηκε.\r"
                          "Μπορείτε να την εκτυπώσετε από τις «Αποδείξεις που εκδόθηκαν».")
        .arg(number);
}
// The same with what the layout, the printer or the database said, on the line under it.
inline QString registeredNotPrintedBecause(qint64 number, const QString &cause)
{
    return registeredNotPrinted(number) + QLatin1Char('\r') + cause;
}

// Numbering and VAT rate windows
inline const QString kNumberingCaption = QStringLiteral("Καθορισμός αρίθμησης των αποδείξεων");
inline const QString kNumberingLabel = QStringLiteral("Έναρξη από τον αριθμό:");
inline const QString kStartingNumberRefused
    = QStringLiteral("Ο αρχικός αριθμός απόδειξης πρέπει να είναι θετικός ακέραιος.");
inline const QString kVatCaption = QStringLiteral("Συντελεστής Φ.Π.Α");
inline const QString kVatLabel = QStringLiteral("Συντελεστής Φ.Π.Α (%):");
inline const QString kVatSaved
    = QStringLiteral("Η καταχώρηση έγινε με επιτυχία.\rΗ λειτουργία του προγράμματος θα "
                     "τερματιστεί.\rΓια να μπορέσεις να εργαστείς τρέξε ξανά το πρόγραμμα.");

// Register
inline const QString kRegisterCaption = QStringLiteral("Αποδείξεις που εκδόθηκαν");
inline const QString kReceipts = QStringLiteral(" αποδείξεις");
inline const QString kSortGroup = QStringLiteral("Ταξινόμηση με βάση");
inline const QString kSortDate = QStringLiteral("Ημερομηνία");
inline const QString kSortNumber = QStringLiteral("Αριθμό απόδειξης");
inline const QString kSortValid = QStringLiteral("Έγκυρη");
inline const QString kPrintReceipt = QStringLiteral("Εκτύ&πωση απόδειξης");
inline const QString kCancelReceipt = QStringLiteral("Α&κύρωση απόδειξης");
inline QString cancelQuestion(qint64 number)
{
    return QStringLiteral("Να ακυρώσω την απόδειξη με αριθμό\r%1;").arg(number);
}

// Issuing with the e-books on.
inline const QString kEbooksSending
    = QStringLiteral("Αποστολή της απόδειξης στα ηλεκτρονικά βιβλία της ΑΑΔΕ…");
inline const QString kEbooksLeave = QStringLiteral("Συνέχεια &χωρίς αναμονή");
inline const QString kEbooksNotSentYet
    = QStringLiteral("Η αποστολή δεν ολοκληρώθηκε· θα γίνει ξανά αυτόματα.");
// The receipt window's one line after a receipt that could not be sent at once.
inline QString ebooksNotSentLine(qint64 number, const QString &cause)
{
    return QStringLiteral("Η απόδειξη %1 δεν στάλθηκε στην ΑΑΔΕ: %2").arg(number).arg(cause);
}
// A receipt the e-books could not be told of truthfully is not issued.
inline QString notTransmittable(const QStringList &problems)
{
    return kNotRegistered + QLatin1Char('\r')
        + QStringLiteral("Η απόδειξη δεν μπορεί να σταλεί στα ηλεκτρονικά βιβλία της ΑΑΔΕ:\r")
        + problems.join(QLatin1Char('\r'));
}
// The service refused a receipt already issued: it stays in the queue, marked rejected.
inline QString ebooksRejected(qint64 number, const QString &serviceMessages)
{
    return QStringLiteral("Η ΑΑΔΕ δεν δέχτηκε την απόδειξη με αριθμό %1:\r%2\r"
                          "Η απόδειξη εκδόθηκε και μένει σε αναμονή, σημειωμένη ως "
                          "απορριφθείσα. Διορθώστε τις ρυθμίσεις και στείλτε την από τις "
                          "«Αποδείξεις που εκδόθηκαν».")
        .arg(number)
        .arg(QString(serviceMessages).replace(QLatin1Char('\n'), QLatin1Char('\r')));
}

// E-books settings
inline const QString kEbooksCaption = QStringLiteral("Ηλεκτρονικά βιβλία (myDATA)");
inline const QString kEbooksEnabled
    = QStringLiteral("&Αποστολή των αποδείξεων στα ηλεκτρονικά βιβλία της ΑΑΔΕ");
inline const QString kEbooksService = QStringLiteral("Υπηρεσία:");
inline const QString kEbooksTestService = QStringLiteral("Δοκιμαστική (mydataapidev.aade.gr)");
inline const QString kEbooksProductionService = QStringLiteral("Παραγωγική (mydatapi.aade.gr)");
inline const QString kEbooksUser = QStringLiteral("Όνομα χρήστη:");
inline const QString kEbooksKey = QStringLiteral("Κλειδί συνδρομής:");
inline const QString kEbooksKeyStored
    = QStringLiteral("Έχει αποθηκευτεί κλειδί στην κλειδοθήκη του υπολογιστή.");
inline const QString kEbooksKeyMissing = QStringLiteral("Δεν έχει αποθηκευτεί κλειδί.");
inline const QString kEbooksKeyHint
    = QStringLiteral("Γράψτε κλειδί μόνο για να αντικαταστήσετε το αποθηκευμένο.");
inline const QString kEbooksForgetKey = QStringLiteral("Διαγρα&φή κλειδιού");
inline const QString kEbooksSeries = QStringLiteral("Σειρά αποδείξεων:");
inline const QString kEbooksTreatment = QStringLiteral("Φ.Π.Α υπηρεσιών:");
inline const QString kEbooksExempt
    = QStringLiteral("Απαλλάσσονται (κατηγορία εξαίρεσης 7)");
inline const QString kEbooksTaxable = QStringLiteral("Με Φ.Π.Α στον συντελεστή που ισχύει");
inline const QString kEbooksPayment = QStringLiteral("Συνήθης τρόπος πληρωμής:");
inline const QString kEbooksCash = QStringLiteral("Μετρητά");
inline const QString kEbooksBank = QStringLiteral("Κατάθεση σε τραπεζικό λογαριασμό");
inline const QString kEbooksIris = QStringLiteral("IRIS");
inline const QString kEbooksSave = QStringLiteral("Απο&θήκευση");
inline const QString kEbooksUntested = QStringLiteral(
    "Η αποστολή δεν έχει ακόμη ελεγχθεί στη δοκιμαστική υπηρεσία της ΑΑΔΕ: πριν από την "
    "πραγματική χρήση, κάποιος με κωδικούς της δοκιμαστικής υπηρεσίας πρέπει να στείλει και να "
    "ακυρώσει μία απόδειξη.");
inline const QString kEbooksSaved = QStringLiteral("Οι ρυθμίσεις αποθηκεύτηκαν.");
inline const QString kEbooksNeedUser = QStringLiteral("Γράψτε το όνομα χρήστη της ΑΑΔΕ.");
inline const QString kEbooksNeedKey = QStringLiteral("Γράψτε το κλειδί συνδρομής της ΑΑΔΕ.");
inline const QString kEbooksBadSeries = QStringLiteral(
    "Η σειρά πρέπει να έχει από 1 έως 50 γράμματα ή ψηφία, χωρίς κενά.");
inline const QString kEbooksBadVatNumber = QStringLiteral(
    "Ο Α.Φ.Μ. στα στοιχεία των αποδείξεων δεν είναι έγκυρος: διορθώστε τον στη «Διαμόρφωση "
    "των στοιχείων που θα εμφανίζονται στις αποδείξεις».");
inline QString ebooksKeyNotSaved(const QString &why)
{
    return QStringLiteral("Το κλειδί δεν αποθηκεύτηκε στην κλειδοθήκη του υπολογιστή.\r%1")
        .arg(why);
}

// The register with the e-books on
inline const QString kColEbooks = QStringLiteral("myDATA");
inline const QString kColMark = QStringLiteral("ΜΑΡΚ");
inline const QString kEbooksSent = QStringLiteral("Στάλθηκε");
inline const QString kEbooksWaitingState = QStringLiteral("Σε αναμονή");
inline const QString kEbooksRejected = QStringLiteral("Απορρίφθηκε");
inline const QString kEbooksCancelPending = QStringLiteral("Ακύρωση σε αναμονή");
inline QString ebooksWaitingCount(int n)
{
    return QStringLiteral("Σε αναμονή για την ΑΑΔΕ: %1").arg(n);
}

// Sending the waiting receipts
inline const QString kEbooksOff = QStringLiteral(
    "Η αποστολή στα ηλεκτρονικά βιβλία είναι κλειστή: ανοίξτε την από τις Ρυθμίσεις, "
    "«Ηλεκτρονικά βιβλία (myDATA)…».");
inline const QString kEbooksSendingWaiting
    = QStringLiteral("Αποστολή των αποδείξεων σε αναμονή στα ηλεκτρονικά βιβλία της ΑΑΔΕ…");
inline QString ebooksSummary(int sent, int rejected, int waiting, int cancelled)
{
    return QStringLiteral("Στάλθηκαν: %1. Ακυρώσεις που στάλθηκαν: %2. Απορρίφθηκαν: %3. "
                          "Σε αναμονή ακόμη: %4.")
        .arg(sent)
        .arg(cancelled)
        .arg(rejected)
        .arg(waiting);
}
// Receipts another workstation's claim holds (one whose program may have stopped), and the
// time the last of those claims lapses.
inline QString ebooksHeldElsewhere(int count, const QString &until)
{
    return QStringLiteral("Από αυτές, %1 τις κρατά άλλος σταθμός εργασίας έως τις %2: θα "
                          "σταλούν μετά από τότε, αν εκείνος δεν τις στείλει.")
        .arg(count)
        .arg(until);
}
inline const QString kEbooksQueueUnreadable = QStringLiteral(
    "Δεν διαβάστηκαν οι αποδείξεις που περιμένουν αποστολή: δεν στάλθηκε τίποτα.");
// One receipt's outcome under the summary: the service's messages on the lines after it.
inline QString ebooksTurnLine(qint64 number, const QString &messages)
{
    const QString head = number > 0 ? QStringLiteral("Απόδειξη %1: ").arg(number) : QString();
    return head + QString(messages).replace(QLatin1Char('\n'), QLatin1Char('\r'));
}

// The line a receipt printed before the tax authority's e-books gave it a MARK carries.
inline const QString kEbooksWaiting
    = QStringLiteral("Σε αναμονή διαβίβασης στην ΑΑΔΕ (myDATA).");

// Practice details
inline const QString kDetailsCaption
    = QStringLiteral("Διαμόρφωση των στοιχείων που θα εμφανίζονται στις αποδείξεις");
inline const QString kPreview = QStringLiteral("Προε&πισκόπιση");

// Payments of one patient
inline const QString kPaymentsCaption = QStringLiteral("Εισπράξεις από τον συγκεκριμένο ασθενή");
inline const QString kReceiptCount = QStringLiteral("Συνολικός αριθμός αποδείξεων:");
inline const QString kTotalsHeading = QStringLiteral("Σύνολo");
inline const QString kTotalAmount = QStringLiteral("Ποσο (EUR):");
inline const QString kTotalVat = QStringLiteral("Φ.Π.Α (EUR):");
inline const QString kTotalWithVat = QStringLiteral("Ποσό + Φ.Π.Α (EUR):");

// Period income
inline const QString kPeriodCaption = QStringLiteral("Εισπράξεις σε διάστημα δυο ημερομηνιών");
inline const QString kFrom = QStringLiteral("Από:");
inline const QString kTo = QStringLiteral("Μέχρι:");
inline const QString kFromHint
    = QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/03/2007)");
inline const QString kToHint = QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/12/2007)");
inline const QString kFind = QStringLiteral("Eύ&ρεση");
inline const QString kIncome = QStringLiteral("Έσοδα (EUR):");
inline const QString kIncomeVat = QStringLiteral("Φ.Π.Α (EUR):");
inline const QString kIncomeLessVat = QStringLiteral("Έσοδα - Φ.Π.Α (EUR):");
inline const QString kWrongCriteria = QStringLiteral("Λανθασμένα κριτήρια.");

// Grid column titles
inline const QString kColNumber = QStringLiteral("Αριθμός απόδειξης");
inline const QString kColDate = QStringLiteral("Ημερ. έκδοσης απόδειξης");
inline const QString kColFirstName = QStringLiteral("Όνομα πελάτη");
inline const QString kColSurname = QStringLiteral("Επώνυμο πελάτη");
inline const QString kColDescription = QStringLiteral("Περιγραφή");
inline const QString kColAmount = QStringLiteral("Ποσό (EUR)");
inline const QString kColVat = QStringLiteral("Φ.Π.Α (EUR)");
inline const QString kColTotal = QStringLiteral("Ποσό + Φ.Π.Α (EUR)");
inline const QString kColFund = QStringLiteral("Ταμείο");
inline const QString kColValid = QStringLiteral("Έγκυρη");

} // namespace BillingTexts
