#pragma once

#include "decimal.h"
#include "replyparser.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class Connection;

// The receipts on their way to the tax authority's e-books, in a table of their own keyed by
// the receipt's number (Schema::kEbooksTable). Every state change is one statement, committed
// on its own, so that what the table says is true at every moment: a receipt is marked
// "in flight" before its document leaves, so that after a crash or a lost reply the next
// attempt asks the service first and never sends it twice.
namespace MyData {

enum class SendState {
    Waiting,   // to be sent: never sent, or known not to have reached the service
    InFlight,  // sent, or being sent, with no reply kept: ask the service before sending again
    Sent,      // the service gave its MARK
    Rejected,  // the service (or the checks before sending) refused the document
};
QString stateCode(SendState state);
std::optional<SendState> stateFromCode(const QString &code);

enum class CancelState {
    None,
    Pending,  // the receipt was cancelled here; the service is still to be told
    Done,     // the service cancelled it (or it never held it)
    Refused,  // the service refused the cancellation (its messages are kept)
};

struct QueueEntry {
    qint64 number = 0;
    QString series;
    Decimal ratePercent;
    bool exempt = true;
    int paymentMethod = 3;
    QString uid;
};

struct QueueItem {
    QueueEntry entry;
    SendState state = SendState::Waiting;
    qint64 mark = 0;
    QString qrUrl;
    QString errors;   // the service's messages, one a line
    bool sentLate = false; // printed without a MARK: sent later with transmissionFailure 3
    QString sentAt;   // UTC, ISO 8601
    int attempts = 0;
    CancelState cancel = CancelState::None;
    qint64 cancellationMark = 0;
    QString cancelErrors;
};

// Who holds a receipt, and until when (UTC, by the database's clock) unless renewed.
struct ClaimHolder {
    qint64 number = 0;
    QString workstation;
    QDateTime until;
};

class SendQueue {
public:
    // Creates the table when the practice does not have it yet. Throws DbError.
    explicit SendQueue(Connection &connection);

    // How long a workstation's claim on a receipt holds: longer than a request and its retries
    // can take, so that a claim is only taken over from a workstation that is gone.
    static constexpr int kClaimSeconds = 180;

    // Puts an issued receipt in the queue; the caller runs it in the receipt's own transaction.
    void enqueue(const QueueEntry &entry);
    std::optional<QueueItem> item(qint64 number) const;

    // Receipts whose sending is due, lowest number first: waiting and in flight ones, and the
    // rejected ones when asked (a person sends them again after mending the settings).
    QList<qint64> dueForSending(bool withRejected) const;
    // Receipts whose cancellation the service is still to be told of.
    QList<qint64> dueForCancelling() const;
    // Waiting, in flight and rejected receipts, and pending cancellations: what the register
    // counts as not yet done.
    int waitingCount() const;

    // Claims a receipt for this workstation, or renews its own claim: true when no other holds
    // a live claim. Claims are stamped and judged by the database's clock. On a server the
    // update locks the row, so two workstations never both succeed.
    bool claim(qint64 number, const QString &workstation);
    void release(qint64 number, const QString &workstation);
    std::optional<ClaimHolder> claimHolder(qint64 number) const;
    // The waiting and in flight receipts another workstation holds (alive or not).
    QList<ClaimHolder> heldByOthers(const QString &workstation) const;

    // The document is about to leave: from now on its fate is unknown until a reply is kept.
    // The identifier it leaves with is kept, to look for it by after a lost reply, and, on the
    // first attempt, the highest MARK the practice knows, where that search starts. False (and
    // nothing changed) when the workstation does not hold the claim.
    bool markInFlight(qint64 number, const QString &uid, const QString &workstation);
    // Also gives up the claim; false (and nothing changed) when the workstation does not hold it.
    bool markSent(qint64 number, const QString &uid, qint64 mark, const QString &qrUrl,
                  const QDateTime &at, const QString &workstation);
    void markRejected(qint64 number, const QStringList &errors);
    // The document did not reach the service (refused connection, 401, 429) or the service
    // said it did not take it (TechnicalError): it is sent again, as sent late.
    void markWaiting(qint64 number, const QString &why);
    // The fate stays unknown (no reply, a reply that cannot be read): kept in flight.
    void markUnknown(qint64 number, const QString &why);

    void requestCancel(qint64 number);
    void markCancelled(qint64 number, qint64 cancellationMark);
    void markCancelRefused(qint64 number, const QStringList &errors);
    void noteCancelProblem(qint64 number, const QString &why);

    // Where the search for a receipt in flight starts: the service lists what was sent after
    // this MARK, which was given before the receipt's first attempt.
    qint64 searchFrom(qint64 number) const;

    static QString errorLines(const QList<ServiceError> &errors);

private:
    int run(const QString &sql, const QVariantList &values);
    QList<qint64> numbers(const QString &jetSql) const;

    Connection &m_connection;
};

} // namespace MyData
