// The arithmetic of a receipt and the SQL texts of the receipt and payment windows, word for
// word against the repository's statement file.
#include "billingsql.h"
#include "receiptmath.h"
#include "receiptprinting.h"
#include "sqltext.h"
#include "testsupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct Worked {
    double amount;
    double rate;
    double pounds;
    double vat;
    QString vatText;
    QString totalText;
};

} // namespace

TEST(ReceiptMath, WorkedFiguresOfTheReceipt)
{
    const Worked cases[] = {
        {40, 15, 23.41, 6, "6", "46"},          // 40 x 0.585274 = 23.41096
        {25, 15, 14.63, 3.75, "3.75", "28.75"}, // 14.63185
        // The amount is kept as entered; the total is the rounded VAT plus that amount.
        {12.345, 15, 7.23, 1.85, "1.85", "14.195"},
        {40, 0, 23.41, 0, "0", "40"},
        {30.5, 24, 17.85, 7.32, "7.32", "37.82"},
        {100, -10, 58.53, -10, "-10", "90"},
    };
    for (const Worked &c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " at " << c.rate);
        const ReceiptMath::Figures f = ReceiptMath::compute(c.amount, c.rate);
        EXPECT_DOUBLE_EQ(f.amount, c.amount);
        EXPECT_DOUBLE_EQ(f.amountCy, c.pounds);
        EXPECT_DOUBLE_EQ(f.vat, c.vat);
        EXPECT_EQ(SqlText::number(f.vat), c.vatText);
        EXPECT_EQ(SqlText::number(f.total), c.totalText);
    }
}

TEST(ReceiptMath, AnExactHalfGoesToTheEvenNeighbour)
{
    struct Half {
        double amount, rate, vat;
    };
    const Half cases[] = {
        {2.5, 5, 0.12}, // 0.125: down to 12
        {0.5, 5, 0.02}, // 0.025: down to 2
        {1.5, 5, 0.08}, // 0.075: up to 8
        {0.5, 7, 0.04}, // 0.035: up to 4
    };
    for (const Half &c : cases)
        EXPECT_DOUBLE_EQ(ReceiptMath::compute(c.amount, c.rate).vat, c.vat)
            << c.amount << " at " << c.rate;
    EXPECT_DOUBLE_EQ(ReceiptMath::round2(-0.125L), -0.12);
    EXPECT_DOUBLE_EQ(ReceiptMath::round2(23.41096L), 23.41);
}

TEST(BillingSql, EveryTextIsInTheStatementFileWordForWord)
{
    const QStringList lines = TestSupport::corpusLines();
    ASSERT_FALSE(lines.isEmpty()) << "sql-corpus.txt not found";

    BillingSql::ReceiptRow row;
    row.patientId = "7";
    row.number = 100;
    row.firstName = "ΓΙΩΡΓΟΣ";
    row.surname = "ΠΑΠΑΔΟΠΟΥΛΟΣ";
    row.description = "Φυσικοθεραπεία";
    row.fund = "ΙΚΑ";
    const ReceiptMath::Figures f = ReceiptMath::compute(40, 15);
    row.amount = f.amount;
    row.amountCy = f.amountCy;
    row.vat = f.vat;
    row.total = f.total;

    ReceiptPrinting printing;
    printing.ReceiptNo = 100;
    const QString texts[] = {
        BillingSql::kLastNumber,
        BillingSql::kVatRate,
        BillingSql::insertPayment(row),
        BillingSql::insertReceipt(row),
        BillingSql::kRaiseCounter,
        BillingSql::kRegister,
        printing.receiptSql(),
        BillingSql::deletePayment(100),
        BillingSql::invalidateReceipt(100),
        BillingSql::patientPayments(" 7 "),
        BillingSql::patientTotals("7"),
        BillingSql::periodIncome(SqlText::ToSqlDate("1/3/2008"), SqlText::ToSqlDate("31/3/2008")),
    };
    for (const QString &sql : texts)
        EXPECT_TRUE(lines.contains(sql)) << sql.toStdString();
    // Two blanks stand before WHERE in the printed receipt's SELECT.
    EXPECT_TRUE(printing.receiptSql().contains("FROM APODEIKSEIS  WHERE AR_APODEIKSHS=100"));
}

TEST(BillingSql, TypedTextsNeverEndTheirLiteralAndIdsAreWholeNumbers)
{
    BillingSql::ReceiptRow row;
    row.patientId = "7 OR 1=1";
    row.number = 5;
    row.firstName = "O'NEIL";
    row.surname = "D'ARCY";
    const QString receipt = BillingSql::insertReceipt(row);
    EXPECT_TRUE(receipt.contains("'O''NEIL','D''ARCY','O''NEIL D''ARCY'")) << receipt.toStdString();
    EXPECT_TRUE(BillingSql::insertPayment(row).contains("VALUES(-1,"));
    EXPECT_TRUE(
        BillingSql::patientPayments("7; DROP").endsWith("WHERE ID=-1 ORDER BY HMEROMHNIA DESC"));
}

TEST(ReceiptPrinting, TheRateChoosesTheLayout)
{
    const std::pair<double, const char *> cases[] = {
        {0, "\\APODEIKSEIS.RAV"},
        {15, "\\APODEIKSEISVAT.RAV"},
        {0.01, "\\APODEIKSEISVAT.RAV"},
        {-5, "\\APODEIKSEISVAT.RAV"},
    };
    for (const auto &[rate, layout] : cases)
        EXPECT_EQ(ReceiptPrinting::layoutFor(rate), QString::fromUtf8(layout)) << rate;
}
