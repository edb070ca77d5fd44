#pragma once

#include "practicebackup.h"

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// Backups sealed with the practice's passphrase (SealedCopy), for copies that leave the
// computer. Whether the program seals its copies is a choice of each computer, kept in
// orvanta.ini beside the backup folder:
//
//   [backup]
//   encrypted=true
//
// The passphrase itself is never kept in the practice's files: the program keeps it in the
// desktop's keyring, orvanta-backup reads it from a file its command line names.
namespace SealedBackup {

bool encryptionOn(const QString &practiceFolder);
// Throws DbError when orvanta.ini cannot be written.
void setEncryptionOn(const QString &practiceFolder, bool on);

// "orvanta-2026-03-05-1830.mdb.sealed".
QString fileName(const QDateTime &when);
// The time in a backup's name, sealed or not; invalid for any other name.
QDateTime timeOfName(const QString &fileName);

// A passphrase the program accepts for its copies: at least this many characters, no blank at
// either end (a blank typed there by mistake could not be seen, and would be needed forever).
inline constexpr int kMinimumLength = 8;
bool acceptable(const QString &passphrase);

// The passphrase in a file named on a command line: its text in UTF-8, without the one line
// end that closes it. Throws DbError when the file cannot be read or the passphrase is not
// acceptable.
QString readPassphraseFile(const QString &path);

// How long each step of a sealed backup took (for the benchmark).
struct Timing {
    qint64 plainNs = 0;  // the plain copy, written and checked as every copy is
    qint64 deriveNs = 0; // deriving the keys (sealing and checking)
    qint64 sealNs = 0;   // sealing it into the destination, the key included
    qint64 checkNs = 0;  // opening the sealed copy again and comparing, the key included
};

// Takes a backup as PracticeBackup::backUp does (the same checks), then seals it into the
// destination folder as fileName(when): the plain copy is written in a private folder beside
// the practice (never in the destination) and removed afterwards; the sealed copy is opened
// again with the passphrase and compared with the checked plain copy byte for byte before it
// is given its name. Throws PracticeBackup::BackupError.
PracticeBackup::Outcome backUp(const QString &practiceFolder, const QString &destinationFolder,
                               const QDateTime &when, const QString &passphrase,
                               const PracticeBackup::Progress &progress = {},
                               Timing *timing = nullptr);

// A sealed copy opened into a private temporary folder of the practice folder, for reading
// what it holds and restoring it; the folder is removed with the object. Throws SealedCopy::Error.
class OpenedCopy {
public:
    OpenedCopy(const QString &sealedFile, const QString &passphrase,
               const QString &practiceFolder);
    ~OpenedCopy();
    OpenedCopy(const OpenedCopy &) = delete;
    OpenedCopy &operator=(const OpenedCopy &) = delete;
    QString path() const { return m_path; }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

// A private folder for a plain copy, in the practice folder (where the plain practice is
// already), else in the system's temporary folder.
std::unique_ptr<QTemporaryDir> privateFolder(const QString &practiceFolder);

} // namespace SealedBackup
