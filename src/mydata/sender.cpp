#include "sender.h"

#include "connection.h"
#include "dberror.h"
#include "documentrules.h"
#include "invoicedocument.h"
#include "mydatatexts.h"
#include "recordset.h"
#include "schemavalidator.h"

namespace MyData {

namespace {

// RequestTransmittedDocs pages through at most this many continuation tokens in one search.
constexpr int kMaxPages = 50;

QString withCause(const QString &text, const QString &cause)
{
    return cause.isEmpty() ? text : text + QLatin1Char('\n') + cause;
}

// The service's refusal as it is kept and shown: the status, then its errors.
QStringList refusalLines(const Response &r)
{
    QStringList lines = {r.status};
    if (!r.errors.isEmpty())
        lines << SendQueue::errorLines(r.errors);
    return lines;
}

} // namespace

struct Sender::Facts {
    Issuer issuer;
    Receipt receipt;
};

Sender::Sender(const QString &connectionText, const QString &schemaFolder,
               ServiceSettings service, QString workstation, QObject *parent)
    : QObject(parent)
    , m_connection(std::make_unique<Connection>())
    , m_validator(std::make_unique<SchemaValidator>(schemaFolder))
    , m_client(std::move(service))
    , m_workstation(std::move(workstation))
    , m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
    m_connection->setUp(connectionText, true);
    m_queue = std::make_unique<SendQueue>(*m_connection);
}

Sender::~Sender() = default;

std::optional<Sender::Facts> Sender::facts(const QueueItem &item, QString &why)
{
    Query q(*m_connection);
    q.setSql(QStringLiteral("SELECT HMEROMHNIA, POSO, VAT, SYNOLIKO_POSO FROM APODEIKSEIS "
                            "WHERE AR_APODEIKSHS=%1")
                 .arg(item.entry.number));
    q.open();
    if (q.rowCount() == 0) {
        why = MyDataTexts::kNoReceipt;
        return std::nullopt;
    }
    Facts f;
    const QVariant date = q.value(0, 0);
    f.receipt.issueDate = date.typeId() == QMetaType::QDate
        ? date.toDate()
        : QDate::fromString(date.toString().left(10), Qt::ISODate);
    f.receipt.amount = Decimal::fromVariant(q.value(0, 1)).value_or(Decimal(0));
    f.receipt.vat = Decimal::fromVariant(q.value(0, 2)).value_or(Decimal(-1));
    f.receipt.total = Decimal::fromVariant(q.value(0, 3)).value_or(Decimal(0));
    f.receipt.series = item.entry.series;
    f.receipt.number = item.entry.number;
    f.receipt.ratePercent = item.entry.ratePercent;
    f.receipt.treatment = item.entry.exempt ? VatTreatment::Exempt : VatTreatment::Taxable;
    f.receipt.paymentMethod = item.entry.paymentMethod;
    f.receipt.sentLate = item.sentLate;

    Query info(*m_connection);
    info.setSql(QStringLiteral("SELECT AFT FROM INFORMATION"));
    info.open();
    f.issuer.vatNumber = info.rowCount() > 0 ? info.value(0, 0).toString().trimmed() : QString();
    return f;
}

void Sender::finishTurn(const Turn &turn, const std::function<void(const Turn &)> &done)
{
    try {
        if (turn.outcome != Outcome::Sent) // keeping the MARK gave the claim up already
            m_queue->release(turn.number, m_workstation);
    } catch (const DbError &) {
        // The claim lapses by itself; the outcome is already kept.
    }
    m_busy = false;
    done(turn);
}

