// Issuing a receipt without a window: what is written for each kind of amount, the number
// taken meanwhile by another window, and a write that fails halfway leaving nothing behind.
#include "billingfixtures.h"
#include "connection.h"
#include "receiptissue.h"
#include "sqltext.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace BillingFixtures;
using Outcome = ReceiptIssue::Outcome;

namespace {

// The amount as the person types it on this system (written here with a point).
ReceiptIssue::Input input(const QString &amount, const QString &fund = "ΙΚΑ")
{
    return {"7", "ΓΙΩΡΓΟΣ", "ΠΑΠΑΔΟΠΟΥΛΟΣ", TestSupport::num(amount), "Φυσικοθεραπεία", fund};
}

struct Written {
    const char *amount;
    const char *rate;
    Outcome outcome;
    // POSO, VAT, SYNOLIKO_POSO, POSO_CY of both rows; empty when nothing is written
    const char *figures;
};

// Columns of the first row of a table, joined with separator.
QString columns(const TestSupport::TempPractice &p, const QString &table, const QStringList &names,
                const QString &separator = "/")
{
    QStringList values;
    for (const QString &name : names)
        values << p.scalar("SELECT " + name + " FROM " + table);
    return values.join(separator);
}

QString figures(const TestSupport::TempPractice &p, const QString &table)
{
    return columns(p, table, {"POSO", "VAT", "SYNOLIKO_POSO", "POSO_CY"});
}

} // namespace

TEST(ReceiptIssue, WhatEachAmountWrites)
{
    const Written cases[] = {
        {"40", "15", Outcome::Issued, "40/6/46/23.41"},
        {"25", "15", Outcome::Issued, "25/3.75/28.75/14.63"},
        {"12.345", "15", Outcome::Issued, "12.345/1.85/14.195/7.23"},
        {" 12.345 ", "15", Outcome::Issued, "12.345/1.85/14.195/7.23"},
        {"10.10", "15", Outcome::Issued, "10.1/1.52/11.62/5.91"}, // 1.515: an exact half
        {"1,000", "15", Outcome::Failed, ""}, // not the system's decimal separator
        {"40", "0", Outcome::Issued, "40/0/40/23.41"},
        {"0", "15", Outcome::NotPositive, ""},
        {"-5", "15", Outcome::NotPositive, ""},
        {"abc", "15", Outcome::Failed, ""},
        {"", "15", Outcome::Failed, ""},
        {"40", "", Outcome::Failed, ""}, // no VAT rate set
    };
    for (const Written &c : cases) {
        SCOPED_TRACE(testing::Message() << "amount '" << c.amount << "' rate '" << c.rate << "'");
        TestSupport::TempPractice practice;
        setUpNumbering(practice, "100", c.rate);
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(connection);
        issue.read();
        const ReceiptIssue::Result r = issue.issue(input(c.amount));
        EXPECT_EQ(r.outcome, c.outcome);
        const bool written = c.outcome == Outcome::Issued;
        EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), written ? "101" : "100");
        EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS"), written ? 1 : 0);
        EXPECT_EQ(practice.count("SELECT * FROM EISPRAKSH_PELATH"), written ? 1 : 0);
        if (!written)
            continue;
        EXPECT_EQ(r.number, 100);
        EXPECT_EQ(figures(practice, "EISPRAKSH_PELATH"), TestSupport::num(c.figures));
        EXPECT_EQ(figures(practice, "APODEIKSEIS"), TestSupport::num(c.figures));
        EXPECT_EQ(columns(practice, "EISPRAKSH_PELATH",
                          {"AR_APODEIKSHS", "ID", "TAMEIO", "PERIGRAFH", "HMEROMHNIA"}),
                  "100/7/ΙΚΑ/Φυσικοθεραπεία/" + SqlText::dateText(QDate::currentDate()));
        EXPECT_EQ(columns(practice, "APODEIKSEIS",
                          {"AR_APODEIKSHS", "ONOMA", "EPWNYMO", "PARALHPTHS", "EGKYRH"}),
                  "100/ΓΙΩΡΓΟΣ/ΠΑΠΑΔΟΠΟΥΛΟΣ/ΓΙΩΡΓΟΣ ΠΑΠΑΔΟΠΟΥΛΟΣ/True");
    }
}

