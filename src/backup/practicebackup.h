#pragma once

#include "dberror.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

struct sqlite3;

// Backups of a practice. Whatever engine keeps the data, a backup is a practice file like
// data.mdb (the same tables, the practice's own database password) that the program can open,
// named orvanta-YYYY-MM-DD-HHMM.mdb. It is written under a temporary name in the destination
// folder, synced, checked (the engine's integrity check, opened as a practice, and every
// table's figures against the source's in the same reading), and only then given its name:
// a copy that fails leaves nothing under the final name.
namespace PracticeBackup {

// Why a backup or a restore failed; the windows and the tool say it in their own words.
enum class Failure {
    Source,        // the practice itself could not be read
    NotWritable,   // the destination folder is missing or may not be written
    DiskFull,      // the destination has no room left
    Verification,  // the copy was written but is not the same as the practice
    NotSqlite,     // the file given is not a database file at all
    NotPractice,   // another program's database
    Damaged,       // a practice file that fails the integrity check (a truncated copy)
    WrongPassword, // a practice file with another database password
    InUse,         // the practice file is being written by another program
};

class BackupError : public DbError {
public:
    BackupError(Failure failure, const QString &message)
        : DbError(message)
        , m_failure(failure)
    {}
    Failure failure() const { return m_failure; }

private:
    Failure m_failure;
};

struct Outcome {
    QString path;       // the verified copy, under its final name
    qint64 bytes = 0;   // its size
    QStringList tables; // "STOIXEIA_PELATH: 1204 rows", one line per table
    qint64 copyMs = 0;  // how long copying took, and checking the copy afterwards
    qint64 verifyMs = 0;
};

// Told how far the copy has gone (units of the engine's own: pages on the file, rows on a
// server), and (0, 0) once it is written and being checked; called on the thread that takes
// the backup.
using Progress = std::function<void(qint64 done, qint64 total)>;

// "orvanta-2026-03-05-1830.mdb".
QString fileName(const QDateTime &when);
// The time in a name of fileName()'s form; invalid for any other name.
QDateTime timeOfName(const QString &fileName);

// Backs up the practice of the folder (data.mdb, or the server database its orvanta.ini names)
// into the destination folder, while the program and others keep working on it. Throws
// BackupError.
Outcome backUp(const QString &practiceFolder, const QString &destinationFolder,
               const QDateTime &when, const Progress &progress = {});

// What a backup holds, read after it passed the same checks as a new copy.
struct Summary {
    QDateTime taken; // when the copy was taken (the file's time when it does not say)
    qint64 bytes = 0;
    qlonglong patients = 0;
    qlonglong receipts = 0;
    QString lastReceipt; // the highest receipt number, empty when none was issued
};
// Checks that the file is a practice of this program, sound and with the practice's database
// password, without changing it. Throws BackupError (NotSqlite, NotPractice, Damaged,
// WrongPassword).
Summary inspect(const QString &backupFile);

// On the file engine: checks the backup, puts a checked copy of it in place of the folder's
// data.mdb, which is kept beside it as data-before-restore-YYYY-MM-DD-HHMMSS.mdb. Returns the
// name the old file was kept under. Nothing changes when a check fails.
QString restoreFile(const QString &backupFile, const QString &practiceFolder,
                    const QDateTime &when);

// On a server: creates the database orvanta_restored_YYYYMMDD_HHMMSS beside the current one and
// copies the backup into it with the checks of every copy to a server; the live database is
// not touched. Returns the libpq connection text of the new database.
QString restoreToServer(const QString &backupFile, const QString &serverConnection,
                        const QDateTime &when);

// Test seam: called with each new copy's handle before anything is written to it (a test
// limits its pages to make a full disk).
void setDestinationHook(std::function<void(sqlite3 *)> hook);

} // namespace PracticeBackup
