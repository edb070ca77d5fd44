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

#include <vector>

namespace {

Decimal typed(const char *text)
{
    return Decimal::read(QString::fromLatin1(text), QLatin1Char('.')).value();
}

// An exact half of the last place goes to the even neighbour: q + r/divisor rounded.
qint64 halfEven(qint64 numerator, qint64 divisor)
{
    qint64 q = numerator / divisor;
    const qint64 r = numerator % divisor;
    if (2 * r > divisor || (2 * r == divisor && q % 2 != 0))
        ++q;
    return q;
}

} // namespace

TEST(ReceiptMath, WorkedFiguresOfTheReceipt)
{
    struct Worked {
        const char *amount, *rate, *pounds, *vat, *total;
    };
    const Worked cases[] = {
        {"40", "15", "23.41", "6", "46"},          // 40 x 0.585274 = 23.41096
        {"25", "15", "14.63", "3.75", "28.75"},    // 14.63185
        {"10.10", "15", "5.91", "1.52", "11.62"},  // 1.515 exactly: up to the even 1.52
        {"12.345", "15", "7.23", "1.85", "14.195"}, // the amount is kept as entered
        {"40", "0", "23.41", "0", "40"},
        {"30.5", "24", "17.85", "7.32", "37.82"},
        {"100", "-10", "58.53", "-10", "90"},
        {"2.5", "5", "1.46", "0.12", "2.62"},      // 0.125: down to 0.12
        {"0.5", "7", "0.29", "0.04", "0.54"},      // 0.035: up to 0.04
        {"12.5", "6.5", "7.32", "0.81", "13.31"},  // 0.8125
    };
    for (const Worked &c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " at " << c.rate);
        const ReceiptMath::Figures f = ReceiptMath::compute(typed(c.amount), typed(c.rate));
        EXPECT_EQ(f.amount, typed(c.amount));
        EXPECT_EQ(f.amountCy.sqlText().toStdString(), c.pounds);
        EXPECT_EQ(f.vat.sqlText().toStdString(), c.vat);
        EXPECT_EQ(f.total.sqlText().toStdString(), c.total);
    }
}

// Every cent amount from 0.01 to 10,000.00 at every rate a Greek or Cypriot practice has met,
// read from its text as typed and computed against whole numbers of cents.
TEST(ReceiptMath, EveryCentAmountAgreesWithWholeCentArithmetic)
{
    const int rates[] = {0, 6, 13, 15, 16, 23, 24};
    std::vector<Decimal> rateDecimals;
    for (int rate : rates)
        rateDecimals.push_back(Decimal::read(QString::number(rate), QLatin1Char(',')).value());
    int mismatches = 0;
    for (qint64 cents = 1; cents <= 1'000'000; ++cents) {
        const QString text = QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10,
                                                                          QLatin1Char('0'));
        const std::optional<Decimal> amount = Decimal::read(text, QLatin1Char(','));
        ASSERT_TRUE(amount) << text.toStdString();
        const qint64 pounds = halfEven(cents * 585274, 1'000'000);
        for (size_t r = 0; r < std::size(rates); ++r) {
            const ReceiptMath::Figures f = ReceiptMath::compute(*amount, rateDecimals[r]);
            const qint64 vat = halfEven(cents * rates[r], 100);
            const bool same = f.vat == Decimal(vat, 2) && f.total == Decimal(cents + vat, 2)
                && f.amountCy == Decimal(pounds, 2) && f.amount == Decimal(cents, 2);
            if (!same && ++mismatches <= 10)
                ADD_FAILURE() << text.toStdString() << " at " << rates[r] << ": VAT "
                              << f.vat.sqlText().toStdString() << ", expected " << vat
                              << " cents";
        }
    }
    EXPECT_EQ(mismatches, 0);
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
    const ReceiptMath::Figures f = ReceiptMath::compute(Decimal(40), Decimal(15));
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
        BillingSql::receiptVat(100),
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

TEST(ReceiptPrinting, AVatOfZeroChoosesThePlainLayout)
{
    const std::pair<Decimal, const char *> cases[] = {
        {Decimal(0), "\\APODEIKSEIS.RAV"},     {Decimal(0, 2), "\\APODEIKSEIS.RAV"},
        {Decimal(15), "\\APODEIKSEISVAT.RAV"}, {Decimal(1, 2), "\\APODEIKSEISVAT.RAV"},
        {Decimal(-5), "\\APODEIKSEISVAT.RAV"},
    };
    for (const auto &[vat, layout] : cases)
        EXPECT_EQ(ReceiptPrinting::layoutFor(vat), QString::fromUtf8(layout))
            << vat.sqlText().toStdString();
}
