#include "receiptissue.h"

#include "billingsql.h"
#include "connection.h"
#include "dberror.h"
#include "dbtexts.h"
#include "receiptmath.h"
#include "receiptrate.h"
#include "recordset.h"
#include "registration.h"
#include "sendqueue.h"

#include <stdexcept>

namespace {

QVariant firstValue(Connection &connection, const QString &sql)
{
    Query query(connection);
    query.setSql(sql);
    query.open();
    const QVariant value = query.rowCount() > 0 ? query.value(0, 0) : QVariant();
    query.close();
    return value;
}

} // namespace

ReceiptIssue::ReceiptIssue(Connection &connection)
    : m_connection(connection)
{}

void ReceiptIssue::read()
{
    const QVariant number = firstValue(m_connection, BillingSql::kLastNumber);
    m_numberText = number.isNull() ? QString() : number.toString();
    m_rate = Decimal::fromVariant(firstValue(m_connection, BillingSql::kVatRate));
    m_ebooks = MyData::EbooksSettings::read(m_connection);
}

namespace {

// The receipt as the e-books will be told of it.
MyData::Receipt ebooksReceipt(const MyData::EbooksSettings &settings, qint64 number,
                              const ReceiptMath::Figures &f, const Decimal &rate, const QDate &date)
{
    MyData::Receipt r;
    r.series = settings.series;
    r.number = number;
    r.issueDate = date;
    r.amount = f.amount;
    r.vat = f.vat;
    r.total = f.total;
    r.ratePercent = rate;
    r.treatment = settings.treatment;
    r.paymentMethod = settings.paymentMethod;
    return r;
}

} // namespace

ReceiptIssue::Result ReceiptIssue::settle()
{
    Result result;
    if (m_unsettledToken.isEmpty())
        return result;
    const Registration::Lookup found = Registration::lookUp(m_connection, m_unsettledToken);
    switch (found.state) {
    case Registration::Lookup::State::Unknown:
        result.outcome = Outcome::Unknown;
        return result;
    case Registration::Lookup::State::NotWritten:
        m_unsettledToken.clear();
        result.error = DbTexts::kLost + QLatin1Char(' ') + DbTexts::kNotWritten;
        return result;
    case Registration::Lookup::State::Written:
        break;
    }
    // The receipt was issued under the number its token names, and queued for the e-books in
    // the same transaction when they were on.
    m_unsettledToken.clear();
    result.outcome = Outcome::Issued;
    result.number = found.key.toLongLong();
    result.queued = m_ebooks.enabled;
    return result;
}

ReceiptIssue::Result ReceiptIssue::issue(const Input &input)
{
    Result result;
    // A receipt whose outcome is unknown is looked up before anything else: found, it is the
    // receipt issued; not found, it is issued now.
    if (!m_unsettledToken.isEmpty() && m_unsettledToken == input.token) {
        const Result settled = settle();
        if (settled.outcome != Outcome::Failed)
            return settled;
    }
    m_unsettledToken.clear();
    // The amount as typed, with the system's decimal separator ("40,50" on a Greek system).
    const std::optional<Decimal> amount = Decimal::read(input.amountText);
    if (!amount)
        return result;
    if (amount->signum() <= 0) {
        result.outcome = Outcome::NotPositive;
        return result;
    }
    bool numberOk = false;
    const qint64 number = m_numberText.trimmed().toLongLong(&numberOk);
    if (!numberOk || !m_rate)
        return result;

    ReceiptMath::Figures f;
    try {
        f = ReceiptMath::compute(*amount, *m_rate);
    } catch (const std::overflow_error &) {
        return result; // a rate beyond any real one
    }
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

    MyData::Issuer issuer;
    if (m_ebooks.enabled) {
        try {
            issuer.vatNumber
                = firstValue(m_connection, QStringLiteral("SELECT AFT FROM INFORMATION"))
                      .toString()
                      .trimmed();
        } catch (const DbError &e) {
            result.error = e.message();
            return result;
        }
        const MyData::Document doc = MyData::buildInvoicesDoc(
            issuer, ebooksReceipt(m_ebooks, number, f, *m_rate, QDate::currentDate()));
        if (!doc.problems.isEmpty()) {
            result.outcome = Outcome::NotTransmittable;
            result.number = number;
            result.problems = doc.problems;
            return result;
        }
    }

    try {
        // The write lock (the whole file, or the counter's row on a server) is taken before the
        // counter is read again, so no other window, program or workstation can issue the same
        // number between the check and the commit.
        Transaction transaction(m_connection);
        const QString current
            = firstValue(m_connection, BillingSql::kLockLastNumber).toString().trimmed();
        if (current != QString::number(number)) {
            m_numberText = current;
            bool nextOk = false;
            const qint64 next = current.toLongLong(&nextOk);
            if (!nextOk)
                return result; // rolled back: the numbering is gone
            result.outcome = Outcome::NumberTaken;
            result.number = number;
            result.next = next;
            return result; // rolled back: nothing was written
        }
        m_connection.execute(BillingSql::insertPayment(row));
        m_connection.execute(BillingSql::insertReceipt(row));
        ReceiptRate::keep(m_connection, number, *m_rate); // a reprint shows this rate
        m_connection.execute(BillingSql::kRaiseCounter);
        if (m_ebooks.enabled) {
            // Queued in the receipt's own transaction: an issued receipt is never left out of
            // the e-books. The identifier is computed over the date the row was given.
            const QVariant stored = firstValue(
                m_connection, BillingSql::receiptDate(number));
            const QDate date = stored.typeId() == QMetaType::QDate
                ? stored.toDate()
                : QDate::fromString(stored.toString().left(10), Qt::ISODate);
            MyData::QueueEntry entry;
            entry.number = number;
            entry.series = m_ebooks.series;
            entry.ratePercent = *m_rate;
            entry.exempt = m_ebooks.treatment == MyData::VatTreatment::Exempt;
            entry.paymentMethod = m_ebooks.paymentMethod;
            entry.uid
                = MyData::documentUid(issuer, ebooksReceipt(m_ebooks, number, f, *m_rate, date));
            MyData::SendQueue(m_connection).enqueue(entry);
            result.queued = true;
        }
        if (!input.token.isEmpty())
            Registration::record(m_connection, input.token, QStringLiteral("APODEIKSEIS"),
                                 QString::number(number));
        transaction.commit();
    } catch (const DbError &e) {
        if (e.outcomeUnknown() && !input.token.isEmpty()) {
            // The commit may have taken effect: the token says, before the person is told.
            m_unsettledToken = input.token;
            return settle();
        }
        result.error = e.message();
        return result;
    }
    result.outcome = Outcome::Issued;
    result.number = number;
    return result;
}
