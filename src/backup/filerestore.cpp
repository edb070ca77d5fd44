#include "practicebackup.h"

#include "backupchecks.h"
#include "connection.h"
#include "engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

// The restore of a practice file. data.mdb is never missing, not even for an instant: the
// launcher makes a new, empty practice in a folder without one, and a person who then sees an
// empty program has lost nothing but does not know it. So the old file is given its set-aside
// name as a second name (a hard link) before the checked copy is renamed over data.mdb, and the
// rename is the one step that changes which practice data.mdb is.
namespace PracticeBackup {

using namespace Detail;

namespace {

std::function<void(const char *)> g_stepHook;

void done(const char *step)
{
    if (g_stepHook)
        g_stepHook(step);
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

BackupError inUse()
{
    return BackupError(Failure::InUse,
                       QStringLiteral("The practice file is being written by another program."));
}

// Copies a file whole and makes it reach the disk.
void copyFile(const QString &from, const QString &to)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly))
        throw BackupError(Failure::NotSqlite,
                          QStringLiteral("The file '%1' cannot be read.").arg(from));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw BackupError(Failure::NotWritable,
                          QStringLiteral("The folder of '%1' cannot be written.").arg(to));
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty() && in.error() != QFileDevice::NoError)
            throw BackupError(Failure::Damaged, in.errorString());
        if (out.write(block) != block.size() || !out.flush())
            throw BackupError(
                Failure::DiskFull,
                QStringLiteral("The copy could not be written: %1").arg(out.errorString()));
    }
    out.close();
    if (!syncPath(to))
        throw BackupError(Failure::DiskFull,
                          QStringLiteral("The copy could not be written to the disk."));
}

// The practice file held with the engine's exclusive lock from before the old file is set
// aside until after the copy has taken its place: no program is half way through writing it
// when it changes names, so no journal of the old file is left beside the new one (the engine
// would play it back into the restored practice). A transaction another program left behind in
// its journal is rolled back by the engine first; a journal or a write-ahead log that stays
// means a program is still writing. A program that keeps the old file open afterwards may
// still read it, but the engine refuses its writes, since the file has been moved.
class LiveLock {
public:
    explicit LiveLock(const QString &live)
    {
        if (!QFileInfo::exists(live))
            return;
        // A file that does not open or is no database is left to be replaced: a restore is the
        // way out of a damaged practice.
        if (openHandle(m_handle, live, SQLITE_OPEN_READWRITE) == SQLITE_OK) {
            sqlite3_busy_timeout(m_handle.db, std::min(2000, Connection::busyWait()));
            // A file another tool put in write-ahead logging goes back to the rollback journal,
            // which folds the log into the file and removes it.
            if (mode() == QLatin1String("wal")
                && (isBusy(run("PRAGMA journal_mode = DELETE"))
                    || mode() != QLatin1String("delete")))
                throw inUse();
            if (isBusy(run("BEGIN EXCLUSIVE")))
                throw inUse();
        }
        for (const char *suffix : {"-journal", "-wal"})
            if (QFileInfo::exists(live + QLatin1String(suffix)))
                throw inUse();
    }
    ~LiveLock()
    {
        if (m_handle.db)
            run("ROLLBACK");
    }
    LiveLock(const LiveLock &) = delete;
    LiveLock &operator=(const LiveLock &) = delete;

private:
    static bool isBusy(int rc)
    {
        return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
    }
    int run(const char *sql)
    {
        char *err = nullptr;
        const int rc = sqlite3_exec(m_handle.db, sql, nullptr, nullptr, &err);
        sqlite3_free(err);
        return rc;
    }
    QString mode()
    {
        QString out;
        sqlite3_exec(
            m_handle.db, "PRAGMA journal_mode",
            [](void *to, int, char **values, char **) {
                *static_cast<QString *>(to) = QString::fromUtf8(values[0]).toLower();
                return 0;
            },
            &out, nullptr);
        if (out.isEmpty() && isBusy(sqlite3_errcode(m_handle.db)))
            throw inUse();
        return out;
    }

    Handle m_handle;
};

