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

} // namespace MyDataTexts
