#pragma once

// The fixtures of the sending tests: a practice with receipts queued for the e-books, and a
// sender's turns waited for.
#include "connection.h"
#include "invoicedocument.h"
#include "mydatatestsupport.h"
#include "program.h"
#include "sender.h"
#include "sendqueue.h"
#include "standin.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace MyDataTest {

using namespace MyData;

// A practice with its tax number and receipts issued today, each queued for sending.
class Practice {
public:
    Practice()
    {
        m_practice.exec(QStringLiteral("INSERT INTO INFORMATION (TITLE, AFT) VALUES "
                                       "('Φυσικοθεραπευτήριο', '%1')")
                            .arg(MyDataTest::kVatNumber));
        m_connection.setUp(Program::DbConnectionString, true);
        m_queue = std::make_unique<SendQueue>(m_connection);
    }

    // Receipt n of 40 euros, exempt, in the queue with the identifier it will be sent under.
    void issue(qint64 n)
    {
        m_practice.exec(QStringLiteral("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, ONOMA, EPWNYMO, "
                                       "POSO, VAT, SYNOLIKO_POSO) VALUES (%1, 'Α', 'Β', 40, 0, "
                                       "40)")
                            .arg(n));
        Receipt r;
        r.series = QStringLiteral("Α");
        r.number = n;
        r.issueDate = QDate::currentDate();
        QueueEntry e;
        e.number = n;
        e.series = r.series;
        e.ratePercent = Decimal(0);
        e.exempt = true;
        e.uid = documentUid(Issuer{QString::fromLatin1(MyDataTest::kVatNumber), 0}, r);
        m_queue->enqueue(e);
    }

    QueueItem item(qint64 n) { return m_queue->item(n).value(); }
    SendQueue &queue() { return *m_queue; }

private:
    TestSupport::TempPractice m_practice;
    Connection m_connection;
    std::unique_ptr<SendQueue> m_queue;
};

inline ServiceSettings settings(const QUrl &url,
                               const QString &key = QLatin1String(StandIn::kKey),
                               int timeoutMs = 600)
{
    return ServiceSettings{url, QLatin1String(StandIn::kUser), key, timeoutMs};
}

inline Turn sendOne(Sender &sender, qint64 n)
{
    std::optional<Turn> turn;
    sender.sendOne(n, [&](const Turn &t) { turn = t; });
    EXPECT_TRUE(waitUntil([&] { return turn.has_value(); }));
    return turn.value_or(Turn{});
}

inline DrainResult drain(Sender &sender, bool withRejected = false)
{
    std::optional<DrainResult> result;
    sender.drain(withRejected, [&](const DrainResult &r) { result = r; });
    EXPECT_TRUE(waitUntil([&] { return result.has_value(); }, 30000));
    return result.value_or(DrainResult{});
}

} // namespace MyDataTest
