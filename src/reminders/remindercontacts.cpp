#include "remindercontacts.h"

#include "connection.h"
#include "recordset.h"
#include "schema.h"

#include <QRegularExpression>

namespace Reminders {

namespace {

const QString kTable = QString::fromLatin1(Schema::kReminderContactsTable);

Contact fromRow(const Query &q, int row)
{
    Contact c;
    c.patientId = q.value(row, 0).toLongLong();
    c.email = q.value(row, 1).toString().trimmed();
    c.mobile = q.value(row, 2).toString().trimmed();
    c.consent = q.value(row, 3).toInt() != 0;
    const QVariant date = q.value(row, 4);
    c.consentDate = date.typeId() == QMetaType::QDate
        ? date.toDate()
        : QDate::fromString(date.toString().left(10), Qt::ISODate);
    return c;
}

QString selectSql()
{
    return QStringLiteral("SELECT ID, EMAIL, KINHTO, SYGKATATHESH, HMEROMHNIA_SYGKATATHESHS FROM ")
        + kTable;
}

} // namespace

QString greekMobile(const QString &text)
{
    QString digits = text.trimmed();
    static const QRegularExpression separators(QStringLiteral("[\\s\\-./()]"));
    digits.remove(separators);
    if (digits.startsWith(QLatin1Char('+')))
        digits = QStringLiteral("00") + digits.mid(1);
    if (digits.startsWith(QLatin1String("0030")))
        digits = digits.mid(4);
    static const QRegularExpression mobile(QStringLiteral("^69\\d{8}$"));
    if (!mobile.match(digits).hasMatch())
        return {};
    return QStringLiteral("+30") + digits;
}

bool plausibleEmail(const QString &text)
{
    static const QRegularExpression email(
        QStringLiteral("^[^@\\s]+@[^@\\s.]+(\\.[^@\\s.]+)+$"));
    return email.match(text).hasMatch();
}

void ensureTables(Connection &connection)
{
    for (const QString &sql : Schema::remindersTableStatements(connection.engine()))
        connection.executeNative(sql);
}

std::optional<Contact> contact(Connection &connection, qint64 patientId)
{
    if (!Schema::hasTable(connection, kTable))
        return std::nullopt;
    Query q(connection);
    q.setSql(selectSql() + QStringLiteral(" WHERE ID=%1").arg(patientId));
    q.open();
    if (q.rowCount() == 0)
        return std::nullopt;
    return fromRow(q, 0);
}

QHash<qint64, Contact> allContacts(Connection &connection)
{
    QHash<qint64, Contact> out;
    if (!Schema::hasTable(connection, kTable))
        return out;
    Query q(connection);
    q.setSql(selectSql());
    q.open();
    for (int row = 0; row < q.rowCount(); ++row) {
        const Contact c = fromRow(q, row);
        out.insert(c.patientId, c);
    }
    return out;
}

void saveContact(Connection &connection, const Contact &c)
{
    ensureTables(connection);
    Transaction t(connection);
    connection.executeNative(QStringLiteral("DELETE FROM %1 WHERE ID=?").arg(kTable),
                             {c.patientId});
    const QVariant date = c.consent && c.consentDate.isValid()
        ? QVariant(c.consentDate.toString(Qt::ISODate))
        : QVariant();
    connection.executeNative(
        QStringLiteral("INSERT INTO %1 (ID, EMAIL, KINHTO, SYGKATATHESH, "
                       "HMEROMHNIA_SYGKATATHESHS) VALUES (?, ?, ?, ?, ?)")
            .arg(kTable),
        {c.patientId, c.email.trimmed(), c.mobile.trimmed(), c.consent ? 1 : 0, date});
    t.commit();
}

} // namespace Reminders
