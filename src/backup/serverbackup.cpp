#include "serverbackup.h"

#include "backupchecks.h"
#include "connection.h"
#include "practicecopy.h"
#include "schema.h"
#include "serversession.h"

#include <QElapsedTimer>
#include <QFile>

#include <memory>
#include <sqlite3.h>
#include <vector>

namespace PracticeBackup {

using namespace Detail;

namespace {

void bind(sqlite3 *db, sqlite3_stmt *stmt, const std::vector<QVariant> &values)
{
    for (int i = 0; i < int(values.size()); ++i) {
        const QVariant &v = values[size_t(i)];
        int rc;
        if (!v.isValid() || v.isNull())
            rc = sqlite3_bind_null(stmt, i + 1);
        else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int
                 || v.typeId() == QMetaType::Bool)
            rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
        else if (v.typeId() == QMetaType::Double)
            rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
        else {
            const QByteArray text = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            throw writeError(db, rc, QStringLiteral("A value could not be copied"));
    }
}

} // namespace

Outcome Detail::backUpServer(ServerSession &server, const QString &destinationFolder,
                     const QDateTime &when, const Progress &progress)
{
    QElapsedTimer clock;
    clock.start();
    TempCopy temp(destinationFolder, fileName(when));
    // The new copy starts as a practice in its delivered state, then takes the server's rows.
    QFile::remove(temp.path());
    try {
        Schema::createPracticeDatabase(temp.path(), password());
    } catch (const DbError &e) {
        throw BackupError(writeFailure(e.code()),
                          QStringLiteral("The copy could not be written: %1").arg(e.message()));
    }
    Handle destination;
    openDestination(destination, temp);
    exec(destination.db, QStringLiteral("PRAGMA synchronous = FULL"));
    exec(destination.db, QStringLiteral("BEGIN"));
    exec(destination.db, QStringLiteral("DELETE FROM SECURITY"));

    // One reading of the server database: every table and every figure as of the same moment,
    // whatever the workstations write meanwhile.
    server.run(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    struct EndReading {
        ServerSession &s;
        ~EndReading()
        {
            try {
                if (s.inTransaction())
                    s.run(QStringLiteral("ROLLBACK"));
            } catch (const DbError &) {}
        }
    } endReading {server};

    const QList<PracticeCopy::TableShape> shapes = PracticeCopy::tables();
    Figures figures;
    qint64 total = 0;
    QElapsedTimer reading;
    reading.start();
    for (const PracticeCopy::TableShape &shape : shapes) {
        figures << PracticeCopy::serverFigures(server, shape);
        total += figures.last().value(0).toLongLong();
    }
    const qint64 figuresMs = reading.elapsed();
    qint64 done = 0;
    for (const PracticeCopy::TableShape &shape : shapes) {
        if (!PracticeCopy::serverHasTable(server, shape.name))
            continue; // a database made before the table: nothing to copy
        QStringList serverNames, fileNames, marks;
        for (const QString &c : shape.columns) {
            serverNames << QLatin1Char('"') + c.toLower() + QLatin1Char('"');
            fileNames << QLatin1Char('"') + c + QLatin1Char('"');
            marks << QStringLiteral("?");
        }
        const QByteArray insert = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                      .arg(shape.name, fileNames.join(QLatin1Char(',')),
                                           marks.join(QLatin1Char(',')))
                                      .toUtf8();
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(destination.db, insert.constData(), -1, &stmt, nullptr)
            != SQLITE_OK) {
            sqlite3_finalize(stmt);
            throw writeError(destination.db, sqlite3_extended_errcode(destination.db),
                             QString::fromUtf8(insert));
        }
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> owned(stmt, sqlite3_finalize);
        server.run(QStringLiteral("DECLARE orv_backup NO SCROLL CURSOR FOR SELECT %1 FROM \"%2\" "
                                  "ORDER BY rowid")
                       .arg(serverNames.join(QLatin1Char(',')), shape.name.toLower()));
        for (;;) {
            const ServerSession::Result rows
                = server.run(QStringLiteral("FETCH %1 FROM orv_backup").arg(kRowsPerFetch));
            for (const std::vector<QVariant> &row : rows.rows) {
                bind(destination.db, stmt, row);
                const int rc = sqlite3_step(stmt);
                if (rc != SQLITE_DONE)
                    throw writeError(destination.db, sqlite3_extended_errcode(destination.db),
                                     QStringLiteral("%1 could not be copied").arg(shape.name));
                sqlite3_reset(stmt);
            }
            done += qint64(rows.rows.size());
            if (progress)
                progress(done, total);
            if (rows.rows.size() < size_t(kRowsPerFetch))
                break;
        }
        server.run(QStringLiteral("CLOSE orv_backup"));

        // A new patient or note in the restored practice never takes an ID the server gave.
        if (PracticeCopy::hasCounter(shape.name)) {
            const qlonglong given
                = server
                      .run(QStringLiteral("SELECT coalesce(pg_sequence_last_value("
                                          "pg_get_serial_sequence('%1', 'id')), 0)")
                               .arg(shape.name.toLower()))
                      .rows.at(0)
                      .at(0)
                      .toLongLong();
            exec(destination.db,
                 QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT '%1', 0 WHERE NOT "
                                "EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = '%1')")
                     .arg(shape.name));
            exec(destination.db,
                 QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, %1) WHERE name = '%2'")
                     .arg(given)
                     .arg(shape.name));
        }
    }
    markTaken(destination.db, when);
    exec(destination.db, QStringLiteral("COMMIT"));
    if (progress)
        progress(0, 0);
    server.run(QStringLiteral("COMMIT"));
    return finish(destination, temp, clock, figures, figuresMs, QStringLiteral("on the server"));
}

QString restoreToServer(const QString &backupFile, const QString &serverConnection,
                        const QDateTime &when)
{
    {
        Connection backup;
        openChecked(backupFile, backup);
    }
    const QString name = QStringLiteral("orvanta_restored_") + stamp(when, "yyyyMMdd_HHmmss");
    ServerSession admin(serverConnection);
    admin.run(QStringLiteral("CREATE DATABASE ") + name);
    const QString target = serverConnection + QStringLiteral(" dbname=") + name;
    try {
        PracticeCopy::copyFileToServer(backupFile, target);
    } catch (const DbError &e) {
        try {
            admin.run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (const DbError &) {}
        throw BackupError(Failure::Verification, e.message());
    }
    return target;
}

} // namespace PracticeBackup
