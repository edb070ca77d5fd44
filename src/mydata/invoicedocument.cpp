#include "invoicedocument.h"

#include "mydatatexts.h"

#include <QCryptographicHash>
#include <QXmlStreamWriter>

#include <iconv.h>

namespace MyData {

namespace {

struct RateCategory {
    int percent;
    int category;
};
// The authority's categories of taxable lines; 4/5/6 are the reduced rates of some islands.
constexpr RateCategory kRates[] = {{24, 1}, {13, 2}, {6, 3}, {17, 4}, {9, 5}, {4, 6}};

// True when the value needs no more than two decimals.
bool isCents(const Decimal &value)
{
    return value.rounded(2, Decimal::Rounding::HalfEven) == value;
}

} // namespace

bool isKnownPaymentMethod(int code)
{
    return code == int(PaymentMethod::Cash) || code == int(PaymentMethod::BankAccount)
        || code == int(PaymentMethod::Iris);
}

int vatCategoryForRate(const Decimal &ratePercent)
{
    for (const RateCategory &r : kRates)
        if (ratePercent == Decimal(r.percent))
            return r.category;
    return 0;
}

bool isValidVatNumber(const QString &vatNumber)
{
    if (vatNumber.size() != 9)
        return false;
    int sum = 0;
    for (int i = 0; i < 9; ++i) {
        const QChar c = vatNumber.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        if (i < 8)
            sum += (c.unicode() - '0') << (8 - i);
    }
    if (vatNumber == QStringLiteral("000000000"))
        return false;
    return (sum % 11) % 10 == vatNumber.at(8).unicode() - '0';
}

QByteArray seriesBytes(const QString &series)
{
    QByteArray utf8 = series.toUtf8();
    if (utf8.isEmpty())
        return {};
    iconv_t cd = iconv_open("ISO-8859-7", "UTF-8");
    if (cd == iconv_t(-1))
        return {};
    QByteArray out(utf8.size(), '\0'); // never longer than its UTF-8 form
    char *in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    char *to = out.data();
    size_t outLeft = size_t(out.size());
    const size_t done = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (done == size_t(-1) || inLeft != 0)
        return {};
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

bool isValidSeries(const QString &series)
{
    if (series.isEmpty() || series.size() > 50 || series.trimmed() != series)
        return false;
    for (const QChar c : series)
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return false;
    return !seriesBytes(series).isEmpty();
}

QString documentUid(const Issuer &issuer, const Receipt &receipt)
{
    QByteArray key = issuer.vatNumber.toLatin1();
    key += '-' + receipt.issueDate.toString(Qt::ISODate).toLatin1();
    key += '-' + QByteArray::number(issuer.branch);
    key += QByteArray("-") + kReceiptType;
    key += '-' + seriesBytes(receipt.series);
    key += '-' + QByteArray::number(receipt.number);
    return QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().toUpper());
}

QString amountText(const Decimal &amount)
{
    return amount.rounded(2, Decimal::Rounding::HalfEven).text(QLatin1Char('.'));
}

Document buildInvoicesDoc(const Issuer &issuer, const Receipt &receipt)
{
    Document doc;
    if (!isValidVatNumber(issuer.vatNumber))
        doc.problems << MyDataTexts::kBadVatNumber;
    if (!isValidSeries(receipt.series))
        doc.problems << MyDataTexts::kBadSeries;
    if (receipt.number <= 0)
        doc.problems << MyDataTexts::kBadNumber;
    if (!receipt.issueDate.isValid())
        doc.problems << MyDataTexts::kBadDate;
    if (!isKnownPaymentMethod(receipt.paymentMethod))
        doc.problems << MyDataTexts::kBadPayment;
    if (receipt.amount.signum() <= 0 || receipt.vat.signum() < 0)
        doc.problems << MyDataTexts::kNotPositive;
    // The receipt printed for the patient and the document sent must show the same figures,
    // so an amount is never rounded here: one with more than two decimals is refused.
    if (!isCents(receipt.amount) || !isCents(receipt.vat) || !isCents(receipt.total)
        || receipt.amount + receipt.vat != receipt.total)
        doc.problems << MyDataTexts::kNotCents;
    int category = kExemptCategory;
    if (receipt.treatment == VatTreatment::Exempt) {
        if (!receipt.vat.isZero())
            doc.problems << MyDataTexts::kExemptWithVat;
    } else if (receipt.ratePercent.isZero()) {
        doc.problems << MyDataTexts::kTaxableWithoutVat;
    } else {
        category = vatCategoryForRate(receipt.ratePercent);
        if (category == 0) {
            doc.problems << MyDataTexts::rateNotGreek(receipt.ratePercent.sqlText());
        } else {
            // To the cent, whichever way the receipt's half cent went.
            const Decimal exact = (receipt.amount * receipt.ratePercent).shifted(2);
            const Decimal off = exact - receipt.vat;
            if (off > Decimal(5, 3) || off < Decimal(-5, 3))
                doc.problems << MyDataTexts::kVatDisagrees;
        }
    }
    if (!doc.problems.isEmpty())
        return doc;

    doc.uid = documentUid(issuer, receipt);
    const QString net = amountText(receipt.amount);
    const QString vat = amountText(receipt.vat);
    const QString gross = amountText(receipt.total);
    const QString zero = amountText(Decimal(0));
    const QString inv = QString::fromLatin1(kInvoiceNamespace);
    const QString icls = QString::fromLatin1(kIncomeNamespace);

    QXmlStreamWriter w(&doc.xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeDefaultNamespace(inv);
    w.writeNamespace(icls, QStringLiteral("icls"));
    w.writeStartElement(inv, QStringLiteral("InvoicesDoc"));
    w.writeStartElement(inv, QStringLiteral("invoice"));
    if (receipt.sentLate)
        w.writeTextElement(inv, QStringLiteral("transmissionFailure"), QStringLiteral("3"));

    w.writeStartElement(inv, QStringLiteral("issuer"));
    w.writeTextElement(inv, QStringLiteral("vatNumber"), issuer.vatNumber);
    w.writeTextElement(inv, QStringLiteral("country"), QStringLiteral("GR"));
    w.writeTextElement(inv, QStringLiteral("branch"), QString::number(issuer.branch));
    w.writeEndElement();

    w.writeStartElement(inv, QStringLiteral("invoiceHeader"));
    w.writeTextElement(inv, QStringLiteral("series"), receipt.series);
    w.writeTextElement(inv, QStringLiteral("aa"), QString::number(receipt.number));
    w.writeTextElement(inv, QStringLiteral("issueDate"), receipt.issueDate.toString(Qt::ISODate));
    w.writeTextElement(inv, QStringLiteral("invoiceType"), QString::fromLatin1(kReceiptType));
    w.writeEndElement();

    w.writeStartElement(inv, QStringLiteral("paymentMethods"));
    w.writeStartElement(inv, QStringLiteral("paymentMethodDetails"));
    w.writeTextElement(inv, QStringLiteral("type"), QString::number(receipt.paymentMethod));
    w.writeTextElement(inv, QStringLiteral("amount"), gross);
    w.writeEndElement();
    w.writeEndElement();

    auto classification = [&](const QString &amount) {
        w.writeStartElement(inv, QStringLiteral("incomeClassification"));
        w.writeTextElement(icls, QStringLiteral("classificationType"),
                           QString::fromLatin1(kClassificationType));
        w.writeTextElement(icls, QStringLiteral("classificationCategory"),
                           QString::fromLatin1(kClassificationCategory));
        w.writeTextElement(icls, QStringLiteral("amount"), amount);
        w.writeEndElement();
    };

    w.writeStartElement(inv, QStringLiteral("invoiceDetails"));
    w.writeTextElement(inv, QStringLiteral("lineNumber"), QStringLiteral("1"));
    w.writeTextElement(inv, QStringLiteral("netValue"), net);
    w.writeTextElement(inv, QStringLiteral("vatCategory"), QString::number(category));
    w.writeTextElement(inv, QStringLiteral("vatAmount"), vat);
    if (category == kExemptCategory)
        w.writeTextElement(inv, QStringLiteral("vatExemptionCategory"),
                           QString::number(kExemptionReason));
    classification(net);
    w.writeEndElement();

    w.writeStartElement(inv, QStringLiteral("invoiceSummary"));
    w.writeTextElement(inv, QStringLiteral("totalNetValue"), net);
    w.writeTextElement(inv, QStringLiteral("totalVatAmount"), vat);
    for (const char *name : {"totalWithheldAmount", "totalFeesAmount", "totalStampDutyAmount",
                             "totalOtherTaxesAmount", "totalDeductionsAmount"})
        w.writeTextElement(inv, QString::fromLatin1(name), zero);
    w.writeTextElement(inv, QStringLiteral("totalGrossValue"), gross);
    classification(net);
    w.writeEndElement();

    w.writeEndElement(); // invoice
    w.writeEndElement(); // InvoicesDoc
    w.writeEndDocument();
    return doc;
}

} // namespace MyData
