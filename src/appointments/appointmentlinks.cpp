#include "appointmentlinks.h"

#include "connection.h"
#include "recordset.h"
#include "schema.h"
#include "sqltext.h"

#include <algorithm>

namespace AppointmentLinks {

namespace {

const QString kTable = QLatin1String(Schema::kAppointmentLinksTable);

QString literal(const QDate &day)
{
    return SqlText::ToSqlDate(SqlText::dateText(day));
}

QDate dateOf(const QVariant &value)
{
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

// Blanks and control characters alone leave a slot free, as the month view counts it.
bool isBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control;
    });
}

bool validSlot(int slot)
{
    return slot >= 0 && slot < kSlots;
}

} // namespace

QDateTime slotStart(const QDate &day, int slot)
{
    return QDateTime(day, QTime(8, 0).addSecs(qint64(slot) * 30 * 60));
}

QDateTime slotEnd(const QDate &day, int slot)
{
    return slotStart(day, slot).addSecs(30 * 60);
}

QString slotTimes(int slot)
{
    return Schema::slotCaption(Schema::slotColumns().value(slot));
}

QString textAfterLinking(const QString &slotText, const QString &surname,
                         const QString &firstName, int maxLength)
{
    if (!isBlank(slotText))
        return slotText;
    const QString name = (surname.trimmed() + QLatin1Char(' ') + firstName.trimmed()).trimmed();
    return maxLength > 0 ? name.left(maxLength) : name;
}

DayLinks withoutClearedSlots(const DayLinks &links, const QStringList &slotTexts)
{
    DayLinks kept;
    for (const auto &[slot, link] : links)
        if (validSlot(slot) && slot < slotTexts.size() && !isBlank(slotTexts.at(slot)))
            kept.emplace(slot, link);
    return kept;
}

bool mayMarkNoShow(const QDate &day, int slot, const QDateTime &now)
{
    return validSlot(slot) && now >= slotStart(day, slot);
}

DayLinks readDay(Connection &connection, const QDate &day)
{
    DayLinks links;
    if (!Schema::hasTable(connection, kTable))
        return links;
    Query q(connection);
    q.setSql(QStringLiteral("SELECT THESH, ID, DEN_PROSHLTHE FROM RANTEBOU_ASTHENH WHERE "
                            "HMEROMHNIA=%1")
                 .arg(literal(day)));
    q.open();
    for (int r = 0; r < q.rowCount(); ++r) {
        const int slot = q.value(r, 0).toInt();
        if (validSlot(slot))
            links[slot] = Link {q.value(r, 1).toLongLong(), q.value(r, 2).toBool()};
    }
    return links;
}

void writeDay(Connection &connection, const QDate &day, const DayLinks &links)
{
    const bool has = Schema::hasTable(connection, kTable);
    if (!has && links.empty())
        return;
    if (!has)
        for (const QString &sql : Schema::appointmentLinksTableStatements(connection.engine()))
            connection.executeNative(sql);
    const QString date = literal(day);
    connection.execute(QStringLiteral("DELETE FROM RANTEBOU_ASTHENH WHERE HMEROMHNIA=") + date);
    for (const auto &[slot, link] : links) {
        if (!validSlot(slot) || link.patientId <= 0)
            continue;
        connection.execute(QStringLiteral("INSERT INTO RANTEBOU_ASTHENH(HMEROMHNIA,THESH,ID,"
                                          "DEN_PROSHLTHE) VALUES(%1,%2,%3,%4)")
                               .arg(date)
                               .arg(slot)
                               .arg(link.patientId)
                               .arg(link.noShow ? 1 : 0));
    }
}

void orderForPatient(QList<PatientAppointment> &appointments, const QDateTime &now)
{
    for (PatientAppointment &a : appointments)
        a.upcoming = slotEnd(a.day, a.slot) > now;
    std::stable_sort(appointments.begin(), appointments.end(),
                     [](const PatientAppointment &a, const PatientAppointment &b) {
                         if (a.upcoming != b.upcoming)
                             return a.upcoming;
                         const auto ka = std::pair(a.day, a.slot);
                         const auto kb = std::pair(b.day, b.slot);
                         return a.upcoming ? ka < kb : kb < ka;
                     });
}

QList<PatientAppointment> readPatient(Connection &connection, qint64 patientId,
                                      const QDateTime &now)
{
    QList<PatientAppointment> out;
    if (!Schema::hasTable(connection, kTable))
        return out;
    Query links(connection);
    links.setSql(QStringLiteral("SELECT HMEROMHNIA, THESH, DEN_PROSHLTHE FROM RANTEBOU_ASTHENH "
                                "WHERE ID=%1 ORDER BY HMEROMHNIA ASC")
                     .arg(patientId));
    links.open();
    if (links.rowCount() == 0)
        return out;
    const QDate first = dateOf(links.value(0, 0));
    const QDate last = dateOf(links.value(links.rowCount() - 1, 0));
    Query book(connection);
    book.setSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA BETWEEN %1 AND %2")
                    .arg(literal(first), literal(last)));
    book.open();
    const int dateColumn = book.fieldIndex(QStringLiteral("HMEROMHNIA"));
    std::map<QDate, int> rowOfDay;
    for (int r = 0; r < book.rowCount(); ++r)
        rowOfDay.emplace(dateOf(book.value(r, dateColumn)), r);
    const QStringList columns = Schema::slotColumns();
    for (int r = 0; r < links.rowCount(); ++r) {
        PatientAppointment a;
        a.day = dateOf(links.value(r, 0));
        a.slot = links.value(r, 1).toInt();
        a.noShow = links.value(r, 2).toBool();
        if (!validSlot(a.slot))
            continue;
        const auto row = rowOfDay.find(a.day);
        if (row != rowOfDay.end())
            a.text = book.value(row->second, book.fieldIndex(columns.at(a.slot))).toString();
        out << a;
    }
    orderForPatient(out, now);
    return out;
}