std::optional<QueueItem> Sender::claimAndRead(qint64 number,
                                          const std::function<void(const Turn &)> &done,
                                          bool &claimed)
{
    Turn turn;
    turn.number = number;
    m_busy = true;
    try {
        if (m_queue->claim(number, m_workstation)) {
            claimed = true;
            return m_queue->item(number);
        }
        // Another workstation holds it: say until when, as its claim says.
        if (const std::optional<ClaimHolder> h = m_queue->claimHolder(number)) {
            turn.heldElsewhere = true;
            turn.message = MyDataTexts::heldElsewhere(
                h->until.toLocalTime().toString(QStringLiteral("d/M/yyyy HH:mm")));
        }
    } catch (const DbError &e) {
        if (claimed) {
            // Claimed, but not readable: the claim is given up again by the turn's end.
            turn.outcome = Outcome::Waiting;
            turn.message = e.message();
            claimed = false;
            finishTurn(turn, done);
            return std::nullopt;
        }
        turn.outcome = Outcome::Waiting;
        turn.message = e.message();
    }
    m_busy = false;
    done(turn);
    return std::nullopt;
}

void Sender::sendOne(qint64 number, std::function<void(const Turn &)> done)
{
    Turn turn;
    turn.number = number;
    bool claimed = false;
    const std::optional<QueueItem> item = claimAndRead(number, done, claimed);
    if (!claimed)
        return;
    if (!item || item->state == SendState::Sent) {
        finishTurn(turn, done);
        return;
    }
    if (item->state == SendState::InFlight) {
        // The last attempt may have reached the service: look for it there first.
        search(number, true, std::move(done));
        return;
    }
    transmit(number, std::move(done));
}

void Sender::search(qint64 number, bool sendWhenAbsent, std::function<void(const Turn &)> done)
{
    Search s;
    s.number = number;
    s.sendWhenAbsent = sendWhenAbsent;
    try {
        const std::optional<QueueItem> item = m_queue->item(number);
        s.uid = item ? item->entry.uid : QString();
        s.afterMark = m_queue->searchFrom(number);
    } catch (const DbError &e) {
        Turn turn;
        turn.number = number;
        turn.outcome = Outcome::Waiting;
        turn.message = e.message();
        finishTurn(turn, done);
        return;
    }
    searchPage(std::move(s), std::move(done));
}

void Sender::stillUnknown(qint64 number, const QString &why, bool unreachable,
                          const std::function<void(const Turn &)> &done)
{
    Turn turn;
    turn.number = number;
    turn.outcome = Outcome::Waiting;
    turn.unreachable = unreachable;
    turn.message = why;
    try {
        m_queue->markUnknown(number, why);
    } catch (const DbError &) {
        // It is in flight already; only the reason is not kept.
    }
    finishTurn(turn, done);
}

void Sender::searchPage(Search s, std::function<void(const Turn &)> done)
{
    const QString partition = s.partition;
    const QString row = s.row;
    const qint64 afterMark = s.afterMark;
    m_client.requestTransmittedDocs(
        afterMark, partition, row, [this, s = std::move(s), done = std::move(done)](
                                       const Exchange &e) mutable {
            Turn turn;
            turn.number = s.number;
            if (e.delivery != Exchange::Delivery::Answered
                || e.reply.kind != Reply::Kind::Transmitted) {
                // Nothing can be concluded: the receipt stays in flight and is not sent.
                stillUnknown(s.number,
                             withCause(MyDataTexts::kUnreachable,
                                       e.networkError.isEmpty() ? e.reply.message
                                                                : e.networkError),
                             e.delivery != Exchange::Delivery::Answered
                                 || e.reply.kind == Reply::Kind::RateLimited
                                 || e.reply.kind == Reply::Kind::Refused
                                 || e.reply.kind == Reply::Kind::ServerError,
                             done);
                return;
            }
            for (const TransmittedDoc &doc : e.reply.transmitted) {
                if (doc.uid.compare(s.uid, Qt::CaseInsensitive) == 0 && doc.mark > 0) {
                    try {
                        if (m_queue->markSent(s.number, s.uid, doc.mark, doc.qrUrl, m_clock(),
                                              m_workstation)) {
                            turn.outcome = Outcome::Sent;
                        } else {
                            turn.outcome = Outcome::Waiting;
                            turn.message = MyDataTexts::kClaimLost;
                        }
                    } catch (const DbError &err) {
                        turn.outcome = Outcome::Waiting;
                        turn.message = err.message();
                    }
                    finishTurn(turn, done);
                    return;
                }
            }
            if (!e.reply.nextPartitionKey.isEmpty() || !e.reply.nextRowKey.isEmpty()) {
                if (++s.pages >= kMaxPages) {
                    stillUnknown(s.number, MyDataTexts::kSearchUnfinished, false, done);
                    return;
                }
                // A long search renews the claim, so no other workstation takes the receipt
                // for one whose program is gone.
                bool held = false;
                try {
                    held = m_queue->claim(s.number, m_workstation);
                } catch (const DbError &) {
                }
                if (!held) {
                    turn.outcome = Outcome::Waiting;
                    turn.message = MyDataTexts::kClaimLost;
                    finishTurn(turn, done);
                    return;
                }
                s.partition = e.reply.nextPartitionKey;
                s.row = e.reply.nextRowKey;
                searchPage(std::move(s), std::move(done));
                return;
            }
            if (!s.sendWhenAbsent) {
                stillUnknown(s.number, MyDataTexts::kDuplicateNotListed, false, done);
                return;
            }
            // The whole list since the first attempt, and it is not there: it never arrived.
            transmit(s.number, std::move(done));
        });
}

