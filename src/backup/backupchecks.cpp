#include "backupchecks.h"

#include "connection.h"
#include "connectionstring.h"
#include "practicecopy.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace PracticeBackup::Detail {

std::function<void(sqlite3 *)> g_destinationHook;

QString password()
{
    return QLatin1String(ConnectionString::kDatabasePassword);
}

QString stamp(const QDateTime &when, const char *format)
{
    return when.toString(QLatin1String(format));
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

int Handle::close()
{
    const int rc = db ? sqlite3_close(db) : SQLITE_OK;
    db = nullptr;
    return rc;
}

int openHandle(Handle &h, const QString &path, int flags)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &h.db, flags, nullptr);
    if (h.db)
        sqlite3_extended_result_codes(h.db, 1);
    return rc;
}

// Makes what was written to the file (or to the folder's list of names) reach the disk.
bool syncPath(const QString &path, bool folder)
{
    const int fd = ::open(QFile::encodeName(path).constData(), folder ? O_RDONLY : O_RDWR);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

TempCopy::TempCopy(const QString &folder, const QString &finalName)
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

TempCopy::~TempCopy()
{
    if (!m_done)
        removeFiles();
}

void TempCopy::commit()
{
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_final).constData())
        != 0) {
        const int error = errno;
        throw BackupError(Failure::NotWritable,
                          QStringLiteral("The copy could not be named '%1': %2")
                              .arg(m_final, QString::fromLocal8Bit(std::strerror(error))));
    }
    m_done = true;
    syncPath(m_folder, true);
}

void TempCopy::removeFiles()
{
    QFile::remove(m_path);
    QFile::remove(m_path + QStringLiteral("-journal"));
}

Figures fileFigures(Connection &file)
{
    Figures out;
    for (const PracticeCopy::TableShape &shape : PracticeCopy::tables())
        out << PracticeCopy::fileFigures(file, shape);
    return out;
}

namespace {

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

} // namespace

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

} // namespace PracticeBackup::Detail