QString patientSql(qint64 patientId, const QDateTime &now, bool withTable)
{
    if (!withTable)
        return QStringLiteral("SELECT HMEROMHNIA, '' AS WRA, '' AS KEIMENO, '' AS SHMEIWSH, 0 AS "
                              "THESH, 0 AS DEN_PROSHLTHE, 0 AS EPOMENO FROM RANTEBOU WHERE 1=0");
    // The first slot of today that has not ended yet (28 once the day is over).
    int first = 0;
    while (first < kSlots && slotEnd(now.date(), first) <= now)
        ++first;
    const QString today = literal(now.date());
    const QString upcoming
        = QStringLiteral("(L.HMEROMHNIA>%1 OR (L.HMEROMHNIA=%1 AND L.THESH>=%2))")
              .arg(today)
              .arg(first);
    const QStringList columns = Schema::slotColumns();
    QString times = QStringLiteral("CASE L.THESH");
    QString texts = QStringLiteral("CASE L.THESH");
    for (int slot = 0; slot < kSlots; ++slot) {
        times += QStringLiteral(" WHEN %1 THEN '%2'").arg(slot).arg(slotTimes(slot));
        texts += QStringLiteral(" WHEN %1 THEN R.[%2]").arg(slot).arg(columns.at(slot));
    }
    times += QStringLiteral(" END");
    texts += QStringLiteral(" END");
    return QStringLiteral("SELECT L.HMEROMHNIA AS HMEROMHNIA, %1 AS WRA, %2 AS KEIMENO, CASE WHEN "
                          "L.DEN_PROSHLTHE=1 THEN 'Δεν προσήλθε' ELSE '' END AS SHMEIWSH, "
                          "L.THESH AS THESH, L.DEN_PROSHLTHE AS DEN_PROSHLTHE, CASE WHEN %3 THEN "
                          "1 ELSE 0 END AS EPOMENO FROM RANTEBOU_ASTHENH L LEFT JOIN RANTEBOU R "
                          "ON R.HMEROMHNIA=L.HMEROMHNIA WHERE L.ID=%4 ORDER BY EPOMENO DESC, "
                          "CASE WHEN %3 THEN L.HMEROMHNIA END ASC, CASE WHEN %3 THEN L.THESH "
                          "END ASC, L.HMEROMHNIA DESC, L.THESH DESC")
        .arg(times, texts, upcoming)
        .arg(patientId);
}

QList<Appointment> readPeriod(Connection &connection, const QDate &from, const QDate &to)
{
    QList<Appointment> out;
    DayLinks none;
    std::map<QDate, DayLinks> links;
    if (Schema::hasTable(connection, kTable)) {
        Query q(connection);
        q.setSql(QStringLiteral("SELECT HMEROMHNIA, THESH, ID, DEN_PROSHLTHE FROM "
                                "RANTEBOU_ASTHENH WHERE HMEROMHNIA BETWEEN %1 AND %2")
                     .arg(literal(from), literal(to)));
        q.open();
        for (int r = 0; r < q.rowCount(); ++r)
            links[dateOf(q.value(r, 0))][q.value(r, 1).toInt()]
                = Link {q.value(r, 2).toLongLong(), q.value(r, 3).toBool()};
    }
    Query book(connection);
    book.setSql(QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA BETWEEN %1 AND %2 ORDER "
                               "BY HMEROMHNIA ASC")
                    .arg(literal(from), literal(to)));
    book.open();
    const QStringList columns = Schema::slotColumns();
    const int dateColumn = book.fieldIndex(QStringLiteral("HMEROMHNIA"));
    for (int r = 0; r < book.rowCount(); ++r) {
        const QDate day = dateOf(book.value(r, dateColumn));
        const auto dayLinks = links.find(day);
        const DayLinks &linked = dayLinks == links.end() ? none : dayLinks->second;
        for (int slot = 0; slot < kSlots; ++slot) {
            const QString text = book.value(r, book.fieldIndex(columns.at(slot))).toString();
            if (isBlank(text))
                continue;
            Appointment a {day, slot, text.trimmed(), 0, false};
            if (const auto l = linked.find(slot); l != linked.end()) {
                a.patientId = l->second.patientId;
                a.noShow = l->second.noShow;
            }
            out << a;
        }
    }
    return out;
}

} // namespace AppointmentLinks