TEST(ReceiptIssue, AnEmptyFundIsWrittenEmptyAndNamesWithQuotesAreKept)
{
    TestSupport::TempPractice practice;
    setUpNumbering(practice);
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    ReceiptIssue issue(connection);
    issue.read();
    ReceiptIssue::Input in = input("30", "");
    in.surname = "O'NEIL";
    ASSERT_EQ(issue.issue(in).outcome, Outcome::Issued);
    EXPECT_EQ(practice.scalar("SELECT TAMEIO FROM APODEIKSEIS"), "");
    EXPECT_EQ(practice.scalar("SELECT PARALHPTHS FROM APODEIKSEIS"), "ΓΙΩΡΓΟΣ O'NEIL");
}

TEST(ReceiptIssue, WithoutNumberingNothingIsIssued)
{
    TestSupport::TempPractice practice;
    setUpNumbering(practice, "", "15");
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    ReceiptIssue issue(connection);
    issue.read();
    EXPECT_EQ(issue.numberText(), "");
    EXPECT_EQ(issue.issue(input("40")).outcome, Outcome::Failed);
    EXPECT_EQ(practice.count("SELECT * FROM APODEIKSEIS"), 0);
}

TEST(ReceiptIssue, ANumberTakenMeanwhileIsNotIssuedTwice)
{
    TestSupport::TempPractice practice;
    setUpNumbering(practice);
    Connection first, second;
    first.setUp(Program::DbConnectionString, true);
    second.setUp(Program::DbConnectionString, true);
    ReceiptIssue a(first), b(second);
    a.read();
    b.read();
    ASSERT_EQ(b.numberText(), "100");
    ASSERT_EQ(a.issue(input("40")).outcome, Outcome::Issued);
    const QString before = receiptState(practice);

    const ReceiptIssue::Result late = b.issue(input("25"));
    EXPECT_EQ(late.outcome, Outcome::NumberTaken);
    EXPECT_EQ(late.number, 100);
    EXPECT_EQ(late.next, 101);
    EXPECT_EQ(b.numberText(), "101"); // the next free number is shown
    EXPECT_EQ(receiptState(practice), before);

    const ReceiptIssue::Result again = b.issue(input("25"));
    EXPECT_EQ(again.outcome, Outcome::Issued);
    EXPECT_EQ(again.number, 101);
    EXPECT_EQ(practice.scalar("SELECT [LAST] FROM LAST_APODEIKSH"), "102");
}

TEST(ReceiptIssue, AFailureAtAnyStepLeavesTheThreeTablesAsTheyWere)
{
    // Each trigger makes one of the three writes fail after the ones before it ran.
    const struct {
        const char *table, *event, *message;
    } faults[] = {
        {"EISPRAKSH_PELATH", "INSERT", "payment refused"},
        {"APODEIKSEIS", "INSERT", "receipt refused"},
        {"LAST_APODEIKSH", "UPDATE", "counter refused"},
    };
    for (const auto &fault : faults) {
        SCOPED_TRACE(fault.message);
        TestSupport::TempPractice practice;
        setUpNumbering(practice);
        Connection connection;
        connection.setUp(Program::DbConnectionString, true);
        ReceiptIssue issue(connection);
        issue.read();
        ASSERT_EQ(issue.issue(input("40")).outcome, Outcome::Issued); // one receipt already there
        issue.read();
        const QString before = receiptState(practice);

        TestSupport::refuseWrites(fault.table, fault.event, fault.message);
        const ReceiptIssue::Result r = issue.issue(input("25"));
        EXPECT_EQ(r.outcome, Outcome::Failed);
        EXPECT_TRUE(r.error.contains("refused")) << r.error.toStdString();
        EXPECT_EQ(receiptState(practice), before);

        // Once the fault is gone the same window issues the same number.
        TestSupport::allowWrites(fault.table);
        const ReceiptIssue::Result retry = issue.issue(input("25"));
        EXPECT_EQ(retry.outcome, Outcome::Issued);
        EXPECT_EQ(retry.number, 101);
    }
}
