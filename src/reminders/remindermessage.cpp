#include "remindermessage.h"

#include "connection.h"
#include "recordset.h"
#include "remindertexts.h"

#include <QLocale>

namespace Reminders {

Practice practice(Connection &connection)
{
    Query q(connection);
    q.setSql(QStringLiteral("SELECT TITLE, ADDRESS1, ADDRESS2, PHONE FROM INFORMATION"));
    q.open();
    Practice p;
    if (q.rowCount() == 0)
        return p;
    p.name = q.value(0, 0).toString().trimmed();
    QStringList address;
    for (int column : {1, 2})
        if (const QString line = q.value(0, column).toString().trimmed(); !line.isEmpty())
            address << line;
    p.address = address.join(QStringLiteral(", "));
    p.phone = q.value(0, 3).toString().trimmed();
    return p;
}

QString patientName(Connection &connection, qint64 patientId)
{
    Query q(connection);
    q.setSql(QStringLiteral("SELECT EPWNYMO, ONOMA FROM STOIXEIA_PELATH WHERE ID=%1").arg(patientId));
    q.open();
    if (q.rowCount() == 0)
        return {};
    return (q.value(0, 0).toString().trimmed() + QLatin1Char(' ')
            + q.value(0, 1).toString().trimmed())
        .trimmed();
}

Message compose(const Settings &settings, const Practice &practice, const QString &patient,
                const QDateTime &start)
{
    const QDateTime local = start.toLocalTime();
    const QLocale greek(QLocale::Greek, QLocale::Greece);
    const QList<std::pair<QString, QString>> fields = {
        {ReminderTexts::kFieldName, patient},
        {ReminderTexts::kFieldDate, greek.toString(local.date(), QStringLiteral("dddd d/M/yyyy"))},
        {ReminderTexts::kFieldTime, local.time().toString(QStringLiteral("HH:mm"))},
        {ReminderTexts::kFieldPractice, practice.name},
        {ReminderTexts::kFieldAddress, practice.address},
        {ReminderTexts::kFieldPhone, practice.phone},
    };
    auto fill = [&](QString text) {
        for (const auto &[field, value] : fields)
            text.replace(field, value);
        return text.trimmed();
    };
    return {fill(settings.subject).simplified(), fill(settings.message)};
}

} // namespace Reminders
