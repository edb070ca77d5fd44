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

} // namespace PracticeBackup
