// The queue of receipts on their way to the e-books: its table on both engines, the claims of
// several workstations and the states a receipt goes through.
#include "connection.h"
#include "program.h"
#include "schema.h"
#include "sendqueue.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace MyData;

namespace {

std::unique_ptr<Connection> open()
{
    auto c = std::make_unique<Connection>();
    c->setUp(Program::DbConnectionString, true);
    return c;
}

QueueEntry entry(qint64 number)
{
    QueueEntry e;
    e.number = number;
    e.series = QStringLiteral("ΑΠΥ");
    e.ratePercent = Decimal(24);
    e.exempt = false;
    e.paymentMethod = 8;
    e.uid = QStringLiteral("UID%1").arg(number);
    return e;
}

const QDateTime kNoon(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC);

} // namespace

TEST(SendQueue, KeepsWhatItIsGivenAndWhatTheServiceAnswered)
{
    TestSupport::TempPractice practice;
    auto c = open();
    SendQueue queue(*c);
    queue.enqueue(entry(100));
    std::optional<QueueItem> it = queue.item(100);
    ASSERT_TRUE(it);
    EXPECT_EQ(it->entry.series, "ΑΠΥ");
    EXPECT_EQ(it->entry.ratePercent, Decimal(24));
    EXPECT_FALSE(it->entry.exempt);
    EXPECT_EQ(it->entry.paymentMethod, 8);
    EXPECT_EQ(it->entry.uid, "UID100");
    EXPECT_EQ(it->state, SendState::Waiting);
    EXPECT_FALSE(it->sentLate);

    ASSERT_TRUE(queue.claim(100, "T"));
    EXPECT_TRUE(queue.markInFlight(100, "UID100", "T"));
    EXPECT_TRUE(queue.markSent(100, "UID100", 400001912345678, "https://q/?a=1&b=2", kNoon, "T"));
    it = queue.item(100);
    EXPECT_EQ(it->state, SendState::Sent);
    EXPECT_EQ(it->mark, 400001912345678); // fifteen digits, kept whole
    EXPECT_EQ(it->qrUrl, "https://q/?a=1&b=2");
    EXPECT_EQ(it->sentAt, "2026-12-10T12:00:00Z");
    EXPECT_EQ(it->attempts, 1);
    EXPECT_FALSE(queue.item(101));
}

TEST(SendQueue, AnEntryBelongsToTheReceiptsTransaction)
{
    TestSupport::TempPractice practice;
    auto c = open();
    SendQueue queue(*c);
    {
        Transaction t(*c);
        queue.enqueue(entry(5));
    } // rolled back, as when the receipt's own rows fail
    EXPECT_FALSE(queue.item(5));
    EXPECT_EQ(queue.waitingCount(), 0);
}

TEST(SendQueue, APracticeFromBeforeTheQueueGetsItsTable)
{
    TestSupport::TempPractice practice;
    practice.exec(QStringLiteral("DROP TABLE %1").arg(Schema::kEbooksTable));
    auto c = open();
    SendQueue queue(*c);
    queue.enqueue(entry(1));
    EXPECT_TRUE(queue.item(1));
    SendQueue again(*c); // and leaves it as it is afterwards
    EXPECT_TRUE(again.item(1));
}

