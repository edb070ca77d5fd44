#pragma once

#include "practicebackup.h"

#include <QLocale>
#include <QString>

// The texts of backing up and restoring, as the person reads them.
namespace BackupTexts {

inline const QString kBackupNowEntry = QStringLiteral("Αντίγραφο ασφαλείας τώρα…");
inline const QString kRestoreEntry = QStringLiteral("Επαναφορά από αντίγραφο…");
inline const QString kChooseFolder = QStringLiteral("Φάκελος για το αντίγραφο ασφαλείας");
inline const QString kChooseBackup = QStringLiteral("Επαναφορά από αντίγραφο ασφαλείας");
inline const QString kBackupFiles = QStringLiteral("Αντίγραφα ασφαλείας (*.mdb *.mdb.sealed)");
inline const QString kTaking = QStringLiteral("Λήψη αντιγράφου ασφαλείας…");
inline const QString kCheckingCopy = QStringLiteral("Έλεγχος του αντιγράφου…");
inline const QString kChecking = QStringLiteral("Έλεγχος του αντιγράφου ασφαλείας…");
inline const QString kRestoring = QStringLiteral("Επαναφορά από αντίγραφο ασφαλείας…");
inline const QString kNotTaken = QStringLiteral("Το αντίγραφο ασφαλείας δεν έγινε.");
inline const QString kNotRestored = QStringLiteral("Η επαναφορά δεν έγινε.");

// A size as a person reads it: "12,4 MB", "310 KB".
inline QString sizeText(qint64 bytes)
{
    const QLocale greek(QLocale::Greek, QLocale::Greece);
    if (bytes >= 1024 * 1024)
        return greek.toString(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    return greek.toString((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

inline QString dateTimeText(const QDateTime &when)
{
    return when.toString(QStringLiteral("d/M/yyyy HH:mm"));
}

inline QString taken(const QString &path, qint64 bytes, bool encrypted)
{
    return QStringLiteral("Το αντίγραφο ασφαλείας γράφτηκε και ελέγχθηκε: ανοίγει κανονικά και "
                          "έχει όλα τα στοιχεία της βάσης δεδομένων.\r\r"
                          "Αρχείο: %1\rΜέγεθος: %2\r")
               .arg(path, sizeText(bytes))
        + (encrypted ? QStringLiteral("Κρυπτογραφημένο: ανοίγει μόνο με τη φράση "
                                      "κρυπτογράφησης.")
                     : QStringLiteral("Μη κρυπτογραφημένο: όποιος έχει το αρχείο μπορεί να "
                                      "διαβάσει τα στοιχεία των ασθενών."));
}

// The settings of the copies (under "Ρυθμίσεις").
inline const QString kSettingsEntry = QStringLiteral("Αντίγραφα ασφαλείας…");
inline const QString kSettingsCaption = QStringLiteral("Αντίγραφα ασφαλείας");
inline const QString kEncrypt = QStringLiteral("Κρυπτογράφηση των αντιγράφων ασφαλείας");
inline const QString kPassphrase = QStringLiteral("Φράση κρυπτογράφησης:");
inline const QString kConfirmPassphrase = QStringLiteral("Ξανά η ίδια φράση:");
inline const QString kPassphraseRule = QStringLiteral(
    "Τουλάχιστον 8 χαρακτήρες, χωρίς κενό στην αρχή ή στο τέλος. Μια φράση από λίγες λέξεις "
    "θυμάται εύκολα και μαντεύεται δύσκολα.");
inline const QString kForgottenWarning = QStringLiteral(
    "Προσοχή: αν ξεχάσετε τη φράση κρυπτογράφησης, τα κρυπτογραφημένα αντίγραφα δεν ανοίγουν "
    "με κανέναν τρόπο, ούτε από το πρόγραμμα ούτε από κανέναν άλλον. Γράψτε τη σε χαρτί και "
    "φυλάξτε τη σε ασφαλές μέρος, χωριστά από τα αντίγραφα.");
inline const QString kPassphraseStored = QStringLiteral(
    "Η φράση είναι φυλαγμένη στην κλειδοθήκη αυτού του υπολογιστή, για τα αυτόματα αντίγραφα. "
    "Γράψτε μια νέα φράση μόνο για να την αλλάξετε.");
inline const QString kPassphraseMissing
    = QStringLiteral("Δεν έχει φυλαχτεί φράση κρυπτογράφησης σε αυτόν τον υπολογιστή.");
inline const QString kSaveSettings = QStringLiteral("Καταχώ&ρηση");
inline const QString kPassphrasesDiffer = QStringLiteral("Οι δύο φράσεις δεν είναι ίδιες.");
inline const QString kPassphraseTooShort = QStringLiteral(
    "Η φράση κρυπτογράφησης πρέπει να έχει τουλάχιστον 8 χαρακτήρες, χωρίς κενό στην αρχή ή "
    "στο τέλος.");
inline const QString kPassphraseNeeded
    = QStringLiteral("Γράψτε τη φράση κρυπτογράφησης δύο φορές.");
inline const QString kSettingsSaved
    = QStringLiteral("Οι ρυθμίσεις των αντιγράφων ασφαλείας αποθηκεύτηκαν.");
inline QString passphraseNotKept(const QString &why)
{
    return QStringLiteral("Η φράση δεν φυλάχτηκε στην κλειδοθήκη του υπολογιστή, και η "
                          "κρυπτογράφηση δεν άνοιξε.\r%1")
        .arg(why);
}
// "Backup now" while the copies are to be encrypted and this computer's keyring has no phrase.
inline const QString kNoStoredPassphrase = QStringLiteral(
    "Τα αντίγραφα ασφαλείας κρυπτογραφούνται, αλλά η φράση κρυπτογράφησης δεν βρέθηκε στην "
    "κλειδοθήκη αυτού του υπολογιστή. Γράψτε τη ξανά στις «Ρυθμίσεις», «Αντίγραφα ασφαλείας…».");
inline const QString kAskPassphrase = QStringLiteral(
    "Το αντίγραφο είναι κρυπτογραφημένο. Γράψτε τη φράση κρυπτογράφησης:");

// Why a backup or a restore did not happen, in the person's words.
inline QString reason(PracticeBackup::Failure failure)
{
    using F = PracticeBackup::Failure;
    switch (failure) {
    case F::Source:
        return QStringLiteral("Η βάση δεδομένων του προγράμματος δεν μπορεί να διαβαστεί.");
    case F::NotWritable:
        return QStringLiteral("Ο φάκελος δεν υπάρχει ή δεν επιτρέπεται να γραφτεί αρχείο σε αυτόν.");
    case F::DiskFull:
        return QStringLiteral("Δεν υπάρχει αρκετός ελεύθερος χώρος στο δίσκο.");
    case F::Verification:
        return QStringLiteral("Ο έλεγχος του αντιγράφου απέτυχε: δεν είναι ίδιο με τη βάση "
                              "δεδομένων.");
    case F::NotSqlite:
        return QStringLiteral("Το αρχείο δεν είναι αντίγραφο ασφαλείας του προγράμματος.");
    case F::NotPractice:
        return QStringLiteral("Το αρχείο είναι βάση δεδομένων άλλου προγράμματος.");
    case F::Damaged:
        return QStringLiteral("Το αρχείο είναι κατεστραμμένο ή ελλιπές.");
    case F::WrongPassword:
        return QStringLiteral("Το αρχείο έχει άλλον κωδικό βάσης δεδομένων.");
    case F::InUse:
        return QStringLiteral("Η βάση δεδομένων γράφεται αυτή τη στιγμή από άλλο πρόγραμμα. "
                              "Κλείστε το και δοκιμάστε ξανά.");
    }
    return {};
}

// A copy on the practice's own disk is lost with it (a failed disk, a stolen computer).
inline QString sameDisk(const QString &folder)
{
    return QStringLiteral("Ο φάκελος %1 είναι στον ίδιο δίσκο με το ιατρείο: αν χαλάσει ο δίσκος "
                          "ή χαθεί ο υπολογιστής, χάνεται μαζί και το αντίγραφο. Προτιμήστε ένα "
                          "USB stick, έναν εξωτερικό δίσκο ή έναν κοινόχρηστο φάκελο άλλου "
                          "υπολογιστή.\r\rΝα γραφτεί το αντίγραφο εκεί παρ' όλα αυτά;")
        .arg(folder);
}

inline QString confirmRestore(const PracticeBackup::Summary &s, bool onServer)
{
    return QStringLiteral("Αντίγραφο ασφαλείας της %1\r"
                          "Ασθενείς: %2\rΑποδείξεις: %3\rΤελευταία απόδειξη: %4\r\r")
               .arg(dateTimeText(s.taken))
               .arg(s.patients)
               .arg(s.receipts)
               .arg(s.lastReceipt.isEmpty() ? QStringLiteral("καμία") : s.lastReceipt)
        + (onServer ? QStringLiteral("Το αντίγραφο θα γραφτεί σε μια νέα βάση δεδομένων στο "
                                     "διακομιστή· η τωρινή βάση δεν θα αλλάξει.\r")
                    : QStringLiteral("Το τωρινό αρχείο data.mdb θα φυλαχτεί με άλλο όνομα, δεν "
                                     "θα σβηστεί.\r"))
        + QStringLiteral("Να γίνει η επαναφορά;");
}

inline QString restoredFile(const QString &keptAs)
{
    return (keptAs.isEmpty() ? QStringLiteral("Η επαναφορά έγινε.")
                             : QStringLiteral("Η επαναφορά έγινε. Τα προηγούμενα δεδομένα "
                                              "φυλάχτηκαν στο αρχείο %1.")
                                   .arg(keptAs))
        + QStringLiteral("\r\rΤο πρόγραμμα θα κλείσει τώρα. Ξεκινήστε το ξανά.");
}

inline QString restoredOnServer(const QString &connection)
{
    return QStringLiteral("Η επαναφορά έγινε σε νέα βάση δεδομένων του διακομιστή· η τωρινή "
                          "βάση δεν άλλαξε.\r\r"
                          "Για να δουλέψετε με τη νέα βάση, αλλάξτε στο αρχείο orvanta.ini "
                          "κάθε υπολογιστή, στην ενότητα [database], τη γραμμή service=… ή "
                          "connection=… σε:\r"
                          "connection=\"%1\"\r"
                          "και ξεκινήστε ξανά το πρόγραμμα.")
        .arg(connection);
}

// The start-up report of an automatic copy that failed; the note holds its time, then why.
inline QString automaticCopyFailed(const QString &note)
{
    const qsizetype nl = note.indexOf(QLatin1Char('\n'));
    const QString when = nl < 0 ? note : note.left(nl);
    const QString why = nl < 0 ? QString() : note.mid(nl + 1).trimmed();
    return QStringLiteral("Το αυτόματο αντίγραφο ασφαλείας της %1 δεν έγινε.\r%2\r\r"
                          "Πάρτε ένα αντίγραφο με το «%3».")
        .arg(when, why, kBackupNowEntry);
}

} // namespace BackupTexts