void Sender::transmit(qint64 number, std::function<void(const Turn &)> done)
{
    Turn turn;
    turn.number = number;
    QString why;
    std::optional<QueueItem> item;
    std::optional<Facts> f;
    Document doc;
    try {
        item = m_queue->item(number);
        if (item)
            f = facts(*item, why);
    } catch (const DbError &e) {
        turn.outcome = Outcome::Waiting;
        turn.message = e.message();
        finishTurn(turn, done);
        return;
    }
    QStringList problems;
    if (!f) {
        problems << why;
    } else {
        doc = buildInvoicesDoc(f->issuer, f->receipt);
        problems = doc.problems;
        if (problems.isEmpty())
            problems = checkReceiptRules(doc.xml);
    }
    if (problems.isEmpty() && !m_validator->isLoaded()) {
        // Never send what could not be checked; the receipt waits for the schema.
        turn.outcome = Outcome::Waiting;
        turn.message = withCause(MyDataTexts::kNoSchema, m_validator->loadError());
        try {
            m_queue->markWaiting(number, turn.message);
        } catch (const DbError &) {}
        finishTurn(turn, done);
        return;
    }
    if (problems.isEmpty()) {
        const QStringList schema = m_validator->validate(doc.xml);
        if (!schema.isEmpty())
            problems = QStringList{MyDataTexts::kSchemaRefused} + schema;
    }
    try {
        if (!problems.isEmpty()) {
            m_queue->markRejected(number, problems);
            turn.outcome = Outcome::Rejected;
            turn.message = problems.join(QLatin1Char('\n'));
            finishTurn(turn, done);
            return;
        }
        // Committed before a byte leaves, and only while this workstation holds the receipt.
        if (!m_queue->markInFlight(number, doc.uid, m_workstation)) {
            turn.outcome = Outcome::Waiting;
            turn.message = MyDataTexts::kClaimLost;
            finishTurn(turn, done);
            return;
        }
    } catch (const DbError &e) {
        turn.outcome = Outcome::Waiting;
        turn.message = e.message();
        finishTurn(turn, done);
        return;
    }
    const QString uid = doc.uid;
    m_client.sendInvoices(doc.xml, [this, number, uid, done = std::move(done)](const Exchange &e) {
        Turn turn;
        turn.number = number;
        try {
            if (e.delivery == Exchange::Delivery::NotDelivered) {
                turn.outcome = Outcome::Waiting;
                turn.unreachable = true;
                turn.message = withCause(MyDataTexts::kUnreachable, e.networkError);
                m_queue->markWaiting(number, turn.message);
            } else if (e.delivery == Exchange::Delivery::Unknown
                       || e.reply.kind == Reply::Kind::Unreadable
                       || e.reply.kind == Reply::Kind::ServerError
                       || e.reply.kind == Reply::Kind::Transmitted) {
                // It may have arrived: asked about before it is sent again.
                turn.outcome = Outcome::Waiting;
                turn.unreachable = e.delivery == Exchange::Delivery::Unknown
                    || e.reply.kind == Reply::Kind::ServerError;
                turn.message = withCause(MyDataTexts::kUnreadable,
                                         e.networkError.isEmpty() ? e.reply.message
                                                                  : e.networkError);
                m_queue->markUnknown(number, turn.message);
            } else if (e.reply.kind == Reply::Kind::Refused) {
                turn.outcome = Outcome::Waiting;
                turn.unreachable = true; // every other receipt would be refused the same way
                turn.message = withCause(MyDataTexts::kKeyRefused, e.reply.message);
                m_queue->markWaiting(number, turn.message);
            } else if (e.reply.kind == Reply::Kind::RateLimited) {
                turn.outcome = Outcome::Waiting;
                turn.unreachable = true;
                turn.message = MyDataTexts::kBusy;
                m_queue->markWaiting(number, turn.message);
            } else {
                const Response r = e.reply.responses.first();
                bool duplicate = false;
                for (const ServiceError &err : r.errors)
                    duplicate |= err.code == QLatin1String("228");
                if (duplicate) {
                    // The service holds it already (an earlier attempt arrived): its MARK is
                    // looked up by the identifier and kept; it is not a refusal.
                    search(number, false, done);
                    return;
                }
                if (r.succeeded() && r.mark > 0) {
                    if (m_queue->markSent(number, r.uid.isEmpty() ? uid : r.uid, r.mark, r.qrUrl,
                                          m_clock(), m_workstation)) {
                        turn.outcome = Outcome::Sent;
                    } else {
                        // Another workstation took the receipt meanwhile: it finds the MARK.
                        turn.outcome = Outcome::Waiting;
                        turn.message = MyDataTexts::kClaimLost;
                    }
                } else if (r.status == QLatin1String("TechnicalError")) {
                    turn.outcome = Outcome::Waiting;
                    turn.message = withCause(MyDataTexts::kTechnical,
                                             SendQueue::errorLines(r.errors));
                    m_queue->markWaiting(number, turn.message);
                } else if (r.succeeded()) {
                    // Success without a MARK cannot be printed: asked about again later.
                    turn.outcome = Outcome::Waiting;
                    turn.message = MyDataTexts::kUnreadable;
                    m_queue->markUnknown(number, turn.message);
                } else {
                    turn.outcome = Outcome::Rejected;
                    const QStringList lines = refusalLines(r);
                    turn.message = lines.join(QLatin1Char('\n'));
                    m_queue->markRejected(number, lines);
                }
            }
        } catch (const DbError &err) {
            // The reply could not be kept: the receipt stays in flight and is looked for.
            turn.outcome = Outcome::Waiting;
            turn.message = err.message();
        }
        finishTurn(turn, done);
    });
}

