#include "filebackup.h"

#include "backupchecks.h"
#include "connection.h"
#include "engine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

namespace PracticeBackup {

using namespace Detail;

Outcome Detail::backUpFile(Connection &source, const QString &destinationFolder, const QDateTime &when,
                   const Progress &progress)
{
    QElapsedTimer clock;
    clock.start();
    TempCopy temp(destinationFolder, fileName(when));
    Handle destination;
    openDestination(destination, temp);

    // One reading of the file: the transaction's first read takes the file's shared lock and
    // keeps it until the end, so that the pages copied and the figures the copy is checked
    // against are of the same state. Another program's open write transaction goes on; its
    // commit waits for the lock, as for any reader.
    Figures figures;
    qint64 figuresMs = 0;
    {
        source.executeNative(QStringLiteral("BEGIN"));
        struct EndReading {
            Connection &c;
            ~EndReading()
            {
                try {
                    c.rollback();
                } catch (const DbError &) {}
            }
        } endReading {source};
        source.executeNative(QStringLiteral("SELECT count(*) FROM sqlite_master"));

        sqlite3_backup *backup
            = sqlite3_backup_init(destination.db, "main", source.handle(), "main");
        if (!backup)
            throw writeError(destination.db, sqlite3_extended_errcode(destination.db),
                             QStringLiteral("The copy cannot be started"));
        int rc;
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            rc = sqlite3_backup_step(backup, kPagesPerStep);
            if (progress) {
                const int total = sqlite3_backup_pagecount(backup);
                progress(total - sqlite3_backup_remaining(backup), total);
            }
            if (rc == SQLITE_OK)
                continue;
            if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                && waited.elapsed() < Connection::busyWait()) {
                QThread::msleep(5);
                continue;
            }
            break;
        }
        const int finished = sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE || finished != SQLITE_OK) {
            const int code = rc != SQLITE_DONE ? rc : finished;
            throw BackupError(writeFailure(code),
                              QStringLiteral("The copy could not be written: %1")
                                  .arg(QString::fromUtf8(sqlite3_errstr(code))));
        }
        markTaken(destination.db, when);
        if (progress)
            progress(0, 0);
        QElapsedTimer reading;
        reading.start();
        figures = fileFigures(source);
        figuresMs = reading.elapsed();
    }
    return finish(destination, temp, clock, figures, figuresMs, QStringLiteral("in the practice"));
}

QString restoreFile(const QString &backupFile, const QString &practiceFolder,
                    const QDateTime &when)
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

    // A checked copy of the backup beside data.mdb first, so that the swap is two renames on
    // one disk and a full disk is found before anything moves.
    const QString live = QDir(practiceFolder).filePath(QStringLiteral("data.mdb"));
    TempCopy temp(practiceFolder, QStringLiteral("data.mdb.restoring"));
    {
        QFile in(backupFile);
        QFile out(temp.path());
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw BackupError(Failure::NotWritable,
                              QStringLiteral("The folder '%1' cannot be written.").arg(practiceFolder));
        while (!in.atEnd()) {
            const QByteArray block = in.read(1 << 20);
            if (block.isEmpty() && in.error() != QFileDevice::NoError)
                throw BackupError(Failure::Damaged, in.errorString());
            if (out.write(block) != block.size() || !out.flush())
                throw BackupError(Failure::DiskFull,
                                  QStringLiteral("The copy could not be written: %1")
                                      .arg(out.errorString()));
        }
        out.close();
        if (!syncPath(temp.path()))
            throw BackupError(Failure::DiskFull,
                              QStringLiteral("The copy could not be written to the disk."));
    }
    verify(temp.path(), figures, QStringLiteral("in the backup"));

    // The practice file is locked for the swap, so that no program is half way through writing
    // it; a transaction another program left behind in its journal is rolled back first by the
    // engine, and a journal that stays means a program is still writing.
    Handle lock;
    if (QFileInfo::exists(live)) {
        if (openHandle(lock, live, SQLITE_OPEN_READWRITE) == SQLITE_OK) {
            sqlite3_busy_timeout(lock.db, std::min(2000, Connection::busyWait()));
            char *err = nullptr;
            const int rc = sqlite3_exec(lock.db, "BEGIN EXCLUSIVE", nullptr, nullptr, &err);
            sqlite3_free(err);
            if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
                throw BackupError(Failure::InUse,
                                  QStringLiteral("The practice file is being written by another "
                                                 "program."));
        }
        if (QFileInfo::exists(live + QStringLiteral("-journal")))
            throw BackupError(Failure::InUse,
                              QStringLiteral("The practice file is being written by another "
                                             "program."));
    }
    QString aside;
    if (QFileInfo::exists(live)) {
        const QString base = QStringLiteral("data-before-restore-")
            + stamp(when, "yyyy-MM-dd-HHmmss");
        aside = QDir(practiceFolder).filePath(base + QStringLiteral(".mdb"));
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = QDir(practiceFolder).filePath(base + QStringLiteral("-%1.mdb").arg(n));
        if (::rename(QFile::encodeName(live).constData(), QFile::encodeName(aside).constData())
            != 0)
            throw BackupError(Failure::NotWritable,
                              QStringLiteral("data.mdb could not be moved aside: %1")
                                  .arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
    if (::rename(QFile::encodeName(temp.path()).constData(), QFile::encodeName(live).constData())
        != 0) {
        const int error = errno;
        if (!aside.isEmpty())
            ::rename(QFile::encodeName(aside).constData(), QFile::encodeName(live).constData());
        throw BackupError(Failure::NotWritable,
                          QStringLiteral("The backup could not be put in place: %1")
                              .arg(QString::fromLocal8Bit(std::strerror(error))));
    }
    syncPath(practiceFolder, true);
    return aside;
}

} // namespace PracticeBackup
