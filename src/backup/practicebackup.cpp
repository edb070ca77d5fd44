#include "practicebackup.h"

#include "connection.h"
#include "connectionstring.h"
#include "engine.h"
#include "practicecopy.h"
#include "schema.h"
#include "serversession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <utility>

namespace PracticeBackup {

namespace {

std::function<void(sqlite3 *)> g_destinationHook;

// Pages copied per step of the engine's backup: small enough to report progress often.
constexpr int kPagesPerStep = 2048;
// Rows read from a server per fetch.
constexpr int kRowsPerFetch = 5000;

QString password()
{
    return QLatin1String(ConnectionString::kDatabasePassword);
}

// The failure a result code of the engine means for a copy being written.
Failure writeFailure(int code)
{
    switch (code & 0xff) {
    case SQLITE_FULL:
        return Failure::DiskFull;
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Failure::NotWritable;
    default:
        return Failure::Verification;
    }
}

BackupError writeError(sqlite3 *db, int code, const QString &what)
{
    return BackupError(writeFailure(code),
                       QStringLiteral("%1: %2").arg(what, QString::fromUtf8(sqlite3_errmsg(db))));
}

// One statement of our own on a handle, run to its end; a refusal is thrown as a write failure.
void exec(sqlite3 *db, const QString &sql)
{
    char *err = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        throw writeError(db, sqlite3_extended_errcode(db), sql);
}

// A handle of the engine that closes itself.
struct Handle {
    sqlite3 *db = nullptr;
    Handle() = default;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { close(); }
    int close()
    {
        const int rc = db ? sqlite3_close(db) : SQLITE_OK;
        db = nullptr;
        return rc;
    }
};

int openHandle(Handle &h, const QString &path, int flags)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &h.db, flags, nullptr);
    if (h.db)
        sqlite3_extended_result_codes(h.db, 1);
    return rc;
}

// Makes what was written to the file (or to the folder's list of names) reach the disk.
bool syncPath(const QString &path, bool folder = false)
{
    const int fd = ::open(QFile::encodeName(path).constData(), folder ? O_RDONLY : O_RDWR);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The copy under its temporary name in the destination folder; removed (with any journal the
// engine left) unless it was given its final name.
class TempCopy {
public:
    TempCopy(const QString &folder, const QString &finalName)
        : m_folder(folder)
        , m_final(QDir(folder).filePath(finalName))
        , m_path(QDir(folder).filePath(QLatin1Char('.') + finalName + QStringLiteral(".part")))
    {
        const QFileInfo dir(folder);
        if (!dir.isDir())
            throw BackupError(Failure::NotWritable,
                              QStringLiteral("The folder '%1' does not exist.").arg(folder));
        removeFiles();
        // Created here, so that a folder that may not be written is told apart from a copy
        // that fails later.
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_CREAT | O_EXCL | O_WRONLY,
                              0644);
        if (fd < 0) {
            const int error = errno;
            throw BackupError(error == ENOSPC ? Failure::DiskFull : Failure::NotWritable,
                              QStringLiteral("The folder '%1' cannot be written: %2")
                                  .arg(folder, QString::fromLocal8Bit(std::strerror(error))));
        }
        ::close(fd);
    }
    ~TempCopy()
    {
        if (!m_done)
            removeFiles();
    }
    TempCopy(const TempCopy &) = delete;
    TempCopy &operator=(const TempCopy &) = delete;

    QString path() const { return m_path; }
    QString finalPath() const { return m_final; }

    // Gives the checked copy its final name, replacing a copy of the same minute.
    void commit()
    {
        if (::rename(QFile::encodeName(m_path).constData(),
                     QFile::encodeName(m_final).constData())
            != 0) {
            const int error = errno;
            throw BackupError(Failure::NotWritable,
                              QStringLiteral("The copy could not be named '%1': %2")
                                  .arg(m_final, QString::fromLocal8Bit(std::strerror(error))));
        }
        m_done = true;
        syncPath(m_folder, true);
    }

private:
    void removeFiles()
    {
        QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
    }

    QString m_folder;
    QString m_final;
    QString m_path;
    bool m_done = false;
};

// The figures of every table, in the order of PracticeCopy::tables().
using Figures = QList<QVariantList>;

Figures fileFigures(Connection &file)
{
    Figures out;
    for (const PracticeCopy::TableShape &shape : PracticeCopy::tables())
        out << PracticeCopy::fileFigures(file, shape);
    return out;
}

// The first column of the first row of a statement of our own, as text; throws the engine's
// failure as a DbError with its code.
QString firstValue(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(sql),
                      sqlite3_extended_errcode(db));
    }
    const int rc = sqlite3_step(stmt);
    QString value;
    if (rc == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        value = text ? QString::fromUtf8(text) : QString();
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(sql),
                      sqlite3_extended_errcode(db));
    return value;
}

