// A commit the file's engine reports as failed after its commit point (an I/O error while the
// journal is deleted): the registration token written with the row says whether it took
// effect, and a second press never writes the row twice. The same rule as on a server whose
// answer to a COMMIT was lost (tests/server/tst_heldcommit.cpp).
#include "billingfixtures.h"
#include "connection.h"
#include "dberror.h"
#include "receiptissue.h"
#include "recordset.h"
#include "registration.h"
#include "schema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

using namespace BillingFixtures;

namespace {

// What the seam does in place of the engine's COMMIT, before it reports the I/O error.
enum class Seam { Commits, RollsBack };

// Makes the next COMMIT of the file fail with SQLITE_IOERR_DELETE, after committing or rolling
// back; later commits are the engine's own.
class FailingCommit {
public:
    explicit FailingCommit(Seam seam)
    {
        Connection::setFileCommitSeam([seam](sqlite3 *db) {
            Connection::setFileCommitSeam({});
            sqlite3_exec(db, seam == Seam::Commits ? "COMMIT" : "ROLLBACK", nullptr, nullptr,
                         nullptr);
            return SQLITE_IOERR_DELETE;
        });
    }
    ~FailingCommit() { Connection::setFileCommitSeam({}); }
};

struct Case {
    const char *name;
    Seam seam;
    bool olderFile;   // a practice file made before the table of tokens
    int pressesToRow; // presses until the row is registered
};

const Case kCases[] = {
    {"committed, then an I/O error", Seam::Commits, false, 1},
    {"rolled back, then an I/O error", Seam::RollsBack, false, 2},
    {"committed, in a file from before the tokens", Seam::Commits, true, 1},
};

class LostCommit : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        if (TestSupport::onServer())
            GTEST_SKIP() << "the file's engine only";
        setUpNumbering(practice);
        if (GetParam().olderFile)
            practice.exec(QStringLiteral("DROP TABLE %1").arg(Registration::kTable));
    }
    TestSupport::TempPractice practice;
};

} // namespace

TEST_P(LostCommit, AReceiptIsIssuedOnceUnderTheNumberWritten)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    ReceiptIssue issue(c);
    issue.read();
    const ReceiptIssue::Input typed {
        "7", "Άννα", "Ιωάννου", "40", "Φυσικοθεραπεία", "", Registration::newToken()};
    ReceiptIssue::Result r;
    {
        FailingCommit failing(GetParam().seam);
        r = issue.issue(typed);
    }
    int presses = 1;
    while (r.outcome != ReceiptIssue::Outcome::Issued && presses < 3) {
        // Not written: what the person reads says so, and the next press issues it.
        EXPECT_EQ(r.outcome, ReceiptIssue::Outcome::Failed);
        EXPECT_FALSE(r.error.isEmpty());
        r = issue.issue(typed);
        ++presses;
    }
    EXPECT_EQ(presses, GetParam().pressesToRow);
    EXPECT_EQ(r.outcome, ReceiptIssue::Outcome::Issued);
    EXPECT_EQ(r.number, 100);
    EXPECT_EQ(receiptState(practice), "101|1|1|40");
    EXPECT_EQ(practice.count(
                  QStringLiteral("SELECT * FROM %1 WHERE KLEIDI='100'").arg(Registration::kTable)),
              1);
}

TEST_P(LostCommit, ANewRowIsPostedOnce)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query expenses(c);
    expenses.setRegistersInserts(true);
    expenses.setSql("SELECT * FROM EKSODA WHERE 1=0");
    expenses.open();
    expenses.insert();
    expenses.setFieldValue("PERIGRAFH", "Ενοίκιο");
    expenses.setFieldValue("POSO", "350");
    int presses = 0;
    while (expenses.state() != RecordSet::State::Browse && presses < 3) {
        ++presses;
        try {
            if (presses == 1) {
                FailingCommit failing(GetParam().seam);
                expenses.post();
            } else {
                expenses.post();
            }
        } catch (const DbError &e) {
            EXPECT_EQ(e.kind(), DbError::Kind::NotWritten) << e.message().toStdString();
            EXPECT_EQ(expenses.state(), RecordSet::State::Insert);
        }
    }
    EXPECT_EQ(presses, GetParam().pressesToRow);
    EXPECT_EQ(practice.count("SELECT * FROM EKSODA WHERE PERIGRAFH='Ενοίκιο'"), 1);
    EXPECT_EQ(expenses.fieldText("POSO"), "350");
    EXPECT_FALSE(expenses.hasUnsettledInsert());
}

// Tokens are kept four weeks: those written earlier go, the day's and the last weeks' stay.
TEST(RegistrationTokens, PruningKeepsTheLastFourWeeks)
{
    TestSupport::TempPractice practice;
    const QDateTime now(QDate(2026, 3, 31), QTime(12, 0), Qt::UTC);
    const struct {
        const char *token;
        qint64 secondsAgo;
        bool kept;
    } rows[] = {
        {"now", 0, true},
        {"a week ago", 7 * 86400, true},
        {"just inside", 28 * 86400 - 60, true},
        {"just outside", 28 * 86400 + 60, false},
        {"a year ago", 365 * 86400, false},
    };
    for (const auto &r : rows)
        practice.exec(QStringLiteral("INSERT INTO %1 (TOKEN, PINAKAS, KLEIDI, WRA) VALUES "
                                     "('%2', 'EKSODA', '1', '%3')")
                          .arg(Registration::kTable, QString::fromUtf8(r.token),
                               now.addSecs(-r.secondsAgo).toString(Qt::ISODate)));
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Registration::prune(c, now);
    for (const auto &r : rows)
        EXPECT_EQ(practice.count(QStringLiteral("SELECT * FROM %1 WHERE TOKEN='%2'")
                                     .arg(Registration::kTable, QString::fromUtf8(r.token))),
                  r.kept ? 1 : 0)
            << r.token;
}

INSTANTIATE_TEST_SUITE_P(File, LostCommit, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             std::string n = info.param.name;
                             for (char &ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });
