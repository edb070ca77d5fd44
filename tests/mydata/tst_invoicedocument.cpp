// The document of one receipt: its figures, its identifier, the schema and the rules the
// schema cannot check.
#include "documentrules.h"
#include "invoicedocument.h"
#include "mydatatestsupport.h"
#include "mydatatexts.h"
#include "schemavalidator.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>

using namespace MyData;
using MyDataTest::amount;
using MyDataTest::receipt;

namespace {

// Every leaf element's text by its name (the first of each name in document order, the line's
// classification before the summary's), and how often each name occurs.
struct Leaves {
    std::map<QString, QString> first;
    std::map<QString, int> count;
};

Leaves leaves(const QByteArray &xml)
{
    Leaves out;
    QXmlStreamReader r(xml);
    QString name;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            name = r.name().toString();
            ++out.count[name];
        } else if (r.isCharacters() && !r.isWhitespace()) {
            out.first.try_emplace(name, r.text().toString());
        }
    }
    EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
    return out;
}

Issuer issuer()
{
    return Issuer{QString::fromLatin1(MyDataTest::kVatNumber), 0};
}

} // namespace

// Receipts at amounts of the receipt arithmetic's worked table, exempt (the practice's usual
// case) and taxable at the authority's rates; the expected figures are worked by hand.
TEST(InvoiceDocument, ExemptAndTaxableReceiptsPassTheSchemaAndTheRules)
{
    struct Case {
        const char *net, *vat, *total, *rate;
        VatTreatment treatment;
        const char *category; // vatCategory expected
    };
    const Case cases[] = {
        {"40", "0", "40", "0", VatTreatment::Exempt, "7"},
        {"25", "0", "25", "0", VatTreatment::Exempt, "7"},
        {"10.10", "0", "10.10", "0", VatTreatment::Exempt, "7"},
        {"0.5", "0", "0.5", "0", VatTreatment::Exempt, "7"},
        {"40", "9.60", "49.60", "24", VatTreatment::Taxable, "1"},
        {"10.10", "2.42", "12.52", "24", VatTreatment::Taxable, "1"}, // 2.424
        {"30.5", "3.96", "34.46", "13", VatTreatment::Taxable, "2"},  // 3.965: the even 3.96
        {"2.5", "0.15", "2.65", "6", VatTreatment::Taxable, "3"},
        {"12.5", "0.50", "13.00", "4", VatTreatment::Taxable, "6"},
        {"999999.99", "240000.00", "1239999.99", "24", VatTreatment::Taxable, "1"},
    };
    const QString folder = MyDataTest::schemaFolder();
    auto validator = std::make_unique<SchemaValidator>(folder);
    ASSERT_TRUE(validator->isLoaded()) << validator->loadError().toStdString();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.net << " at " << c.rate);
        const Document doc
            = buildInvoicesDoc(issuer(), receipt(c.net, c.vat, c.total, c.rate, c.treatment));
        ASSERT_TRUE(doc.problems.isEmpty()) << doc.problems.join("\n").toStdString();
        EXPECT_EQ(checkReceiptRules(doc.xml), QStringList());
        if (validator) {
            EXPECT_EQ(validator->validate(doc.xml), QStringList()) << doc.xml.toStdString();
        }
        Leaves l = leaves(doc.xml);
        const QString net = amount(c.net).rounded(2, Decimal::Rounding::HalfEven)
                                .text(QLatin1Char('.'));
        EXPECT_EQ(l.first["netValue"], net);
        EXPECT_EQ(l.first["totalNetValue"], net);
        EXPECT_EQ(l.first["vatCategory"], QString::fromLatin1(c.category));
        EXPECT_EQ(l.count["vatExemptionCategory"], c.treatment == VatTreatment::Exempt ? 1 : 0);
        EXPECT_EQ(l.first["invoiceType"], "11.2");
        EXPECT_EQ(l.first["classificationType"], "E3_561_003");
        EXPECT_EQ(l.first["classificationCategory"], "category1_3");
        EXPECT_EQ(l.first["vatNumber"], MyDataTest::kVatNumber);
        EXPECT_EQ(l.first["country"], "GR");
        EXPECT_EQ(l.first["type"], "3"); // cash
        EXPECT_EQ(l.count["counterpart"], 0);
        EXPECT_EQ(l.count["quantity"], 0);
        EXPECT_EQ(l.count["transmissionFailure"], 0);
    }
}

