#include "receiptrate.h"

#include "connection.h"
#include "recordset.h"
#include "schema.h"

namespace ReceiptRate {

void keep(Connection &connection, qint64 number, const Decimal &rate)
{
    // Created only when missing: a workstation's user may write the tables without the right
    // to create any, and on a server the question is asked once per session.
    if (!Schema::hasTable(connection, QLatin1String(Schema::kReceiptRateTable))) {
        for (const QString &sql : Schema::receiptRateTableStatements(connection.engine()))
            connection.executeNative(sql);
    }
    connection.executeNative(QStringLiteral("INSERT INTO %1 (AR_APODEIKSHS, VAT_RATIO) VALUES "
                                            "(?, ?)")
                                 .arg(QLatin1String(Schema::kReceiptRateTable)),
                             {number, rate.toDouble()});
}

std::optional<Decimal> issuedWith(Connection &connection, qint64 number)
{
    if (!Schema::hasTable(connection, QLatin1String(Schema::kReceiptRateTable)))
        return std::nullopt;
    Query q(connection);
    q.setSql(printSql(number));
    q.open();
    return q.rowCount() > 0 ? Decimal::fromVariant(q.value(0, 0)) : std::nullopt;
}

QString printSql(qint64 number)
{
    return QStringLiteral("SELECT VAT_RATIO FROM %1 WHERE AR_APODEIKSHS=%2")
        .arg(QLatin1String(Schema::kReceiptRateTable))
        .arg(number);
}

} // namespace ReceiptRate
