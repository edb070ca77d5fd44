#include "documentrules.h"

#include "decimal.h"
#include "invoicedocument.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <optional>

namespace MyData {

namespace {

const QStringList kAmountNames = {
    QStringLiteral("netValue"),          QStringLiteral("vatAmount"),
    QStringLiteral("amount"),            QStringLiteral("totalNetValue"),
    QStringLiteral("totalVatAmount"),    QStringLiteral("totalWithheldAmount"),
    QStringLiteral("totalFeesAmount"),   QStringLiteral("totalStampDutyAmount"),
    QStringLiteral("totalOtherTaxesAmount"), QStringLiteral("totalDeductionsAmount"),
    QStringLiteral("totalGrossValue"),   QStringLiteral("withheldAmount"),
    QStringLiteral("feesAmount"),        QStringLiteral("stampDutyAmount"),
    QStringLiteral("otherTaxesAmount"),  QStringLiteral("deductionsAmount"),
    QStringLiteral("tipAmount"),
};

// What one invoice adds up to, gathered while reading it.
struct Invoice {
    int index = 0;
    QString type;
    bool counterpart = false;
    bool quantity = false;
    Decimal lineNet, lineVat, lineClassified, payments;
    std::optional<Decimal> totalNet, totalVat, totalGross, summaryClassified;
    Decimal otherTotals; // withheld, fees, stamp duty, other taxes (added); deductions (taken)
    QStringList problems;
};

// The element's text as an amount; a problem when it is not exactly two decimals.
std::optional<Decimal> readAmount(const QString &name, const QString &text, Invoice &inv)
{
    static const QRegularExpression twoDecimals(QStringLiteral("^-?[0-9]+\\.[0-9]{2}$"));
    if (!twoDecimals.match(text).hasMatch()) {
        inv.problems << QStringLiteral("invoice %1: %2 \"%3\" is not an amount with two decimals")
                            .arg(inv.index)
                            .arg(name, text);
        return std::nullopt;
    }
    return Decimal::read(text, QLatin1Char('.'));
}

void finish(Invoice &inv, QStringList &out)
{
    auto problem = [&](const QString &text) {
        inv.problems << QStringLiteral("invoice %1: %2").arg(inv.index).arg(text);
    };
    if (inv.type != QLatin1String(kReceiptType))
        problem(QStringLiteral("invoiceType is \"%1\", not %2").arg(inv.type, kReceiptType));
    if (inv.counterpart)
        problem(QStringLiteral("a retail receipt has no counterpart"));
    if (inv.quantity)
        problem(QStringLiteral("a retail receipt has no quantity"));
    auto same = [&](const char *what, const Decimal &lines, const std::optional<Decimal> &total) {
        if (!total)
            problem(QStringLiteral("the summary has no %1").arg(what));
        else if (lines != *total)
            problem(QStringLiteral("the lines' %1 is %2, the summary's %3")
                        .arg(what, lines.sqlText(), total->sqlText()));
    };
    same("net value", inv.lineNet, inv.totalNet);
    same("VAT", inv.lineVat, inv.totalVat);
    same("classified amount", inv.lineClassified, inv.summaryClassified);
    if (inv.totalNet && inv.totalVat && inv.totalGross) {
        const Decimal gross = *inv.totalNet + *inv.totalVat + inv.otherTotals;
        if (gross != *inv.totalGross)
            problem(QStringLiteral("the gross value is %1, net and taxes make %2")
                        .arg(inv.totalGross->sqlText(), gross.sqlText()));
        if (inv.payments != *inv.totalGross)
            problem(QStringLiteral("the payments are %1, the gross value %2")
                        .arg(inv.payments.sqlText(), inv.totalGross->sqlText()));
    } else if (!inv.totalGross) {
        problem(QStringLiteral("the summary has no gross value"));
    }
    out << inv.problems;
}

} // namespace

QStringList checkReceiptRules(const QByteArray &xml)
{
    QStringList out;
    QXmlStreamReader r(xml);
    const QString inv = QString::fromLatin1(kInvoiceNamespace);
    std::optional<Invoice> current;
    int invoices = 0;
    // Where we are inside the invoice: the line, the summary or the payments.
    bool inLine = false, inSummary = false, inPayment = false, inClassification = false;
    int lineCategory = 0;
    bool lineExemption = false;
    std::optional<Decimal> lineVat;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const QString name = r.name().toString();
            if (r.namespaceUri() == inv && name == QLatin1String("invoice")) {
                current.emplace();
                current->index = ++invoices;
                continue;
            }
            if (!current)
                continue;
            if (name == QLatin1String("counterpart")) {
                current->counterpart = true;
                r.skipCurrentElement();
            } else if (name == QLatin1String("invoiceDetails")) {
                inLine = true;
                lineCategory = 0;
                lineExemption = false;
                lineVat.reset();
            } else if (name == QLatin1String("invoiceSummary")) {
                inSummary = true;
            } else if (name == QLatin1String("paymentMethodDetails")) {
                inPayment = true;
            } else if (name == QLatin1String("incomeClassification")) {
                inClassification = true;
            } else if (name == QLatin1String("quantity") && inLine) {
                current->quantity = true;
                r.skipCurrentElement();
            } else if (name == QLatin1String("invoiceType")) {
                current->type = r.readElementText().trimmed();
            } else if (name == QLatin1String("vatCategory") && inLine) {
                lineCategory = r.readElementText().trimmed().toInt();
            } else if (name == QLatin1String("vatExemptionCategory") && inLine) {
                lineExemption = true;
                r.skipCurrentElement();
            } else if (kAmountNames.contains(name)) {
                const QString text = r.readElementText().trimmed();
                const std::optional<Decimal> a = readAmount(name, text, *current);
                if (!a)
                    continue;
                Invoice &c = *current;
                if (inClassification && name == QLatin1String("amount")) {
                    if (inLine)
                        c.lineClassified = c.lineClassified + *a;
                    else if (inSummary)
                        c.summaryClassified = c.summaryClassified.value_or(Decimal(0)) + *a;
                } else if (inPayment && name == QLatin1String("amount")) {
                    c.payments = c.payments + *a;
                } else if (inLine && name == QLatin1String("netValue")) {
                    c.lineNet = c.lineNet + *a;
                } else if (inLine && name == QLatin1String("vatAmount")) {
                    c.lineVat = c.lineVat + *a;
                    lineVat = a;
                } else if (inSummary && name == QLatin1String("totalNetValue")) {
                    c.totalNet = a;
                } else if (inSummary && name == QLatin1String("totalVatAmount")) {
                    c.totalVat = a;
                } else if (inSummary && name == QLatin1String("totalGrossValue")) {
                    c.totalGross = a;
                } else if (inSummary && name == QLatin1String("totalDeductionsAmount")) {
                    c.otherTotals = c.otherTotals - *a;
                } else if (inSummary && name.startsWith(QLatin1String("total"))) {
                    c.otherTotals = c.otherTotals + *a;
                }
            }
        } else if (r.isEndElement() && current) {
            const QString name = r.name().toString();
            if (name == QLatin1String("invoiceDetails")) {
                inLine = false;
                if (lineCategory == kExemptCategory
                    && (!lineExemption || (lineVat && !lineVat->isZero())))
                    current->problems
                        << QStringLiteral("invoice %1: a line at VAT category 7 needs an "
                                          "exemption category and no VAT")
                               .arg(current->index);
            } else if (name == QLatin1String("invoiceSummary")) {
                inSummary = false;
            } else if (name == QLatin1String("paymentMethodDetails")) {
                inPayment = false;
            } else if (name == QLatin1String("incomeClassification")) {
                inClassification = false;
            } else if (r.namespaceUri() == inv && name == QLatin1String("invoice")) {
                finish(*current, out);
                current.reset();
            }
        }
    }
    if (r.hasError())
        out << QStringLiteral("not well-formed XML: %1").arg(r.errorString());
    else if (invoices == 0)
        out << QStringLiteral("no invoice in the document");
    return out;
}

} // namespace MyData