// Opens a file that should be a practice of this program, read-only, after checking in turn
// that it is a database file, that it is sound, that it is ours and that it has the practice's
// database password.
void openChecked(const QString &path, Connection &practice)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BackupError(Failure::NotSqlite,
                          QStringLiteral("The file '%1' cannot be read.").arg(path));
    if (file.read(16) != QByteArray("SQLite format 3\0", 16) || file.size() < 512)
        throw BackupError(Failure::NotSqlite,
                          QStringLiteral("The file '%1' is not a database file.").arg(path));
    file.close();

    Handle raw;
    if (openHandle(raw, path, SQLITE_OPEN_READONLY) != SQLITE_OK)
        throw BackupError(Failure::Damaged, QStringLiteral("The file '%1' cannot be opened: %2")
                                                .arg(path, QString::fromUtf8(
                                                               sqlite3_errmsg(raw.db))));
    try {
        const QString integrity = firstValue(raw.db, "PRAGMA integrity_check");
        if (integrity != QLatin1String("ok"))
            throw BackupError(Failure::Damaged,
                              QStringLiteral("The file '%1' is damaged: %2").arg(path, integrity));
        if (firstValue(raw.db, "PRAGMA application_id").toInt() != Schema::kApplicationId)
            throw BackupError(Failure::NotPractice,
                              QStringLiteral("The file '%1' is not a practice file.").arg(path));
    } catch (const BackupError &) {
        throw;
    } catch (const DbError &e) {
        throw BackupError((e.code() & 0xff) == SQLITE_NOTADB ? Failure::NotSqlite
                                                              : Failure::Damaged,
                          QStringLiteral("The file '%1' is damaged: %2").arg(path, e.message()));
    }
    QString stored;
    try {
        stored = firstValue(raw.db, "SELECT VALUE FROM ORVANTA_FILE WHERE NAME = 'password'");
    } catch (const DbError &) {
        throw BackupError(Failure::NotPractice,
                          QStringLiteral("The file '%1' is not a practice file.").arg(path));
    }
    if (stored != password())
        throw BackupError(Failure::WrongPassword,
                          QStringLiteral("The file '%1' has another database password.").arg(path));
    raw.close();
    try {
        practice.openPracticeFile(path, password(), true);
    } catch (const DbError &e) {
        throw BackupError(Failure::Damaged, QStringLiteral("The file '%1' does not open as a "
                                                           "practice: %2")
                                                .arg(path, e.message()));
    }
}

// The checks of a new copy against the figures of the reading it was made from.
QStringList verify(const QString &path, const Figures &source, const QString &sourceSide)
{
    Connection copy;
    try {
        openChecked(path, copy);
    } catch (const BackupError &e) {
        throw BackupError(Failure::Verification, e.message());
    }
    QStringList lines;
    const QList<PracticeCopy::TableShape> shapes = PracticeCopy::tables();
    for (int i = 0; i < shapes.size(); ++i) {
        QVariantList got;
        try {
            got = PracticeCopy::fileFigures(copy, shapes[i]);
        } catch (const DbError &e) {
            throw BackupError(Failure::Verification, e.message());
        }
        const QString differs = PracticeCopy::difference(shapes[i], source.value(i), got,
                                                         sourceSide, QStringLiteral("in the copy"));
        if (!differs.isEmpty())
            throw BackupError(Failure::Verification, differs);
        lines << PracticeCopy::rowsLine(shapes[i].name, got.value(0).toLongLong());
    }
    return lines;
}

// Notes in the copy when it was taken (the marker table is not among the tables copied).
void markTaken(sqlite3 *db, const QDateTime &when)
{
    exec(db, QStringLiteral("INSERT OR REPLACE INTO ORVANTA_FILE VALUES ('backup taken', '%1')")
                 .arg(when.toString(Qt::ISODate)));
}

