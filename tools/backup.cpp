// Takes a verified backup of a practice, as "Backup now" does in the program, for a scheduled
// task:
//   orvanta-backup PRACTICE_FOLDER DEST_FOLDER
// Writes DEST_FOLDER/orvanta-YYYY-MM-DD-HHMM.mdb while the program may be running, and prints
// one line: "backed up PATH BYTES bytes, verified" on standard output, or "not backed up:
// REASON" on standard error. Exit status: 0 a verified copy is in place; 2 wrong command line;
// 3 the practice cannot be read; 4 the destination folder is missing or may not be written;
// 5 the destination is full; 6 the copy failed its verification. Nothing is left under the
// final name unless the status is 0.
#include "practicebackup.h"
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
    "Χρήση: orvanta-backup ΦΑΚΕΛΟΣ_ΙΑΤΡΕΙΟΥ ΦΑΚΕΛΟΣ_ΠΡΟΟΡΙΣΜΟΥ\n"
    "\n"
    "Γράφει ένα ελεγμένο αντίγραφο ασφαλείας του ιατρείου ως\n"
    "ΦΑΚΕΛΟΣ_ΠΡΟΟΡΙΣΜΟΥ/orvanta-ΕΕΕΕ-ΜΜ-ΗΗ-ΩΩΛΛ.mdb, ακόμη κι όταν το πρόγραμμα είναι ανοιχτό,\n"
    "και τυπώνει μία γραμμή με το αποτέλεσμα (για προγραμματισμένες εργασίες).\n"
    "Κωδικοί εξόδου: 0 το αντίγραφο γράφτηκε και ελέγχθηκε· 2 λάθος γραμμή εντολών·\n"
    "3 το ιατρείο δεν διαβάζεται· 4 ο φάκελος προορισμού λείπει ή δεν δέχεται εγγραφή·\n"
    "5 ο προορισμός γέμισε· 6 το αντίγραφο δεν πέρασε τον έλεγχο.\n";

} // namespace

int main(int argc, char **argv)
{
    if (ToolUsage::askedForHelp(argc, argv))
        return ToolUsage::help(kHelp);
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return ToolUsage::wrong("orvanta-backup PRACTICE_FOLDER DEST_FOLDER");
    const QString practice = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString destination = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    try {
        const PracticeBackup::Outcome out
            = PracticeBackup::backUp(practice, destination, QDateTime::currentDateTime());
        std::printf("backed up %s %lld bytes, verified\n", qPrintable(out.path),
                    static_cast<long long>(out.bytes));
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