void Sender::cancelOne(qint64 number, std::function<void(const Turn &)> done)
{
    Turn turn;
    turn.number = number;
    bool claimed = false;
    const std::optional<QueueItem> item = claimAndRead(number, done, claimed);
    if (!claimed)
        return;
    if (!item || item->cancel != CancelState::Pending || item->state != SendState::Sent) {
        finishTurn(turn, done);
        return;
    }
    m_client.cancelInvoice(item->mark, [this, number, done = std::move(done)](const Exchange &e) {
        Turn turn;
        turn.number = number;
        try {
            const bool answered = e.delivery == Exchange::Delivery::Answered
                && e.reply.kind == Reply::Kind::Responses;
            if (!answered) {
                turn.outcome = Outcome::Waiting;
                turn.unreachable = e.delivery != Exchange::Delivery::Answered
                    || e.reply.kind == Reply::Kind::Refused
                    || e.reply.kind == Reply::Kind::RateLimited;
                turn.message = withCause(MyDataTexts::kUnreachable,
                                         e.networkError.isEmpty() ? e.reply.message
                                                                  : e.networkError);
                m_queue->noteCancelProblem(number, turn.message);
            } else {
                const Response r = e.reply.responses.first();
                bool alreadyCancelled = false;
                for (const ServiceError &err : r.errors)
                    alreadyCancelled |= err.code == QLatin1String("251");
                if ((r.succeeded() && r.cancellationMark > 0) || alreadyCancelled) {
                    // A lost reply to an earlier cancellation is answered "already cancelled".
                    m_queue->markCancelled(number, r.cancellationMark);
                    turn.outcome = Outcome::Cancelled;
                } else if (r.status == QLatin1String("TechnicalError") || r.succeeded()) {
                    turn.outcome = Outcome::Waiting;
                    turn.message = withCause(MyDataTexts::kTechnical,
                                             SendQueue::errorLines(r.errors));
                    m_queue->noteCancelProblem(number, turn.message);
                } else {
                    turn.outcome = Outcome::CancelRefused;
                    const QStringList lines = refusalLines(r);
                    turn.message = lines.join(QLatin1Char('\n'));
                    m_queue->markCancelRefused(number, lines);
                }
            }
        } catch (const DbError &err) {
            turn.outcome = Outcome::Waiting;
            turn.message = err.message();
        }
        finishTurn(turn, done);
    });
}

