#pragma once

#include <QString>

// The texts of the e-books (myDATA) sending: what a person reads when a receipt cannot be
// described to the tax authority, and the state lines of the register and the receipt.
namespace MyDataTexts {

// Why a receipt cannot be put into an InvoicesDoc; each is a whole sentence.
inline const QString kBadVatNumber = QStringLiteral(
    "Ο Α.Φ.Μ. στα στοιχεία των αποδείξεων δεν είναι έγκυρος (εννέα ψηφία).");
inline const QString kBadSeries = QStringLiteral(
    "Η σειρά των αποδείξεων πρέπει να έχει από 1 έως 50 γράμματα ή ψηφία.");
inline const QString kBadNumber
    = QStringLiteral("Ο αριθμός της απόδειξης πρέπει να είναι θετικός ακέραιος.");
inline const QString kBadDate = QStringLiteral("Η απόδειξη δεν έχει ημερομηνία έκδοσης.");
inline const QString kNotCents = QStringLiteral(
    "Τα ηλεκτρονικά βιβλία δέχονται ποσά με δύο δεκαδικά: η απόδειξη έχει ποσό με περισσότερα.");
inline const QString kNotPositive
    = QStringLiteral("Τα ηλεκτρονικά βιβλία δέχονται μόνο απόδειξη με θετικό ποσό.");
inline QString rateNotGreek(const QString &rate)
{
    return QStringLiteral("Ο συντελεστής Φ.Π.Α %1 % δεν είναι συντελεστής των ηλεκτρονικών "
                          "βιβλίων (24, 13, 6, 17, 9 ή 4 %).")
        .arg(rate);
}
inline const QString kExemptWithVat = QStringLiteral(
    "Οι υπηρεσίες έχουν δηλωθεί απαλλασσόμενες από Φ.Π.Α, αλλά η απόδειξη έχει Φ.Π.Α.");
inline const QString kTaxableWithoutVat = QStringLiteral(
    "Οι υπηρεσίες έχουν δηλωθεί με Φ.Π.Α, αλλά ο συντελεστής είναι 0 %: δηλώστε τις "
    "απαλλασσόμενες.");
inline const QString kVatDisagrees
    = QStringLiteral("Το Φ.Π.Α της απόδειξης δεν αντιστοιχεί στον συντελεστή της.");
inline const QString kBadPayment = QStringLiteral("Ο τρόπος πληρωμής δεν είναι γνωστός.");

// Why a receipt is still waiting, as the sending found it.
inline const QString kUnreachable
    = QStringLiteral("Η υπηρεσία των ηλεκτρονικών βιβλίων δεν απάντησε.");
inline const QString kKeyRefused = QStringLiteral(
    "Η υπηρεσία των ηλεκτρονικών βιβλίων δεν δέχτηκε το όνομα χρήστη ή το κλειδί.");
inline const QString kBusy = QStringLiteral(
    "Η υπηρεσία των ηλεκτρονικών βιβλίων έχει πολλά αιτήματα: η απόδειξη θα σταλεί αργότερα.");
inline const QString kTechnical = QStringLiteral(
    "Η υπηρεσία των ηλεκτρονικών βιβλίων είχε τεχνικό πρόβλημα: η απόδειξη θα σταλεί αργότερα.");
inline const QString kUnreadable = QStringLiteral(
    "Η απάντηση της υπηρεσίας δεν διαβάστηκε: θα ελεγχθεί αν η απόδειξη έφτασε.");
inline const QString kNoSchema = QStringLiteral(
    "Δεν βρέθηκε το σχήμα XML των ηλεκτρονικών βιβλίων: η απόδειξη δεν στάλθηκε.");
inline const QString kNoReceipt
    = QStringLiteral("Η απόδειξη δεν βρέθηκε στις αποδείξεις που εκδόθηκαν.");
inline const QString kSchemaRefused
    = QStringLiteral("Το παραστατικό δεν συμφωνεί με το σχήμα XML των ηλεκτρονικών βιβλίων:");

inline const QString kSearchUnfinished = QStringLiteral(
    "Η αναζήτηση της απόδειξης στα ηλεκτρονικά βιβλία δεν ολοκληρώθηκε: θα ελεγχθεί ξανά "
    "αργότερα, πριν σταλεί.");
inline const QString kDuplicateNotListed = QStringLiteral(
    "Η υπηρεσία έχει ήδη την απόδειξη, αλλά δεν έδωσε ακόμη το Μ.ΑΡ.Κ. της: θα ζητηθεί ξανά.");
inline const QString kClaimLost = QStringLiteral(
    "Την απόδειξη στέλνει τώρα άλλος σταθμός εργασίας.");
// A receipt another workstation holds; its claim lapses at the given time.
inline QString heldElsewhere(const QString &until)
{
    return QStringLiteral("Την κρατά άλλος σταθμός εργασίας έως τις %1.").arg(until);
}

inline const QString kNoKey = QStringLiteral(
    "Δεν έχει αποθηκευτεί κλειδί συνδρομής για τα ηλεκτρονικά βιβλία: η απόδειξη μένει σε "
    "αναμονή.");

} // namespace MyDataTexts
