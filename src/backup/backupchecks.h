#pragma once

#include "practicebackup.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class Connection;
struct sqlite3;

// What the file and the server backups and restores share: the copy under its temporary name,
// the engine's handles, and the checks every copy passes before it is given its name.
namespace PracticeBackup::Detail {

// The test seam of setDestinationHook().
extern std::function<void(sqlite3 *)> g_destinationHook;

// Pages copied per step of the engine's backup: small enough to report progress often.
inline constexpr int kPagesPerStep = 2048;
// Rows read from a server per fetch.
inline constexpr int kRowsPerFetch = 5000;

// The practice's database password, which every backup keeps.
QString password();
// "when" written in the format given, for the names of files and databases.
QString stamp(const QDateTime &when, const char *format);

// The failure a result code of the engine means for a copy being written.
Failure writeFailure(int code);
BackupError writeError(sqlite3 *db, int code, const QString &what);
// One statement of our own on a handle, run to its end; a refusal is thrown as a write failure.
void exec(sqlite3 *db, const QString &sql);

// A handle of the engine that closes itself.
struct Handle {
    sqlite3 *db = nullptr;
    Handle() = default;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { close(); }
    int close();
};

int openHandle(Handle &h, const QString &path, int flags);

// Makes what was written to the file (or to the folder's list of names) reach the disk.
bool syncPath(const QString &path, bool folder = false);

// The copy under its temporary name in the destination folder; removed (with any journal the
// engine left) unless it was given its final name.
class TempCopy {
public:
    TempCopy(const QString &folder, const QString &finalName);
    ~TempCopy();
    TempCopy(const TempCopy &) = delete;
    TempCopy &operator=(const TempCopy &) = delete;

    QString path() const { return m_path; }
    QString finalPath() const { return m_final; }

    // Gives the checked copy its final name, replacing a copy of the same minute.
    void commit();
    // Tells that the copy was given its place by other means: nothing is removed.
    void release() { m_done = true; }

private:
    void removeFiles();

    QString m_folder;
    QString m_final;
    QString m_path;
    bool m_done = false;
};

// The figures of every table, in the order of PracticeCopy::tables().
using Figures = QList<QVariantList>;
Figures fileFigures(Connection &file);

// Opens a file that should be a practice of this program, read-only, after checking in turn
// that it is a database file, that it is sound, that it is ours and that it has the practice's
// database password.
void openChecked(const QString &path, Connection &practice);

// The checks of a new copy against the figures of the reading it was made from.
QStringList verify(const QString &path, const Figures &source, const QString &sourceSide);

// Notes in the copy when it was taken (the marker table is not among the tables copied).
void markTaken(sqlite3 *db, const QDateTime &when);

void closeAndSync(Handle &destination, const TempCopy &temp);
// Opens the new copy for writing; the test seam of setDestinationHook() sees it first.
void openDestination(Handle &destination, const TempCopy &temp);

// The written copy closed, synced and checked against the figures of its reading, then named.
// Reading the source's figures (figuresMs of the time so far) counts as checking, not copying.
Outcome finish(Handle &destination, TempCopy &temp, QElapsedTimer &clock, const Figures &figures,
               qint64 figuresMs, const QString &sourceSide);

} // namespace PracticeBackup::Detail