void Sender::drain(bool withRejected, std::function<void(const DrainResult &)> done)
{
    QList<qint64> sends;
    try {
        sends = m_queue->dueForSending(withRejected);
    } catch (const DbError &e) {
        // Not "nothing to send": the queue could not be read.
        DrainResult failed;
        failed.failure = e.message();
        done(failed);
        return;
    }
    drainNext(sends, std::nullopt, DrainResult{}, std::move(done));
}

void Sender::drainNext(QList<qint64> sends, std::optional<QList<qint64>> cancels,
                       DrainResult result, std::function<void(const DrainResult &)> done)
{
    // Each next step runs from the event loop, so a long queue never deepens the stack.
    auto next = [this](const Turn &t, QList<qint64> sends, std::optional<QList<qint64>> cancels,
                       DrainResult result, std::function<void(const DrainResult &)> done) {
        result.turns << t;
        switch (t.outcome) {
        case Outcome::Sent: ++result.sent; break;
        case Outcome::Rejected:
        case Outcome::CancelRefused: ++result.rejected; break;
        case Outcome::Waiting: ++result.waiting; break;
        case Outcome::Cancelled: ++result.cancelled; break;
        case Outcome::Skipped: result.heldElsewhere += t.heldElsewhere; break;
        }
        if (t.unreachable) {
            finishDrain(std::move(result), done);
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [=, this] { drainNext(sends, cancels, result, done); },
            Qt::QueuedConnection);
    };
    if (!sends.isEmpty()) {
        const qint64 n = sends.takeFirst();
        sendOne(n, [=](const Turn &t) { next(t, sends, cancels, result, done); });
        return;
    }
    if (!cancels) {
        // Asked only now, so that a receipt sent in this round has its cancellation sent too.
        try {
            cancels = m_queue->dueForCancelling();
        } catch (const DbError &) {
            cancels = QList<qint64>{};
        }
    }
    if (!cancels->isEmpty()) {
        const qint64 n = cancels->takeFirst();
        cancelOne(n, [=](const Turn &t) { next(t, sends, cancels, result, done); });
        return;
    }
    finishDrain(std::move(result), done);
}

void Sender::finishDrain(DrainResult result, const std::function<void(const DrainResult &)> &done)
{
    // What other workstations hold is told with its time, so that a count of waiting receipts
    // that does not fall says why.
    try {
        result.holders = m_queue->heldByOthers(m_workstation);
    } catch (const DbError &) {
    }
    done(result);
}

} // namespace MyData
