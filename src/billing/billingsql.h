#pragma once

#include "decimal.h"

#include <QString>

// Every SQL text of the receipt and payment windows, in the dialect the windows write. Numbers
// come in as their SQL number texts (with a point); text values are quoted with their quotes doubled.
namespace BillingSql {

// The values of one receipt as they go into the two inserts.
struct ReceiptRow {
    QString patientId;
    qint64 number = 0;
    QString firstName;
    QString surname;
    QString description;
    QString fund;
    Decimal amount;   // as entered, not rounded
    Decimal amountCy; // in Cyprus pounds, rounded
    Decimal vat;      // rounded
    Decimal total;    // vat + amount
};

inline const QString kLastNumber = QStringLiteral("SELECT * from LAST_APODEIKSH");
// The counter read again inside the issuing transaction: on a server its row stays locked until
// the commit, so that a second workstation waits and then reads the raised number.
inline const QString kLockLastNumber
    = QStringLiteral("SELECT [LAST] from LAST_APODEIKSH FOR UPDATE");
inline const QString kVatRate = QStringLiteral("SELECT * from SYNTELESTHS_VAT");
inline const QString kRaiseCounter = QStringLiteral("UPDATE LAST_APODEIKSH SET [LAST]=[LAST]+1");
inline const QString kNumberingTable = QStringLiteral("LAST_APODEIKSH");
inline const QString kVatTable = QStringLiteral("SYNTELESTHS_VAT");
inline const QString kInformationTable = QStringLiteral("INFORMATION");

QString insertPayment(const ReceiptRow &row);
QString insertReceipt(const ReceiptRow &row);

// The register, sorted in memory by one of these texts.
inline const QString kRegister = QStringLiteral(
    "SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, Format(POSO,'0.00') AS POSO, "
    "TAMEIO, Format(SYNOLIKO_POSO,'0.00') AS SYNOLIKO_POSO, Format(VAT,'0.00') AS VAT, "
    "PERIGRAFH, EGKYRH FROM APODEIKSEIS ORDER BY HMEROMHNIA");
// The register with the e-books on: the same rows with what the e-books know of each, the state
// (MYDATA_KATASTASH, a text for the person) and the MARK.
QString registerWithEbooks();
inline const QString kSortByDate = QStringLiteral("HMEROMHNIA ASC");
inline const QString kSortByNumber = QStringLiteral("AR_APODEIKSHS ASC");
inline const QString kSortByValid = QStringLiteral("EGKYRH ASC");

// The one receipt a printout shows (0 shows none: the practice details only).
QString printedReceipt(qint64 receiptNo);
// The VAT stored with one receipt: it chooses the layout, so that a reprint looks as the
// receipt did when it was issued, whatever the rate is by then.
QString receiptVat(qint64 receiptNo);
// The date a receipt was given when its row was written.
QString receiptDate(qint64 receiptNo);

// Cancellation: the payment goes, the receipt stays, marked invalid.
QString deletePayment(qint64 receiptNo);
QString invalidateReceipt(qint64 receiptNo);

// Payment inquiries. The patient ID goes in only as a whole number.
QString patientPayments(const QString &patientId);
QString patientTotals(const QString &patientId);
// fromLiteral and toLiteral are SQL date literals ("#3/1/2008#").
QString periodIncome(const QString &fromLiteral, const QString &toLiteral);
// The receipts in force that make up that income, one row each, by date and number: what the
// period's export writes for the accountant.
QString periodReceipts(const QString &fromLiteral, const QString &toLiteral);

} // namespace BillingSql
