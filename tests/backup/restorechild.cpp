// Restores a backup into a practice folder and stops for good after the step named, so that the
// test that started it kills it there:
//   backup_restorechild PRACTICE_FOLDER BACKUP_FILE STEP
// Prints the step's name on its own line when it reaches it (and then waits to be killed), or
// "restored" when the restore ran to its end; exit status 1 when the restore failed.
#include "practicebackup.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PRACTICE_FOLDER BACKUP_FILE STEP\n", argv[0]);
        return 2;
    }
    const char *stop = argv[3];
    PracticeBackup::setRestoreStepHook([stop](const char *step) {
        if (std::strcmp(step, stop) != 0)
            return;
        std::printf("%s\n", step);
        std::fflush(stdout);
        for (;;)
            ::pause();
    });
    try {
        PracticeBackup::restoreFile(QString::fromLocal8Bit(argv[2]),
                                    QString::fromLocal8Bit(argv[1]),
                                    QDateTime(QDate(2026, 3, 6), QTime(9, 5, 7)));
    } catch (const PracticeBackup::BackupError &e) {
        std::fprintf(stderr, "not restored: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("restored\n");
    return 0;
}
