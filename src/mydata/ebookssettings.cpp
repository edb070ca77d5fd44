#include "ebookssettings.h"

#include "connection.h"
#include "recordset.h"
#include "schema.h"

namespace MyData {

namespace {

const QString kTable = QString::fromLatin1(Schema::kEbooksSettingsTable);

} // namespace

EbooksSettings EbooksSettings::read(Connection &connection)
{
    EbooksSettings s;
    if (!Schema::hasTable(connection, kTable))
        return s;
    Query q(connection);
    q.setSql(QStringLiteral("SELECT ONOMA, TIMH FROM %1").arg(kTable));
    q.open();
    for (int row = 0; row < q.rowCount(); ++row) {
        const QString name = q.value(row, 0).toString();
        const QString value = q.value(row, 1).toString();
        if (name == QLatin1String("enabled"))
            s.enabled = value == QLatin1String("1");
        else if (name == QLatin1String("production"))
            s.production = value == QLatin1String("1");
        else if (name == QLatin1String("user"))
            s.user = value;
        else if (name == QLatin1String("series"))
            s.series = value;
        else if (name == QLatin1String("treatment"))
            s.treatment = value == QLatin1String("taxable") ? VatTreatment::Taxable
                                                            : VatTreatment::Exempt;
        else if (name == QLatin1String("payment") && isKnownPaymentMethod(value.toInt()))
            s.paymentMethod = value.toInt();
    }
    return s;
}

void EbooksSettings::write(Connection &connection) const
{
    for (const QString &sql : Schema::ebooksTableStatements(connection.engine()))
        connection.executeNative(sql);
    const std::pair<const char *, QString> values[] = {
        {"enabled", enabled ? QStringLiteral("1") : QStringLiteral("0")},
        {"production", production ? QStringLiteral("1") : QStringLiteral("0")},
        {"user", user},
        {"series", series},
        {"treatment", treatment == VatTreatment::Taxable ? QStringLiteral("taxable")
                                                         : QStringLiteral("exempt")},
        {"payment", QString::number(paymentMethod)},
    };
    Transaction t(connection);
    connection.executeNative(QStringLiteral("DELETE FROM %1").arg(kTable));
    for (const auto &[name, value] : values)
        connection.executeNative(QStringLiteral("INSERT INTO %1 (ONOMA, TIMH) VALUES (?, ?)")
                                     .arg(kTable),
                                 {QString::fromLatin1(name), value});
    t.commit();
}

QUrl EbooksSettings::serviceUrl() const
{
    return QUrl(QString::fromLatin1(production ? kProductionServiceUrl : kTestServiceUrl));
}

ServiceSettings EbooksSettings::service(const QString &key) const
{
    return ServiceSettings{serviceUrl(), user, key, 30000};
}

} // namespace MyData
