// A model of the e-books service against the sender: a stand-in that, at random, answers, answers
// late, drops the connection before or after reading the document or after keeping it, answers
// 429, 5xx, a continuation token or "228 Duplicate", while the practice issues, sends, drains,
// restarts its sender in the middle of a request and cancels receipts, in random order, from
// two workstations sharing the practice (on the file, or on a server under the server label).
// Whatever happens, the service is sent a document it already holds never, and every receipt
// ends sent with the service's MARK, rejected for a reason of its own, or waiting.
//
// The seed is printed; ORVANTA_MODEL_SEED runs one again.
#include "senderpractice.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cstdio>
#include <random>

using namespace MyData;
using namespace MyDataTest;

namespace {

struct Weighted {
    const char *mode;
    int weight;
};

// What the stand-in does with a request, and how often.
constexpr Weighted kModes[] = {
    {"success", 30},  {"late", 5},       {"hang", 1},      {"lost", 2},
    {"dropbefore", 6}, {"dropafter", 6}, {"droprecorded", 8}, {"gateway", 5},
    {"error500", 4},  {"ratelimit", 4},  {"technical", 3},  {"validation", 2},
    {"duplicate", 5}, {"page", 10},      {"unauthorized", 1},
};

enum class Step { Issue, SendOne, Drain, Restart, Cancel };
constexpr std::pair<Step, int> kSteps[] = {
    {Step::Issue, 40}, {Step::SendOne, 25}, {Step::Drain, 15}, {Step::Restart, 15},
    {Step::Cancel, 5},
};

template <typename T, std::size_t N>
const T &pick(std::mt19937 &random, const T (&items)[N], int (*weight)(const T &))
{
    int total = 0;
    for (const T &i : items)
        total += weight(i);
    int at = std::uniform_int_distribution<int>(0, total - 1)(random);
    for (const T &i : items) {
        at -= weight(i);
        if (at < 0)
            return i;
    }
    return items[0];
}

quint32 seedOfThisRun()
{
    bool ok = false;
    const quint32 given = qEnvironmentVariable("ORVANTA_MODEL_SEED").toUInt(&ok);
    return ok ? given : std::random_device{}();
}

constexpr int kReceipts = 200;
constexpr int kStepCount = 480;
constexpr int kTimeoutMs = 300;

} // namespace

TEST(SendingModel, NoDocumentReachesTheServiceTwiceAndNoReceiptIsLost)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    const quint32 seed = seedOfThisRun();
    std::printf("ORVANTA_MODEL_SEED=%u\n", seed);
    RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);

    // No schema on the stand-in's side: the sender checks every document itself, and the model
    // runs many times faster without a validator process per request.
    StandIn standIn({}, 0, {QStringLiteral("--late"), QString::number(kTimeoutMs / 2)});
    ASSERT_TRUE(standIn.isRunning());
    QStringList modes;
    for (int i = 0; i < 4000; ++i)
        modes << QLatin1String(pick(random, kModes, +[](const Weighted &w) { return w.weight; })
                                   .mode);
    standIn.next(modes);

    Practice practice;
    const QString names[2] = {QStringLiteral("A"), QStringLiteral("B")};
    const auto newSender = [&](int workstation) {
        return std::make_unique<Sender>(
            Program::DbConnectionString, folder,
            settings(standIn.baseUrl(), QLatin1String(StandIn::kKey), kTimeoutMs),
            names[workstation]);
    };
    std::unique_ptr<Sender> senders[2] = {newSender(0), newSender(1)};
    int issued = 0;
    const auto anyReceipt = [&] {
        return qint64(std::uniform_int_distribution<int>(1, issued)(random));
    };
    for (int i = 0; i < kStepCount; ++i) {
        const Step step = pick(random, kSteps, +[](const std::pair<Step, int> &s) {
                              return s.second;
                          }).first;
        if (step == Step::Issue || issued == 0) {
            if (issued < kReceipts)
                practice.issue(++issued);
            continue;
        }
        const int at = std::uniform_int_distribution<int>(0, 1)(random);
        Sender &sender = *senders[at];
        switch (step) {
        case Step::SendOne:
            sendOne(sender, anyReceipt());
            break;
        case Step::Drain:
            drain(sender);
            break;
        case Step::Restart: {
            // The program goes at any moment of a sending, and starts again.
            bool over = false;
            sender.sendOne(anyReceipt(), [&](const Turn &) { over = true; });
            const int ms = std::uniform_int_distribution<int>(0, kTimeoutMs / 3)(random);
            waitUntil([&] { return over; }, ms);
            senders[at] = newSender(at);
            break;
        }
        case Step::Cancel: {
            const qint64 n = anyReceipt();
            if (practice.item(n).state == SendState::Sent)
                practice.queue().requestCancel(n);
            break;
        }
        case Step::Issue:
            break;
        }
    }

    // The service behaves from now on: what waits is sent, what is in flight is found.
    standIn.next({QStringLiteral("clear")});
    for (int round = 0; round < 6 && !practice.queue().dueForSending(false).isEmpty(); ++round)
        drain(*senders[round % 2]);

    const QJsonObject held = standIn.held();
    int resent = 0;
    for (const QJsonValue &v : standIn.log()) {
        const QJsonObject request = v.toObject();
        for (const QJsonValue &h : request.value("held").toArray())
            resent += h.toBool();
    }
    EXPECT_EQ(resent, 0) << "documents sent again to a service that held them (seed " << seed
                         << ")";
    int sent = 0, rejected = 0, waiting = 0;
    for (qint64 n = 1; n <= issued; ++n) {
        const QueueItem it = practice.item(n);
        const qint64 mark = held.value(it.entry.uid).toVariant().toLongLong();
        SCOPED_TRACE(QStringLiteral("receipt %1, seed %2").arg(n).arg(seed).toStdString());
        switch (it.state) {
        case SendState::Sent:
            ++sent;
            EXPECT_EQ(it.mark, mark);
            break;
        case SendState::Rejected:
            ++rejected;
            EXPECT_EQ(mark, 0) << "held by the service, kept as rejected";
            EXPECT_FALSE(it.errors.contains(QLatin1String("228"))) << it.errors.toStdString();
            break;
        case SendState::Waiting:
        case SendState::InFlight:
            ++waiting;
            EXPECT_EQ(mark, 0) << "held by the service, never found";
            break;
        }
    }
    std::printf("%d receipts: %d sent, %d rejected, %d waiting; %lld requests\n", issued, sent,
                rejected, waiting, static_cast<long long>(standIn.log().size()));
    EXPECT_EQ(waiting, 0);
}
