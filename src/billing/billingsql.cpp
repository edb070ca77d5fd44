#include "billingsql.h"

#include "billingtexts.h"
#include "schema.h"

#include "sqltext.h"

namespace BillingSql {

namespace {

using SqlText::quoted;

// An ID that is not a whole number selects no row instead of reaching the SQL text.
QString idText(const QString &patientId)
{
    bool ok = false;
    const qlonglong id = patientId.trimmed().toLongLong(&ok);
    return ok ? QString::number(id) : QStringLiteral("-1");
}

const QString kComma = QStringLiteral(",");

} // namespace

QString insertPayment(const ReceiptRow &r)
{
    return QStringLiteral("INSERT INTO EISPRAKSH_PELATH(ID,POSO,PERIGRAFH,TAMEIO,POSO_CY,"
                          "AR_APODEIKSHS,VAT,SYNOLIKO_POSO) VALUES(")
        + idText(r.patientId) + kComma + r.amount.sqlText() + kComma + quoted(r.description) + kComma
        + quoted(r.fund) + kComma + r.amountCy.sqlText() + kComma + QString::number(r.number) + kComma
        + r.vat.sqlText() + kComma + r.total.sqlText() + QStringLiteral(")");
}

QString insertReceipt(const ReceiptRow &r)
{
    const QString payer = r.firstName + QLatin1Char(' ') + r.surname;
    return QStringLiteral("INSERT INTO APODEIKSEIS(AR_APODEIKSHS,ONOMA,EPWNYMO,PARALHPTHS,POSO,"
                          "TAMEIO,POSO_CY,PERIGRAFH,VAT,SYNOLIKO_POSO) VALUES(")
        + QString::number(r.number) + kComma + quoted(r.firstName) + kComma + quoted(r.surname)
        + kComma + quoted(payer) + kComma + r.amount.sqlText() + kComma + quoted(r.fund) + kComma
        + r.amountCy.sqlText() + kComma + quoted(r.description) + kComma + r.vat.sqlText() + kComma
        + r.total.sqlText() + QStringLiteral(")");
}

QString printedReceipt(qint64 receiptNo)
{
    return QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
                          "Format(POSO,'0.00') AS POSO, TAMEIO, Format(SYNOLIKO_POSO,'0.00') as "
                          "SYNOLIKO_POSO, Format(VAT,'0.00') as VAT, PERIGRAFH FROM APODEIKSEIS ")
        + QStringLiteral(" WHERE AR_APODEIKSHS=") + QString::number(receiptNo);
}

QString registerWithEbooks()
{
    const QString table = QLatin1String(Schema::kEbooksTable);
    return QStringLiteral(
               "SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
               "Format(POSO,'0.00') AS POSO, TAMEIO, Format(SYNOLIKO_POSO,'0.00') AS "
               "SYNOLIKO_POSO, Format(VAT,'0.00') AS VAT, PERIGRAFH, EGKYRH, "
               "(SELECT CASE WHEN M.AKYRWSH='PENDING' THEN '%2' WHEN M.KATASTASH='SENT' THEN '%3' "
               "WHEN M.KATASTASH='REJECTED' THEN '%4' ELSE '%5' END FROM %1 M WHERE "
               "M.AR_APODEIKSHS=APODEIKSEIS.AR_APODEIKSHS) AS MYDATA_KATASTASH, "
               "(SELECT M.MARK FROM %1 M WHERE M.AR_APODEIKSHS=APODEIKSEIS.AR_APODEIKSHS) AS "
               "MYDATA_MARK FROM APODEIKSEIS ORDER BY HMEROMHNIA")
        .arg(table, BillingTexts::kEbooksCancelPending, BillingTexts::kEbooksSent,
             BillingTexts::kEbooksRejected, BillingTexts::kEbooksWaitingState);
}

QString receiptDate(qint64 receiptNo)
{
    return QStringLiteral("SELECT HMEROMHNIA FROM APODEIKSEIS WHERE AR_APODEIKSHS=%1")
        .arg(receiptNo);
}

QString receiptVat(qint64 receiptNo)
{
    return QStringLiteral("SELECT VAT FROM APODEIKSEIS WHERE AR_APODEIKSHS=")
        + QString::number(receiptNo);
}

QString deletePayment(qint64 receiptNo)
{
    return QStringLiteral("DELETE FROM EISPRAKSH_PELATH WHERE AR_APODEIKSHS=")
        + QString::number(receiptNo);
}

QString invalidateReceipt(qint64 receiptNo)
{
    return QStringLiteral("UPDATE APODEIKSEIS SET EGKYRH=FALSE WHERE AR_APODEIKSHS=")
        + QString::number(receiptNo);
}

QString patientPayments(const QString &patientId)
{
    return QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, Format(POSO,'0.00') as POSO, "
                          "PERIGRAFH, TAMEIO, Format(SYNOLIKO_POSO,'0.00') as SYNOLIKO_POSO, "
                          "Format(VAT,'0.00') as VAT, ID FROM EISPRAKSH_PELATH WHERE ID=")
        + idText(patientId) + QStringLiteral(" ORDER BY HMEROMHNIA DESC");
}

QString patientTotals(const QString &patientId)
{
    return QStringLiteral("SELECT COUNT(*) AS SYNOLO,Format(SUM(POSO),'0.00') as EISPRAKSH, "
                          "Format(SUM(SYNOLIKO_POSO),'0.00') as SYNOLIKO_POSO, "
                          "Format(SUM(VAT),'0.00') as VAT FROM EISPRAKSH_PELATH WHERE ID=")
        + idText(patientId);
}

QString periodIncome(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT Format(sum(POSO),'0.00') AS POSO, "
                          "Format((sum(POSO)-SUM(VAT)),'0.00') AS POSOPVAT, "
                          "Format(sum(VAT),'0.00') AS VAT FROM APODEIKSEIS WHERE HMEROMHNIA "
                          "BETWEEN ")
        + fromLiteral + QStringLiteral(" AND ") + toLiteral + QStringLiteral(" AND EGKYRH=TRUE");
}

QString periodReceipts(const QString &fromLiteral, const QString &toLiteral)
{
    return QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, PARALHPTHS, PERIGRAFH, TAMEIO, POSO, "
                          "VAT, SYNOLIKO_POSO FROM APODEIKSEIS WHERE HMEROMHNIA BETWEEN ")
        + fromLiteral + QStringLiteral(" AND ") + toLiteral
        + QStringLiteral(" AND EGKYRH=TRUE ORDER BY HMEROMHNIA, AR_APODEIKSHS");
}

} // namespace BillingSql
