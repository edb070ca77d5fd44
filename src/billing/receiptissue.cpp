#include "receiptissue.h"

#include "billingsql.h"
#include "connection.h"
#include "dberror.h"
#include "receiptmath.h"
#include "recordset.h"
#include "sqltext.h"

#include <cmath>

namespace {

QString firstValue(Connection &connection, const QString &sql)
{
    Query query(connection);
    query.setSql(sql);
    query.open();
    const QString text = query.rowCount() > 0 ? query.text(0, 0) : QString();
    query.close();
    return text;
}

} // namespace

ReceiptIssue::ReceiptIssue(Connection &connection)
    : m_connection(connection)
{}

void ReceiptIssue::read()
{
    m_numberText = firstValue(m_connection, BillingSql::kLastNumber);
    m_rateText = firstValue(m_connection, BillingSql::kVatRate);
}

ReceiptIssue::Result ReceiptIssue::issue(const Input &input)
{
    Result result;
    const std::optional<double> amount = SqlText::parseAmount(input.amountText.trimmed());
    if (!amount || !std::isfinite(*amount))
        return result;
    if (!(*amount > 0)) {
        result.outcome = Outcome::NotPositive;
        return result;
    }
    bool numberOk = false;
    const qint64 number = m_numberText.trimmed().toLongLong(&numberOk);
    const std::optional<double> rate = SqlText::parseAmount(m_rateText.trimmed());
    if (!numberOk || !rate)
        return result;

    const ReceiptMath::Figures f = ReceiptMath::compute(*amount, *rate);
    BillingSql::ReceiptRow row;
    row.patientId = input.patientId;
    row.number = number;
    row.firstName = input.firstName;
    row.surname = input.surname;
    row.description = input.description;
    row.fund = input.fund;
    row.amount = f.amount;
    row.amountCy = f.amountCy;
    row.vat = f.vat;
    row.total = f.total;

    try {
        // The write lock (the whole file, or the counter's row on a server) is taken before the
        // counter is read again, so no other window, program or workstation can issue the same
        // number between the check and the commit.
        Transaction transaction(m_connection);
        const QString current = firstValue(m_connection, BillingSql::kLockLastNumber).trimmed();
        if (current != QString::number(number)) {
            m_numberText = current;
            result.outcome = Outcome::NumberTaken;
            return result; // rolled back: nothing was written
        }
        m_connection.execute(BillingSql::insertPayment(row));
        m_connection.execute(BillingSql::insertReceipt(row));
        m_connection.execute(BillingSql::kRaiseCounter);
        transaction.commit();
    } catch (const DbError &e) {
        result.error = e.message();
        return result;
    }
    result.outcome = Outcome::Issued;
    result.number = number;
    return result;
}