void closeAndSync(Handle &destination, const TempCopy &temp)
{
    const int rc = destination.close();
    if (rc != SQLITE_OK)
        throw BackupError(writeFailure(rc), QStringLiteral("The copy could not be closed: %1")
                                                .arg(QString::fromUtf8(sqlite3_errstr(rc))));
    if (!syncPath(temp.path()))
        throw BackupError(Failure::DiskFull,
                          QStringLiteral("The copy could not be written to the disk: %1")
                              .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

void openDestination(Handle &destination, const TempCopy &temp)
{
    if (const int rc = openHandle(destination, temp.path(), SQLITE_OPEN_READWRITE);
        rc != SQLITE_OK)
        throw writeError(destination.db, rc, QStringLiteral("The copy cannot be written"));
    if (g_destinationHook)
        g_destinationHook(destination.db);
}

// The written copy closed, synced and checked against the figures of its reading, then named.
// Reading the source's figures (figuresMs of the time so far) counts as checking, not copying.
Outcome finish(Handle &destination, TempCopy &temp, QElapsedTimer &clock, const Figures &figures,
               qint64 figuresMs, const QString &sourceSide)
{
    closeAndSync(destination, temp);
    Outcome out;
    out.copyMs = clock.restart() - figuresMs;
    out.tables = verify(temp.path(), figures, sourceSide);
    out.verifyMs = clock.elapsed() + figuresMs;
    temp.commit();
    out.path = temp.finalPath();
    out.bytes = QFileInfo(out.path).size();
    return out;
}

Outcome backUpFile(Connection &source, const QString &destinationFolder, const QDateTime &when,
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

Outcome backUpServer(ServerSession &server, const QString &destinationFolder,
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

QString stamp(const QDateTime &when, const char *format)
{
    return when.toString(QLatin1String(format));
}

} // namespace

QString fileName(const QDateTime &when)
{
    return QStringLiteral("orvanta-") + stamp(when, "yyyy-MM-dd-HHmm") + QStringLiteral(".mdb");
}

QDateTime timeOfName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^orvanta-(\\d{4}-\\d{2}-\\d{2}-\\d{4})\\.mdb$"));
    const QRegularExpressionMatch m = pattern.match(name);
    if (!m.hasMatch())
        return {};
    return QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd-HHmm"));
}

Outcome backUp(const QString &practiceFolder, const QString &destinationFolder,
               const QDateTime &when, const Progress &progress)
{
    Connection source;
    try {
        source.setUp(ConnectionString::build(practiceFolder), true);
    } catch (const DbError &e) {
        throw BackupError(Failure::Source, e.message());
    }
    try {
        if (ServerSession *server = source.server())
            return backUpServer(*server, destinationFolder, when, progress);
        return backUpFile(source, destinationFolder, when, progress);
    } catch (const BackupError &) {
        throw;
    } catch (const DbError &e) {
        // The practice's own engine refused a read (a server lost, a file locked too long).
        throw BackupError(Failure::Source, e.message());
    }
}

Summary inspect(const QString &backupFile)
{
    Connection practice;
    openChecked(backupFile, practice);
    Summary s;
    s.bytes = QFileInfo(backupFile).size();
    const auto value = [&](const QString &sql) {
        const PreparedStatement stmt = practice.prepare(sql);
        if (sqlite3_step(stmt.get()) != SQLITE_ROW)
            practice.fail(sql);
        return PracticeCopy::fileValue(stmt.get(), 0);
    };
    try {
        s.taken = QDateTime::fromString(
            value(QStringLiteral("SELECT (SELECT VALUE FROM ORVANTA_FILE WHERE NAME = "
                                 "'backup taken')"))
                .toString(),
            Qt::ISODate);
        s.patients = value(QStringLiteral("SELECT count(*) FROM STOIXEIA_PELATH")).toLongLong();
        s.receipts = value(QStringLiteral("SELECT count(*) FROM APODEIKSEIS")).toLongLong();
        s.lastReceipt = value(QStringLiteral("SELECT max(AR_APODEIKSHS) FROM APODEIKSEIS"))
                            .toString();
    } catch (const DbError &e) {
        throw BackupError(Failure::Damaged, e.message());
    }
    if (!s.taken.isValid())
        s.taken = QFileInfo(backupFile).lastModified();
    return s;
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

void setDestinationHook(std::function<void(sqlite3 *)> hook)
{
    g_destinationHook = std::move(hook);
}

} // namespace PracticeBackup
