#pragma once

#include "sendqueue.h"
#include "serviceclient.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class Connection;

// Sends the receipts of the queue, one at a time, through the service client: each receipt is
// claimed for this workstation, checked (the rules, then the schema) before it leaves, marked
// in flight, sent, and left in the state its reply says. A receipt in flight from an earlier
// attempt is first looked for among the documents the service holds (by its identifier), and
// sent only when it is not there: never twice.
namespace MyData {

class SchemaValidator;

// What one receipt's turn came to.
enum class Outcome {
    Sent,        // the MARK is kept (sent now, or found sent before)
    Rejected,    // refused by the service or by the checks: the messages are kept
    Waiting,     // not sent; it stays in the queue (the service unreachable, busy, refusing the key)
    Skipped,     // another workstation holds it, or there was nothing to do
    Cancelled,   // the cancellation is kept
    CancelRefused,
};

struct Turn {
    qint64 number = 0;
    Outcome outcome = Outcome::Skipped;
    QString message; // the service's messages, or why nothing could be sent
    // The service could not be reached at all: the rest of the queue need not be tried now.
    bool unreachable = false;
    // Not tried: another workstation holds it (the message says until when).
    bool heldElsewhere = false;
};

struct DrainResult {
    int sent = 0;
    int rejected = 0;
    int waiting = 0;
    int cancelled = 0;
    int heldElsewhere = 0; // receipts skipped because another workstation held them
    QList<Turn> turns;
    // The waiting receipts other workstations hold at the end, with their claims' ends.
    QList<ClaimHolder> holders;
    // Why nothing could be done (the queue could not be read); empty otherwise.
    QString failure;
};

class Sender : public QObject {
    Q_OBJECT
public:
    // The connection text of the practice (each sender keeps its own connection), the schema
    // folder, and a name for this workstation that no other shares.
    Sender(const QString &connectionText, const QString &schemaFolder, ServiceSettings service,
           QString workstation, QObject *parent = nullptr);
    ~Sender() override;

    // The clock the sending times are taken from (tests move it); claims are judged by the
    // database's own clock.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    bool busy() const { return m_busy; }

    // One receipt's sending (or its check with the service after a lost reply).
    void sendOne(qint64 number, std::function<void(const Turn &)> done);
    // One receipt's cancellation.
    void cancelOne(qint64 number, std::function<void(const Turn &)> done);
    // Everything due: sendings (rejected ones too when asked), then cancellations. It stops at
    // the first receipt that finds the service unreachable.
    void drain(bool withRejected, std::function<void(const DrainResult &)> done);

private:
    struct Facts;
    std::optional<Facts> facts(const QueueItem &item, QString &why);
    // Claims the receipt and reads it; when it cannot be claimed (another workstation holds
    // it, or the database failed), done has had its turn and claimed is false.
    std::optional<QueueItem> claimAndRead(qint64 number,
                                      const std::function<void(const Turn &)> &done,
                                      bool &claimed);
    // One search of the service's list for a receipt in flight, page by page.
    struct Search {
        qint64 number = 0;
        QString uid;
        qint64 afterMark = 0;
        QString partition;
        QString row;
        int pages = 0;
        bool sendWhenAbsent = true; // false after "228 Duplicate": it is there
    };
    // Looks for the receipt among what the service holds since its first attempt; sends it when
    // the whole list does not hold it (and sendWhenAbsent), else leaves it in flight.
    void search(qint64 number, bool sendWhenAbsent, std::function<void(const Turn &)> done);
    void searchPage(Search s, std::function<void(const Turn &)> done);
    void stillUnknown(qint64 number, const QString &why, bool unreachable,
                      const std::function<void(const Turn &)> &done);
    void finishDrain(DrainResult result, const std::function<void(const DrainResult &)> &done);
    void transmit(qint64 number, std::function<void(const Turn &)> done);
    void finishTurn(const Turn &turn, const std::function<void(const Turn &)> &done);
    void drainNext(QList<qint64> sends, std::optional<QList<qint64>> cancels, DrainResult result,
                   std::function<void(const DrainResult &)> done);

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<SendQueue> m_queue;
    std::unique_ptr<SchemaValidator> m_validator;
    ServiceClient m_client;
    QString m_workstation;
    std::function<QDateTime()> m_clock;
    bool m_busy = false;
};

} // namespace MyData