// Two workstations on one practice: only one holds a receipt at a time, only the holder marks
// it in flight or sent, and a claim left by one that is gone is taken over once it has lapsed
// by the database's clock.
TEST(SendQueue, OneWorkstationSendsEachReceipt)
{
    TestSupport::TempPractice practice;
    auto a = open();
    auto b = open();
    SendQueue qa(*a), qb(*b);
    qa.enqueue(entry(7));
    // B's claim stamped that many seconds ago.
    const auto age = [&](int seconds) {
        const QDateTime at = QDateTime::currentDateTimeUtc().addSecs(-seconds);
        b->executeNative(QStringLiteral("UPDATE %1 SET APOSTOLH_APO=? WHERE AR_APODEIKSHS=7")
                             .arg(Schema::kEbooksTable),
                         {at.toString(Qt::ISODate)});
    };
    EXPECT_TRUE(qa.claim(7, "A"));
    EXPECT_FALSE(qb.claim(7, "B"));
    EXPECT_FALSE(qb.markInFlight(7, "UID7", "B"));
    EXPECT_TRUE(qa.claim(7, "A")); // renewing one's own claim
    EXPECT_EQ(qb.claimHolder(7)->workstation, "A");
    qa.release(7, "A");
    EXPECT_TRUE(qb.claim(7, "B"));
    qa.release(7, "A"); // not A's to release any more
    EXPECT_FALSE(qa.claim(7, "A"));
    age(SendQueue::kClaimSeconds - 5);
    EXPECT_FALSE(qa.claim(7, "A"));
    EXPECT_EQ(qa.heldByOthers("A").size(), 1);
    age(SendQueue::kClaimSeconds + 5);
    EXPECT_TRUE(qa.claim(7, "A"));
    EXPECT_FALSE(qb.markInFlight(7, "UID7", "B"));
    EXPECT_FALSE(qb.markSent(7, "UID7", 400001000000007, {}, kNoon, "B"));
    EXPECT_EQ(qa.item(7)->state, SendState::Waiting);
    EXPECT_TRUE(qa.markInFlight(7, "UID7", "A"));
    EXPECT_FALSE(qa.claim(8, "A")); // no such receipt
}

TEST(SendQueue, WhatIsDueAndWhatIsCounted)
{
    TestSupport::TempPractice practice;
    auto c = open();
    SendQueue q(*c);
    for (qint64 n : {1, 2, 3, 4, 5, 6})
        q.enqueue(entry(n));
    for (qint64 n : {1, 2, 6})
        ASSERT_TRUE(q.claim(n, "T"));
    q.markInFlight(1, "UID1", "T");                          // reply lost
    q.markSent(2, "UID2", 400001000000002, {}, kNoon, "T"); // sent, then cancelled here
    q.requestCancel(2);
    q.markRejected(3, {"204: aa"});                     // rejected, then cancelled here
    q.requestCancel(3);
    q.markRejected(4, {"205: quantity"});               // rejected, kept
    q.markWaiting(5, "connection refused");
    q.markSent(6, "UID6", 400001000000006, {}, kNoon, "T"); // done

    EXPECT_EQ(q.dueForSending(false), (QList<qint64>{1, 5}));
    EXPECT_EQ(q.dueForSending(true), (QList<qint64>{1, 4, 5}));
    EXPECT_EQ(q.dueForCancelling(), (QList<qint64>{2}));
    EXPECT_EQ(q.item(3)->cancel, CancelState::Done); // the service never held it
    EXPECT_EQ(q.waitingCount(), 4);                  // 1, 2 (its cancellation), 4 and 5
    EXPECT_TRUE(q.item(5)->sentLate);
    EXPECT_FALSE(q.item(6)->sentLate);
    // The search for 1 starts before its first attempt, not after what was sent since.
    EXPECT_EQ(q.searchFrom(1), 0);
    ASSERT_TRUE(q.claim(5, "T"));
    ASSERT_TRUE(q.markInFlight(5, "UID5", "T"));
    ASSERT_TRUE(q.claim(5, "T"));
    ASSERT_TRUE(q.markInFlight(5, "UID5", "T")); // a second attempt keeps the first's start
    EXPECT_EQ(q.searchFrom(5), 400001000000006);
    q.markWaiting(5, "connection refused");

    q.markCancelled(2, 400001000000099);
    EXPECT_EQ(q.item(2)->cancel, CancelState::Done);
    EXPECT_EQ(q.item(2)->cancellationMark, 400001000000099);
    EXPECT_EQ(q.waitingCount(), 3);
}

// A reply that comes after the receipt was found sent (or a late failure) never undoes it.
TEST(SendQueue, ASentReceiptStaysSent)
{
    TestSupport::TempPractice practice;
    auto c = open();
    SendQueue q(*c);
    q.enqueue(entry(9));
    ASSERT_TRUE(q.claim(9, "T"));
    q.markSent(9, "UID9", 400001000000009, "https://q/9", kNoon, "T");
    q.markWaiting(9, "timeout");
    q.markUnknown(9, "timeout");
    const QueueItem it = *q.item(9);
    EXPECT_EQ(it.state, SendState::Sent);
    EXPECT_EQ(it.mark, 400001000000009);
    EXPECT_TRUE(it.errors.isEmpty());
}
