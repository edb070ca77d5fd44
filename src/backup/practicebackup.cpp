#include "practicebackup.h"

#include "backupchecks.h"
#include "connection.h"
#include "connectionstring.h"
#include "filebackup.h"
#include "practicecopy.h"
#include "serverbackup.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>
#include <utility>

namespace PracticeBackup {

using namespace Detail;

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

void setDestinationHook(std::function<void(sqlite3 *)> hook)
{
    g_destinationHook = std::move(hook);
}

} // namespace PracticeBackup