TEST(InvoiceDocument, AReceiptSentLateSaysTheConnectionFailed)
{
    Receipt r = receipt("40", "0", "40", "0", VatTreatment::Exempt);
    r.sentLate = true;
    const Document doc = buildInvoicesDoc(issuer(), r);
    ASSERT_TRUE(doc.problems.isEmpty());
    EXPECT_EQ(leaves(doc.xml).first["transmissionFailure"], "3");
    MYDATA_REQUIRE_SCHEMA(folder);
    EXPECT_EQ(SchemaValidator(folder).validate(doc.xml), QStringList());
}

// What cannot be described truthfully is refused before anything is built.
TEST(InvoiceDocument, ReceiptsThatCannotBeDescribedAreRefused)
{
    struct Case {
        const char *what;
        Receipt receipt;
        QString vatNumber;
        QString problem;
    };
    const QString vat = QString::fromLatin1(MyDataTest::kVatNumber);
    Receipt badSeries = receipt("40", "0", "40", "0", VatTreatment::Exempt);
    badSeries.series = QStringLiteral("Ж"); // no ISO-8859-7 byte
    Receipt noNumber = receipt("40", "0", "40", "0", VatTreatment::Exempt);
    noNumber.number = 0;
    Receipt card = receipt("40", "0", "40", "0", VatTreatment::Exempt);
    card.paymentMethod = 7; // needs the card terminal's link
    const Case cases[] = {
        {"three decimals", receipt("12.345", "0", "12.345", "0", VatTreatment::Exempt), vat,
         MyDataTexts::kNotCents},
        {"total is not amount plus VAT", receipt("40", "9.60", "49.61", "24",
                                                 VatTreatment::Taxable),
         vat, MyDataTexts::kNotCents},
        {"a rate that is no category", receipt("40", "6", "46", "15", VatTreatment::Taxable), vat,
         MyDataTexts::rateNotGreek("15")},
        {"VAT not at the rate", receipt("40", "9.70", "49.70", "24", VatTreatment::Taxable), vat,
         MyDataTexts::kVatDisagrees},
        {"exempt with VAT", receipt("40", "9.60", "49.60", "24", VatTreatment::Exempt), vat,
         MyDataTexts::kExemptWithVat},
        {"taxable at 0 %", receipt("40", "0", "40", "0", VatTreatment::Taxable), vat,
         MyDataTexts::kTaxableWithoutVat},
        {"no amount", receipt("0", "0", "0", "0", VatTreatment::Exempt), vat,
         MyDataTexts::kNotPositive},
        {"wrong check digit", receipt("40", "0", "40", "0", VatTreatment::Exempt),
         QStringLiteral("691400508"), MyDataTexts::kBadVatNumber},
        {"series", badSeries, vat, MyDataTexts::kBadSeries},
        {"number", noNumber, vat, MyDataTexts::kBadNumber},
        {"card", card, vat, MyDataTexts::kBadPayment},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Document doc = buildInvoicesDoc(Issuer{c.vatNumber, 0}, c.receipt);
        EXPECT_TRUE(doc.problems.contains(c.problem)) << doc.problems.join("\n").toStdString();
        EXPECT_TRUE(doc.xml.isEmpty());
    }
}

TEST(InvoiceDocument, TheIdentifierIsTheSha1OfTheKeyWithTheSeriesInGreekBytes)
{
    // Worked with Python's hashlib over the ISO-8859-7 bytes of the key.
    Receipt r = receipt("40", "0", "40", "0", VatTreatment::Exempt);
    EXPECT_EQ(documentUid(issuer(), r), "A94761DBAD6ECFDE9629FB7E6FA5F94E31803C85");
    r.series = QStringLiteral("A");
    r.number = 7;
    r.issueDate = QDate(2027, 1, 5);
    EXPECT_EQ(documentUid(issuer(), r), "B3184F5B756499083491F4AC9272EA07EC27BD45");
    EXPECT_EQ(buildInvoicesDoc(issuer(), r).uid, documentUid(issuer(), r));

    EXPECT_EQ(seriesBytes(QStringLiteral("ΑΠΥ")), QByteArray("\xC1\xD0\xD5"));
    EXPECT_EQ(seriesBytes(QStringLiteral("άΩ")), QByteArray("\xDC\xD9"));
    EXPECT_EQ(seriesBytes(QStringLiteral("Ж")), QByteArray());
    for (const char *series : {"Α", "ΑΠΥ-1", "B2"})
        EXPECT_TRUE(isValidSeries(QString::fromUtf8(series))) << series;
    for (const char *series : {"", " Α", "Α Β", "Ж", "\t"})
        EXPECT_FALSE(isValidSeries(QString::fromUtf8(series))) << series;
    EXPECT_FALSE(isValidSeries(QString(51, QLatin1Char('A'))));
}

