#pragma once

#include "decimal.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// One receipt of the practice as the tax authority's e-books take it: an InvoicesDoc with one
// retail receipt (type 11.2) to a private person, one line, its summary, the income
// classification of retail services and the payment.
namespace MyData {

inline constexpr char kInvoiceNamespace[] = "http://www.aade.gr/myDATA/invoice/v1.0";
// Spelled as the authority publishes it.
inline constexpr char kIncomeNamespace[] = "https://www.aade.gr/myDATA/incomeClassificaton/v1.0";
inline constexpr char kReceiptType[] = "11.2";
inline constexpr char kClassificationType[] = "E3_561_003";
inline constexpr char kClassificationCategory[] = "category1_3";
// Medical and paramedical services are exempt under this category.
inline constexpr int kExemptCategory = 7;
inline constexpr int kExemptionReason = 7;

// How the practice's services stand towards VAT (a setting of the practice).
enum class VatTreatment {
    Taxable, // at the rate in force, which must be one of the authority's categories
    Exempt,  // VAT category 7 with exemption category 7; the receipt's VAT must be 0
};

// Payment methods the practice can take without a card terminal.
enum class PaymentMethod {
    Cash = 3,
    BankAccount = 1, // a domestic account
    Iris = 8,
};
bool isKnownPaymentMethod(int code);

struct Issuer {
    QString vatNumber; // the practice's Α.Φ.Μ., nine digits
    int branch = 0;    // the main seat
};

// What the practice's own tables know of one issued receipt.
struct Receipt {
    QString series;     // the practice's receipt series, as typed in the settings
    qint64 number = 0;  // AR_APODEIKSHS, the receipt's aa
    QDate issueDate;    // HMEROMHNIA
    Decimal amount;     // POSO, before VAT
    Decimal vat;        // VAT as stored with the receipt
    Decimal total;      // SYNOLIKO_POSO
    Decimal ratePercent; // the VAT rate the receipt was issued at
    VatTreatment treatment = VatTreatment::Exempt;
    int paymentMethod = int(PaymentMethod::Cash);
    // Issued while the service could not be reached and sent afterwards.
    bool sentLate = false;
};

// The authority's VAT category for a rate in percent (1 for 24 %, 2 for 13 % ...); 0 when the
// rate is none of them.
int vatCategoryForRate(const Decimal &ratePercent);

// Checks the nine digits of a Greek tax number and its check digit.
bool isValidVatNumber(const QString &vatNumber);

// The series as ISO-8859-7 bytes, the encoding the identifier is computed over; empty when the
// series has a character that encoding lacks.
QByteArray seriesBytes(const QString &series);
// The series the settings accept: 1 to 50 characters, each with an ISO-8859-7 byte, no blanks
// at either end.
bool isValidSeries(const QString &series);

// The document's identifier as the authority computes it, known before sending, so that a
// document whose reply was lost can be found among those the service holds: the upper-case
// SHA-1 of "vatNumber-issueDate-branch-invoiceType-series-aa", the series in ISO-8859-7.
QString documentUid(const Issuer &issuer, const Receipt &receipt);

struct Document {
    QByteArray xml;     // UTF-8, empty when problems is not
    QString uid;
    QStringList problems; // in Greek, for the person: why the receipt cannot be described
};

// The InvoicesDoc of one receipt. Amounts go with exactly two decimals; a receipt whose amounts
// have more (an amount typed as 12.345), a rate that is no category of the authority, or VAT
// that does not agree with the treatment, gets problems and no XML.
Document buildInvoicesDoc(const Issuer &issuer, const Receipt &receipt);

// The figures an amount carries in the document: two decimals, point separator ("40.00").
QString amountText(const Decimal &amount);

} // namespace MyData
