#include "sendqueue.h"

#include "connection.h"
#include "recordset.h"
#include "schema.h"

namespace MyData {

namespace {

constexpr struct {
    SendState state;
    const char *code;
} kStates[] = {
    {SendState::Waiting, "WAITING"},
    {SendState::InFlight, "INFLIGHT"},
    {SendState::Sent, "SENT"},
    {SendState::Rejected, "REJECTED"},
};

CancelState cancelFromCode(const QString &code)
{
    if (code == QLatin1String("PENDING"))
        return CancelState::Pending;
    if (code == QLatin1String("DONE"))
        return CancelState::Done;
    if (code == QLatin1String("REFUSED"))
        return CancelState::Refused;
    return CancelState::None;
}

QString utc(const QDateTime &at)
{
    return at.toUTC().toString(Qt::ISODate);
}

const QString kTable = QString::fromLatin1(Schema::kEbooksTable);

} // namespace

QString stateCode(SendState state)
{
    for (const auto &s : kStates)
        if (s.state == state)
            return QString::fromLatin1(s.code);
    return {};
}

std::optional<SendState> stateFromCode(const QString &code)
{
    for (const auto &s : kStates)
        if (code == QLatin1String(s.code))
            return s.state;
    return std::nullopt;
}

QList<ClaimHolder> SendQueue::heldByOthers(const QString &workstation) const
{
    Query q(m_connection);
    q.setSql(QStringLiteral("SELECT AR_APODEIKSHS FROM %1 WHERE APOSTOLEAS IS NOT NULL AND "
                            "APOSTOLEAS<>'%2' AND KATASTASH IN ('WAITING','INFLIGHT') ORDER BY "
                            "AR_APODEIKSHS")
                 .arg(kTable,
                      QString(workstation).replace(QLatin1Char('\''), QLatin1String("''"))));
    q.open();
    QList<ClaimHolder> out;
    for (int row = 0; row < q.rowCount(); ++row) {
        const qint64 number = q.value(row, 0).toLongLong();
        if (std::optional<ClaimHolder> h = claimHolder(number)) {
            h->number = number;
            out << *h;
        }
    }
    return out;
}

SendQueue::SendQueue(Connection &connection)
    : m_connection(connection)
{
    for (const QString &sql : Schema::ebooksTableStatements(m_connection.engine()))
        m_connection.executeNative(sql);
}

int SendQueue::run(const QString &sql, const QVariantList &values)
{
    return m_connection.executeNative(sql.arg(kTable), values);
}

void SendQueue::enqueue(const QueueEntry &e)
{
    run(QStringLiteral("INSERT INTO %1 (AR_APODEIKSHS, SEIRA, SYNTELESTHS, APALLAGH, "
                       "TROPOS_PLHRWMHS, UID, KATASTASH, ARGOPOROS, PROSPATHEIES) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, 0, 0)"),
        {e.number, e.series, e.ratePercent.toDouble(), e.exempt ? 1 : 0, e.paymentMethod, e.uid,
         stateCode(SendState::Waiting)});
}

std::optional<QueueItem> SendQueue::item(qint64 number) const
{
    Query q(m_connection);
    q.setSql(QStringLiteral("SELECT AR_APODEIKSHS, SEIRA, SYNTELESTHS, APALLAGH, TROPOS_PLHRWMHS, "
                            "UID, KATASTASH, MARK, QR_URL, SFALMATA, ARGOPOROS, APESTALH, "
                            "PROSPATHEIES, AKYRWSH, MARK_AKYRWSHS, SFALMATA_AKYRWSHS FROM %1 "
                            "WHERE AR_APODEIKSHS=%2")
                 .arg(kTable)
                 .arg(number));
    q.open();
    if (q.rowCount() == 0)
        return std::nullopt;
    auto v = [&](int column) { return q.value(0, column); };
    QueueItem it;
    it.entry.number = v(0).toLongLong();
    it.entry.series = v(1).toString();
    it.entry.ratePercent = Decimal::fromVariant(v(2)).value_or(Decimal(0));
    it.entry.exempt = v(3).toInt() != 0;
    it.entry.paymentMethod = v(4).toInt();
    it.entry.uid = v(5).toString();
    it.state = stateFromCode(v(6).toString()).value_or(SendState::Waiting);
    it.mark = v(7).toLongLong();
    it.qrUrl = v(8).toString();
    it.errors = v(9).toString();
    it.sentLate = v(10).toInt() != 0;
    it.sentAt = v(11).toString();
    it.attempts = v(12).toInt();
    it.cancel = cancelFromCode(v(13).toString());
    it.cancellationMark = v(14).toLongLong();
    it.cancelErrors = v(15).toString();
    return it;
}

QList<qint64> SendQueue::numbers(const QString &jetSql) const
{
    Query q(m_connection);
    q.setSql(jetSql.arg(kTable));
    q.open();
    QList<qint64> out;
    for (int row = 0; row < q.rowCount(); ++row)
        out << q.value(row, 0).toLongLong();
    return out;
}

QList<qint64> SendQueue::dueForSending(bool withRejected) const
{
    // A rejected receipt cancelled here is not sent again: the service never held it.
    return numbers(withRejected
                       ? QStringLiteral("SELECT AR_APODEIKSHS FROM %1 WHERE KATASTASH IN "
                                        "('WAITING','INFLIGHT') OR (KATASTASH='REJECTED' AND "
                                        "AKYRWSH IS NULL) ORDER BY AR_APODEIKSHS")
                       : QStringLiteral("SELECT AR_APODEIKSHS FROM %1 WHERE KATASTASH IN "
                                        "('WAITING','INFLIGHT') ORDER BY AR_APODEIKSHS"));
}

QList<qint64> SendQueue::dueForCancelling() const
{
    return numbers(QStringLiteral("SELECT AR_APODEIKSHS FROM %1 WHERE AKYRWSH='PENDING' "
                                  "AND KATASTASH='SENT' ORDER BY AR_APODEIKSHS"));
}

int SendQueue::waitingCount() const
{
    return int(numbers(QStringLiteral("SELECT AR_APODEIKSHS FROM %1 WHERE (KATASTASH<>'SENT' "
                                      "AND (KATASTASH<>'REJECTED' OR AKYRWSH IS NULL)) "
                                      "OR AKYRWSH IN ('PENDING','REFUSED')"))
                   .size());
}

bool SendQueue::claim(qint64 number, const QString &workstation)
{
    // Both times by the database's clock, in the statement itself: a workstation whose clock
    // runs ahead must not take a live claim for a stale one.
    const Engine engine = m_connection.engine();
    return run(QStringLiteral("UPDATE %1 SET APOSTOLEAS=?, APOSTOLH_APO=%2 WHERE AR_APODEIKSHS=? "
                              "AND (APOSTOLEAS IS NULL OR APOSTOLEAS=? OR APOSTOLH_APO IS NULL "
                              "OR APOSTOLH_APO<%3)")
                   .arg(QStringLiteral("%1"), Schema::utcNow(engine),
                        Schema::utcNow(engine, kClaimSeconds)),
               {workstation, number, workstation})
        == 1;
}

std::optional<ClaimHolder> SendQueue::claimHolder(qint64 number) const
{
    Query q(m_connection);
    q.setSql(QStringLiteral("SELECT APOSTOLEAS, APOSTOLH_APO FROM %1 WHERE AR_APODEIKSHS=%2")
                 .arg(kTable)
                 .arg(number));
    q.open();
    if (q.rowCount() == 0 || q.value(0, 0).isNull() || q.value(0, 0).toString().isEmpty())
        return std::nullopt;
    ClaimHolder h;
    h.workstation = q.value(0, 0).toString();
    h.until = QDateTime::fromString(q.value(0, 1).toString(), Qt::ISODate)
                  .addSecs(kClaimSeconds);
    return h;
}

void SendQueue::release(qint64 number, const QString &workstation)
{
    run(QStringLiteral("UPDATE %1 SET APOSTOLEAS=NULL, APOSTOLH_APO=NULL WHERE AR_APODEIKSHS=? "
                       "AND APOSTOLEAS=?"),
        {number, workstation});
}

bool SendQueue::markInFlight(qint64 number, const QString &uid, const QString &workstation)
{
    Transaction t(m_connection);
    // The claim is renewed with it, so that it outlasts the request by far.
    if (run(QStringLiteral("UPDATE %1 SET KATASTASH=?, UID=?, PROSPATHEIES=PROSPATHEIES+1, "
                           "APOSTOLH_APO=%2 WHERE AR_APODEIKSHS=? AND KATASTASH<>'SENT' AND "
                           "APOSTOLEAS=?")
                .arg(QStringLiteral("%1"), Schema::utcNow(m_connection.engine())),
            {stateCode(SendState::InFlight), uid, number, workstation})
        != 1)
        return false;
    // The first attempt's search start is kept: every MARK known now was given before it.
    m_connection.executeNative(
        QStringLiteral("INSERT INTO %1 (AR_APODEIKSHS, APO_MARK) VALUES (?, (SELECT "
                       "coalesce(max(MARK), 0) FROM %2)) ON CONFLICT (AR_APODEIKSHS) DO NOTHING")
            .arg(QLatin1String(Schema::kEbooksSearchTable), kTable),
        {number});
    t.commit();
    return true;
}

qint64 SendQueue::searchFrom(qint64 number) const
{
    Query q(m_connection);
    q.setSql(QStringLiteral("SELECT APO_MARK FROM %1 WHERE AR_APODEIKSHS=%2")
                 .arg(QLatin1String(Schema::kEbooksSearchTable))
                 .arg(number));
    q.open();
    // Marked in flight by a program that kept no start: the search starts at the beginning.
    return q.rowCount() > 0 ? q.value(0, 0).toLongLong() : 0;
}

bool SendQueue::markSent(qint64 number, const QString &uid, qint64 mark, const QString &qrUrl,
                         const QDateTime &at, const QString &workstation)
{
    // The claim goes with it: a sent receipt is nobody's to send.
    return run(QStringLiteral("UPDATE %1 SET KATASTASH=?, UID=?, MARK=?, QR_URL=?, SFALMATA=NULL, "
                              "APESTALH=?, APOSTOLEAS=NULL, APOSTOLH_APO=NULL WHERE "
                              "AR_APODEIKSHS=? AND APOSTOLEAS=?"),
               {stateCode(SendState::Sent), uid, mark,
                qrUrl.isEmpty() ? QVariant() : QVariant(qrUrl), utc(at), number, workstation})
        == 1;
}

void SendQueue::markRejected(qint64 number, const QStringList &errors)
{
    run(QStringLiteral("UPDATE %1 SET KATASTASH=?, SFALMATA=? WHERE AR_APODEIKSHS=?"),
        {stateCode(SendState::Rejected), errors.join(QLatin1Char('\n')), number});
}

void SendQueue::markWaiting(qint64 number, const QString &why)
{
    run(QStringLiteral("UPDATE %1 SET KATASTASH=?, SFALMATA=?, ARGOPOROS=1 WHERE AR_APODEIKSHS=? "
                       "AND KATASTASH<>'SENT'"),
        {stateCode(SendState::Waiting), why, number});
}

void SendQueue::markUnknown(qint64 number, const QString &why)
{
    run(QStringLiteral("UPDATE %1 SET KATASTASH=?, SFALMATA=?, ARGOPOROS=1 WHERE AR_APODEIKSHS=? "
                       "AND KATASTASH<>'SENT'"),
        {stateCode(SendState::InFlight), why, number});
}

void SendQueue::requestCancel(qint64 number)
{
    // A receipt the service refused was never in the e-books: there is nothing to cancel.
    run(QStringLiteral("UPDATE %1 SET AKYRWSH=CASE WHEN KATASTASH='REJECTED' THEN 'DONE' ELSE "
                       "'PENDING' END WHERE AR_APODEIKSHS=? AND AKYRWSH IS NULL"),
        {number});
}

void SendQueue::markCancelled(qint64 number, qint64 cancellationMark)
{
    run(QStringLiteral("UPDATE %1 SET AKYRWSH='DONE', MARK_AKYRWSHS=?, SFALMATA_AKYRWSHS=NULL "
                       "WHERE AR_APODEIKSHS=?"),
        {cancellationMark > 0 ? QVariant(cancellationMark) : QVariant(), number});
}

void SendQueue::markCancelRefused(qint64 number, const QStringList &errors)
{
    run(QStringLiteral("UPDATE %1 SET AKYRWSH='REFUSED', SFALMATA_AKYRWSHS=? "
                       "WHERE AR_APODEIKSHS=?"),
        {errors.join(QLatin1Char('\n')), number});
}

void SendQueue::noteCancelProblem(qint64 number, const QString &why)
{
    run(QStringLiteral("UPDATE %1 SET SFALMATA_AKYRWSHS=? WHERE AR_APODEIKSHS=?"), {why, number});
}

QString SendQueue::errorLines(const QList<ServiceError> &errors)
{
    QStringList lines;
    for (const ServiceError &e : errors)
        lines << (e.code.isEmpty() ? e.message : e.code + QStringLiteral(": ") + e.message);
    return lines.join(QLatin1Char('\n'));
}

} // namespace MyData
