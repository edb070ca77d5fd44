#pragma once

#include "connection.h"
#include "program.h"
#include "serversession.h"

#include <QString>
#include <QStringList>
#include <sqlite3.h>

// What must hold in a practice file however a program issuing receipts ended: the file is
// sound, every receipt has its payment row and every payment its receipt, no number is used
// twice, and the counter is one past the highest number issued.
namespace ReceiptChecks {

// The first column of the first row of a statement in the engine's own dialect. A server keeps
// its own files sound, so the file's integrity check stands as "ok" there.
inline QString nativeValue(Connection &connection, const QString &sql)
{
    if (ServerSession *server = connection.server()) {
        if (sql.startsWith(QLatin1String("PRAGMA integrity_check")))
            return QStringLiteral("ok");
        const ServerSession::Result r
            = server->run(QString(sql).replace(QLatin1String("[LAST]"), QLatin1String("last")));
        return r.rows.empty() ? QStringLiteral("<no row>") : r.rows[0][0].toString();
    }
    PreparedStatement statement = connection.prepare(sql);
    if (sqlite3_step(statement.get()) != SQLITE_ROW)
        return QStringLiteral("<no row: %1>")
            .arg(QString::fromUtf8(sqlite3_errmsg(connection.handle())));
    const unsigned char *text = sqlite3_column_text(statement.get(), 0);
    return text ? QString::fromUtf8(reinterpret_cast<const char *>(text)) : QString();
}

// Every broken rule, as text; empty when the file is as it must be. firstNumber is the
// counter's value before any receipt was issued.
inline QStringList broken(qint64 firstNumber)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    QStringList faults;
    const auto expect = [&](const QString &what, const QString &sql, const QString &wanted) {
        const QString got = nativeValue(c, sql);
        if (got != wanted)
            faults << QStringLiteral("%1: %2 (expected %3)").arg(what, got, wanted);
    };
    expect("integrity", "PRAGMA integrity_check", "ok");
    expect("receipts without payment",
           "SELECT COUNT(*) FROM APODEIKSEIS a WHERE NOT EXISTS (SELECT 1 FROM EISPRAKSH_PELATH "
           "e WHERE CAST(e.AR_APODEIKSHS AS INTEGER)=CAST(a.AR_APODEIKSHS AS INTEGER))",
           "0");
    expect("payments without receipt",
           "SELECT COUNT(*) FROM EISPRAKSH_PELATH e WHERE NOT EXISTS (SELECT 1 FROM APODEIKSEIS "
           "a WHERE CAST(e.AR_APODEIKSHS AS INTEGER)=CAST(a.AR_APODEIKSHS AS INTEGER))",
           "0");
    expect("receipt numbers used twice",
           "SELECT COUNT(*)-COUNT(DISTINCT CAST(AR_APODEIKSHS AS INTEGER)) FROM APODEIKSEIS", "0");
    expect("payment numbers used twice",
           "SELECT COUNT(*)-COUNT(DISTINCT CAST(AR_APODEIKSHS AS INTEGER)) FROM EISPRAKSH_PELATH",
           "0");
    expect("counter rows", "SELECT COUNT(*) FROM LAST_APODEIKSH", "1");
    const QString highest
        = nativeValue(c,
                      QStringLiteral(
                          "SELECT COALESCE(MAX(CAST(AR_APODEIKSHS AS INTEGER)), %1) FROM "
                          "APODEIKSEIS")
                          .arg(firstNumber - 1));
    expect("counter", "SELECT CAST([LAST] AS INTEGER) FROM LAST_APODEIKSH",
           QString::number(highest.toLongLong() + 1));
    return faults;
}

inline int receiptCount()
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    return nativeValue(c, "SELECT COUNT(*) FROM APODEIKSEIS").toInt();
}

// Whether the receipt with this number is in the file.
inline bool hasReceipt(Connection &c, qint64 number)
{
    return nativeValue(c,
                       QStringLiteral("SELECT COUNT(*) FROM APODEIKSEIS WHERE "
                                      "CAST(AR_APODEIKSHS AS INTEGER)=%1")
                           .arg(number))
        == "1";
}

} // namespace ReceiptChecks
