#include "practicesettings.h"

#include "connection.h"
#include "recordset.h"
#include "schema.h"

#include <algorithm>

namespace PracticeSettings {

namespace {

const QString kTable = QString::fromLatin1(Schema::kSettingsTable);

} // namespace

QString value(Connection &connection, const QString &name, const QString &defaultValue)
{
    if (!Schema::hasTable(connection, kTable))
        return defaultValue;
    QString quoted = name;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    Query q(connection);
    q.setSql(QStringLiteral("SELECT TIMH FROM %1 WHERE ONOMA='%2'").arg(kTable, quoted));
    q.open();
    return q.rowCount() > 0 ? q.value(0, 0).toString() : defaultValue;
}

void setValue(Connection &connection, const QString &name, const QString &value)
{
    connection.executeNative(Schema::settingsTableStatement(connection.engine()));
    Transaction t(connection);
    connection.executeNative(QStringLiteral("DELETE FROM %1 WHERE ONOMA=?").arg(kTable), {name});
    connection.executeNative(QStringLiteral("INSERT INTO %1 (ONOMA, TIMH) VALUES (?, ?)").arg(kTable),
                             {name, value});
    t.commit();
}

int lockMinutes(Connection &connection)
{
    bool ok = false;
    const int minutes = value(connection, QLatin1String(kLockMinutesName), QString())
                            .trimmed()
                            .toInt(&ok);
    // A value written by hand out of range is not taken: the practice stays protected.
    if (!ok || minutes < 0 || minutes > kMaxLockMinutes)
        return kDefaultLockMinutes;
    return minutes;
}

void setLockMinutes(Connection &connection, int minutes)
{
    setValue(connection, QLatin1String(kLockMinutesName),
             QString::number(std::clamp(minutes, 0, kMaxLockMinutes)));
}

} // namespace PracticeSettings