TEST(InvoiceDocument, TaxNumbersNeedTheirCheckDigit)
{
    for (const char *good : {"691400507", "690161973", "895913126"})
        EXPECT_TRUE(isValidVatNumber(QString::fromLatin1(good))) << good;
    for (const char *bad : {"691400508", "69140050", "6914005071", "69140050A", "000000000", ""})
        EXPECT_FALSE(isValidVatNumber(QString::fromLatin1(bad))) << bad;
}

// The rules checker reads the document on its own, so a fault in the builder cannot hide in
// it: each tampered document breaks one rule and is caught.
TEST(ReceiptRules, TamperedDocumentsAreCaught)
{
    const QByteArray good
        = buildInvoicesDoc(issuer(), receipt("40", "9.60", "49.60", "24", VatTreatment::Taxable))
              .xml;
    ASSERT_FALSE(good.isEmpty());
    struct Case {
        const char *what, *from, *to, *problem;
    };
    const Case cases[] = {
        {"counterpart", "<invoiceHeader>",
         "<counterpart><vatNumber>1</vatNumber></counterpart><invoiceHeader>", "counterpart"},
        {"quantity", "<netValue>", "<quantity>1</quantity><netValue>", "quantity"},
        {"one decimal", "<netValue>40.00<", "<netValue>40.0<", "two decimals"},
        {"three decimals", "<totalVatAmount>9.60<", "<totalVatAmount>9.600<", "two decimals"},
        {"line and summary differ", "<totalNetValue>40.00<", "<totalNetValue>41.00<",
         "net value"},
        {"gross not net plus VAT", "<totalGrossValue>49.60<", "<totalGrossValue>49.70<",
         "gross value"},
        {"payment differs", "<amount>49.60<", "<amount>40.00<", "payments"},
        {"other type", ">11.2<", ">1.1<", "invoiceType"},
        {"exempt line with VAT", "<vatCategory>1<",
         "<vatCategory>7<", "category 7"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray xml = good;
        ASSERT_TRUE(xml.contains(c.from));
        xml.replace(xml.indexOf(c.from), qsizetype(strlen(c.from)), c.to);
        const QStringList problems = checkReceiptRules(xml);
        ASSERT_FALSE(problems.isEmpty());
        EXPECT_TRUE(problems.join('\n').contains(QLatin1String(c.problem)))
            << problems.join('\n').toStdString();
    }
    EXPECT_FALSE(checkReceiptRules("<InvoicesDoc").isEmpty());
    EXPECT_FALSE(checkReceiptRules("<InvoicesDoc/>").isEmpty());
}

TEST(SchemaValidator, RefusesWhatTheSchemaForbidsAndSaysWhy)
{
    MYDATA_REQUIRE_SCHEMA(folder);
    SchemaValidator validator(folder);
    ASSERT_TRUE(validator.isLoaded()) << validator.loadError().toStdString();
    const QByteArray good
        = buildInvoicesDoc(issuer(), receipt("40", "0", "40", "0", VatTreatment::Exempt)).xml;
    struct Case {
        const char *what, *from, *to;
    };
    const Case cases[] = {
        {"three decimals", "<netValue>40.00<", "<netValue>40.001<"},
        {"negative", "<netValue>40.00<", "<netValue>-40.00<"},
        {"no summary", "<invoiceSummary>", "<invoiceSummaryX>"},
        {"unknown type", ">11.2<", ">11.9<"},
        {"classification namespace with http", "https://www.aade.gr/myDATA/income",
         "http://www.aade.gr/myDATA/income"},
        {"not well-formed", "</InvoicesDoc>", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray xml = good;
        ASSERT_TRUE(xml.contains(c.from));
        xml.replace(xml.indexOf(c.from), qsizetype(strlen(c.from)), c.to);
        EXPECT_FALSE(validator.validate(xml).isEmpty());
    }
    EXPECT_FALSE(SchemaValidator(folder + "/missing").isLoaded());
    EXPECT_FALSE(SchemaValidator(QString()).validate(good).isEmpty());
}