// Set-aside names that are second names of data.mdb itself: a restore stopped between setting
// the old file aside and the rename left them, and they would take the name of a practice kept
// from before a restore that never happened.
void forgetSecondNames(const QString &folder, const QString &live)
{
    struct stat current {};
    if (::stat(native(live).constData(), &current) != 0)
        return;
    const QStringList names
        = QDir(folder).entryList({QLatin1String(kSetAsidePrefix) + QStringLiteral("*.mdb")},
                                 QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QString path = QDir(folder).filePath(name);
        struct stat other {};
        if (::lstat(native(path).constData(), &other) == 0 && other.st_dev == current.st_dev
            && other.st_ino == current.st_ino)
            ::unlink(native(path).constData());
    }
}

// The old data.mdb under its set-aside name; the name goes again unless the copy took data.mdb's
// place.
class SetAside {
public:
    SetAside(const QString &live, const QString &folder, const QDateTime &when)
    {
        const QString base = QLatin1String(kSetAsidePrefix) + stamp(when, "yyyy-MM-dd-HHmmss");
        m_path = QDir(folder).filePath(base + QStringLiteral(".mdb"));
        for (int n = 2; QFileInfo::exists(m_path); ++n)
            m_path = QDir(folder).filePath(base + QStringLiteral("-%1.mdb").arg(n));
        if (::link(native(live).constData(), native(m_path).constData()) != 0) {
            const int error = errno;
            if (error == ENOSPC || error == EROFS || error == EACCES)
                throw BackupError(error == ENOSPC ? Failure::DiskFull : Failure::NotWritable,
                                  QStringLiteral("data.mdb could not be set aside: %1")
                                      .arg(systemMessage(error)));
            // A file system without hard links (a FAT disk, some network shares): a copy of the
            // old file, taken while it is locked, written under a temporary name first.
            const QString part
                = QDir(folder).filePath(QLatin1Char('.') + base + QStringLiteral(".part"));
            try {
                copyFile(live, part);
            } catch (...) {
                QFile::remove(part);
                throw;
            }
            if (::rename(native(part).constData(), native(m_path).constData()) != 0) {
                const int renameError = errno;
                QFile::remove(part);
                throw BackupError(Failure::NotWritable,
                                  QStringLiteral("data.mdb could not be set aside: %1")
                                      .arg(systemMessage(renameError)));
            }
        }
        // Some file systems refuse to sync a folder; the names then reach the disk in their
        // own time, and data.mdb is still one of the two practices whichever order they take.
        syncPath(folder, true);
    }
    ~SetAside()
    {
        if (!m_kept)
            ::unlink(native(m_path).constData());
    }
    SetAside(const SetAside &) = delete;
    SetAside &operator=(const SetAside &) = delete;

    QString path() const { return m_path; }
    void keep() { m_kept = true; }

private:
    QString m_path;
    bool m_kept = false;
};

} // namespace

QString restoreFile(const QString &backupFile, const QString &practiceFolder, const QDateTime &when)
{
    if (EngineSettings::read(practiceFolder).engine != Engine::SQLite)
        throw BackupError(Failure::Source,
                          QStringLiteral("The practice keeps its data on a server."));
    Figures figures;
    {
        Connection backup;
        openChecked(backupFile, backup);
        figures = fileFigures(backup);
    }

    // A checked copy of the backup beside data.mdb first, so that the swap is a rename on one
    // disk and a full disk is found before anything moves.
    const QString live = QDir(practiceFolder).filePath(QStringLiteral("data.mdb"));
    TempCopy temp(practiceFolder, QStringLiteral("data.mdb.restoring")); // kRestoringName
    copyFile(backupFile, temp.path());
    done("copied");
    verify(temp.path(), figures, QStringLiteral("in the backup"));
    done("checked");

    const LiveLock lock(live);
    forgetSecondNames(practiceFolder, live);
    std::optional<SetAside> aside;
    if (QFileInfo::exists(live))
        aside.emplace(live, practiceFolder, when);
    done("set aside");

    if (::rename(native(temp.path()).constData(), native(live).constData()) != 0) {
        const int error = errno;
        throw BackupError(
            Failure::NotWritable,
            QStringLiteral("The backup could not be put in place: %1").arg(systemMessage(error)));
    }
    temp.release();
    if (aside)
        aside->keep();
    done("replaced");
    syncPath(practiceFolder, true);
    done("synced");
    return aside ? aside->path() : QString();
}

void setRestoreStepHook(std::function<void(const char *step)> hook)
{
    g_stepHook = std::move(hook);
}

} // namespace PracticeBackup
