#pragma once

#include "practicebackup.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The copies the program takes by itself each time it ends normally, kept in the folder
// "backups" beside data.mdb, or in the one orvanta.ini names:
//
//   [backup]
//   folder=/media/usb/orvanta          ; relative names are taken from the practice folder
//
// Of the copies there (files named orvanta-YYYY-MM-DD-HHMM.mdb, or .mdb.sealed when encrypted;
// other files are never touched)
// the program keeps the newest of each of the 14 latest days that have one, and the newest of
// each of the last twelve months (this month included). The others are removed only after the
// new copy has been verified. A copy that fails leaves a note beside data.mdb that the next
// start shows once.
namespace AutoBackup {

inline constexpr char kFolderName[] = "backups";
inline constexpr char kFailureNote[] = "orvanta-backup-failed.txt";
inline constexpr int kDailyCopies = 14;
inline constexpr int kMonthlyCopies = 12;

// The folder the copies of the practice go to.
QString folder(const QString &practiceFolder);

// Of the copies' file names, those to keep at the time given (copies dated after it included).
QStringList toKeep(const QStringList &names, const QDateTime &now);

struct Result {
    bool ok = false;
    PracticeBackup::Outcome outcome; // when ok
    QString failure;                 // why not, when not
    QStringList removed;             // older copies removed
};

// Takes the copy of the day at the program's normal end and thins out the older ones; when the
// copies are to be encrypted (SealedBackup), the copy is sealed with the passphrase, and
// without one there is no copy. Never throws: a failure is written down for the next start.
Result atNormalEnd(const QString &practiceFolder, const QDateTime &now,
                   const QString &passphrase = {});

// What the last automatic copy's failure note says, the note removed so that it is told only
// once; empty when the last copy went well.
QString takeFailureNote(const QString &practiceFolder);

} // namespace AutoBackup
