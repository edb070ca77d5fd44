// Takes a verified backup of a practice, as "Backup now" does in the program, for a scheduled
// task:
//   orvanta-backup [--passphrase-file FILE | --unencrypted] PRACTICE_FOLDER DEST_FOLDER
// Writes DEST_FOLDER/orvanta-YYYY-MM-DD-HHMM.mdb (with --passphrase-file: the copy sealed with
// the passphrase in FILE, orvanta-YYYY-MM-DD-HHMM.mdb.sealed) while the program may be running,
// and prints one line: "backed up PATH BYTES bytes, verified, encrypted" (or ", not encrypted")
// on standard output, or "not backed up: REASON" on standard error. When the practice's copies
// are to be encrypted (orvanta.ini), a plain copy is written only when asked for with
// --unencrypted. Exit status: 0 a verified copy is in place; 2 wrong command line; 3 the
// practice cannot be read; 4 the destination folder is missing or may not be written; 5 the
// destination is full; 6 the copy failed its verification; 7 the copies are to be encrypted
// and no passphrase was given, or the passphrase file cannot be used. Nothing is left under
// the final name unless the status is 0.
#include "practicebackup.h"
#include "sealedbackup.h"
#include "toolusage.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

int statusOf(PracticeBackup::Failure failure)
{
    switch (failure) {
    case PracticeBackup::Failure::NotWritable:
        return 4;
    case PracticeBackup::Failure::DiskFull:
        return 5;
    case PracticeBackup::Failure::Verification:
        return 6;
    default:
        return 3;
    }
}

const char *reasonOf(PracticeBackup::Failure failure)
{
    switch (failure) {
    case PracticeBackup::Failure::NotWritable:
        return "destination not writable";
    case PracticeBackup::Failure::DiskFull:
        return "destination full";
    case PracticeBackup::Failure::Verification:
        return "verification failed";
    default:
        return "practice not readable";
    }
}

} // namespace

namespace {

const char kHelp[] =
    "Χρήση: orvanta-backup [--passphrase-file ΑΡΧΕΙΟ | --unencrypted]\n"
    "                      ΦΑΚΕΛΟΣ_ΙΑΤΡΕΙΟΥ ΦΑΚΕΛΟΣ_ΠΡΟΟΡΙΣΜΟΥ\n"
    "\n"
    "Γράφει ένα ελεγμένο αντίγραφο ασφαλείας του ιατρείου ως\n"
    "ΦΑΚΕΛΟΣ_ΠΡΟΟΡΙΣΜΟΥ/orvanta-ΕΕΕΕ-ΜΜ-ΗΗ-ΩΩΛΛ.mdb, ακόμη κι όταν το πρόγραμμα είναι ανοιχτό,\n"
    "και τυπώνει μία γραμμή με το αποτέλεσμα (για προγραμματισμένες εργασίες).\n"
    "\n"
    "  --passphrase-file ΑΡΧΕΙΟ  κρυπτογραφεί το αντίγραφο με τη φράση που είναι γραμμένη\n"
    "                           στο ΑΡΧΕΙΟ (UTF-8, μία γραμμή)· το αντίγραφο γράφεται ως\n"
    "                           orvanta-ΕΕΕΕ-ΜΜ-ΗΗ-ΩΩΛΛ.mdb.sealed. Χωρίς τη φράση δεν\n"
    "                           ανοίγει ποτέ: φυλάξτε τη και αλλού.\n"
    "  --unencrypted            γράφει μη κρυπτογραφημένο αντίγραφο, ακόμη κι όταν το ιατρείο\n"
    "                           έχει ορίσει κρυπτογράφηση των αντιγράφων.\n"
    "\n"
    "Κωδικοί εξόδου: 0 το αντίγραφο γράφτηκε και ελέγχθηκε· 2 λάθος γραμμή εντολών·\n"
    "3 το ιατρείο δεν διαβάζεται· 4 ο φάκελος προορισμού λείπει ή δεν δέχεται εγγραφή·\n"
    "5 ο προορισμός γέμισε· 6 το αντίγραφο δεν πέρασε τον έλεγχο· 7 το ιατρείο έχει ορίσει\n"
    "κρυπτογράφηση και δεν δόθηκε φράση, ή το αρχείο της φράσης δεν διαβάζεται.\n";

const char kUsage[]
    = "orvanta-backup [--passphrase-file FILE | --unencrypted] PRACTICE_FOLDER DEST_FOLDER";

} // namespace

int main(int argc, char **argv)
{
    if (ToolUsage::askedForHelp(argc, argv))
        return ToolUsage::help(kHelp);
    QCoreApplication app(argc, argv);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString passphraseFile;
    bool unencrypted = false;
    for (;;) {
        if (args.size() >= 2 && args.first() == QLatin1String("--passphrase-file")
            && passphraseFile.isEmpty()) {
            passphraseFile = args.at(1);
            args.remove(0, 2);
        } else if (!args.isEmpty() && args.first() == QLatin1String("--unencrypted")) {
            unencrypted = true;
            args.removeFirst();
        } else {
            break;
        }
    }
    if (args.size() != 2 || (unencrypted && !passphraseFile.isEmpty()))
        return ToolUsage::wrong(kUsage);
    const QString practice = QDir(args.at(0)).absolutePath();
    const QString destination = QDir(args.at(1)).absolutePath();
    QString passphrase;
    if (!passphraseFile.isEmpty()) {
        try {
            passphrase = SealedBackup::readPassphraseFile(passphraseFile);
        } catch (const DbError &e) {
            std::fprintf(stderr, "not backed up: passphrase not usable: %s\n",
                         qPrintable(e.message()));
            return 7;
        }
    } else if (!unencrypted && SealedBackup::encryptionOn(practice)) {
        std::fprintf(stderr, "not backed up: the practice's copies are to be encrypted: name the "
                             "passphrase file with --passphrase-file (or ask for a plain copy "
                             "with --unencrypted)\n");
        return 7;
    }
    try {
        const QDateTime when = QDateTime::currentDateTime();
        const bool sealed = !passphrase.isEmpty();
        const PracticeBackup::Outcome out
            = sealed ? SealedBackup::backUp(practice, destination, when, passphrase)
                     : PracticeBackup::backUp(practice, destination, when);
        std::printf("backed up %s %lld bytes, verified, %s\n", qPrintable(out.path),
                    static_cast<long long>(out.bytes), sealed ? "encrypted" : "not encrypted");
        return 0;
    } catch (const PracticeBackup::BackupError &e) {
        std::fprintf(stderr, "not backed up: %s: %s\n", reasonOf(e.failure()),
                     qPrintable(e.message()));
        return statusOf(e.failure());
    } catch (const DbError &e) {
        std::fprintf(stderr, "not backed up: %s\n", qPrintable(e.message()));
        return 3;
    }
}
