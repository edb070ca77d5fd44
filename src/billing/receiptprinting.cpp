#include "receiptprinting.h"

#include "billingsql.h"
#include "billingtexts.h"
#include "connection.h"
#include "dberror.h"
#include "decimal.h"
#include "program.h"
#include "receiptrate.h"
#include "recordset.h"
#include "schema.h"

namespace {

const QString kReceiptConnection = QStringLiteral("RvDataSetConnection69");
const QString kInformationConnection = QStringLiteral("RvDataSetConnection179INFORMAAP");
const QString kVatConnection = QStringLiteral("RvDataSetConnectionVATRATIO");
const QString kEbooksConnection = QStringLiteral("RvDataSetConnectionMYDATA");
const QString kLayout = QStringLiteral("\\APODEIKSEIS.RAV");
const QString kVatLayout = QStringLiteral("\\APODEIKSEISVAT.RAV");

} // namespace

ReceiptPrinting::ReceiptPrinting(QObject *parent)
    : QObject(parent)
    , m_connection(std::make_unique<Connection>())
    , m_receipt(std::make_unique<Query>(*m_connection))
    , m_information(std::make_unique<Table>(*m_connection))
    , m_vatRatio(std::make_unique<Query>(*m_connection))
    , m_ebooks(std::make_unique<Query>(*m_connection))
{
    setObjectName(QStringLiteral("ReceiptPrinting"));
    m_information->setTableName(BillingSql::kInformationTable);
    m_report.addConnection(kReceiptConnection, m_receipt.get());
    m_report.addConnection(kInformationConnection, m_information.get());
    m_report.addConnection(kVatConnection, m_vatRatio.get());
    m_report.addConnection(kEbooksConnection, m_ebooks.get());
}

ReceiptPrinting::~ReceiptPrinting() = default;

QString ReceiptPrinting::layoutFor(const Decimal &vat)
{
    return vat.isZero() ? kLayout : kVatLayout;
}

QString ReceiptPrinting::receiptSql() const
{
    return BillingSql::printedReceipt(ReceiptNo);
}

QString ReceiptPrinting::ebooksSql(qint64 receiptNo, bool tableExists)
{
    if (!tableExists)
        return QStringLiteral("SELECT NULL AS MARK, NULL AS UID, NULL AS QR_URL, NULL AS ANAMONH "
                              "FROM LAST_APODEIKSH WHERE 1=0");
    return QStringLiteral("SELECT MARK, UID, QR_URL, CASE WHEN MARK IS NULL THEN '%1' END AS "
                          "ANAMONH FROM %2 WHERE AR_APODEIKSHS=%3")
        .arg(BillingTexts::kEbooksWaiting, QLatin1String(Schema::kEbooksTable))
        .arg(receiptNo);
}

void ReceiptPrinting::PrintReceipt()
{
    // Between calls the query has no text and the connection and tables are closed, also after
    // a failure.
    struct CloseAfter {
        ReceiptPrinting *p;
        ~CloseAfter()
        {
            p->m_information->close();
            p->m_receipt->close();
            p->m_receipt->clearSql();
            p->m_vatRatio->close();
            p->m_vatRatio->clearSql();
            p->m_ebooks->close();
            p->m_ebooks->clearSql();
            p->m_connection->close();
        }
    } closeAfter {this};

    m_connection->setUp(Program::DbConnectionString, true);
    // The report opens the receipt query itself.
    m_receipt->close();
    m_receipt->clearSql();
    m_receipt->setSql(receiptSql());
    m_information->open();
    // A receipt prints with the rate it was issued with, and the layout that rate chooses (a
    // VAT that rounds to 0.00 at a rate above 0 is still a receipt with VAT); one issued before
    // the rates were kept prints with the rate in force and the layout of its VAT, as always.
    const std::optional<Decimal> issuedRate
        = ReceiptNo != 0 ? ReceiptRate::issuedWith(*m_connection, ReceiptNo) : std::nullopt;
    m_vatRatio->close();
    m_vatRatio->setSql(issuedRate ? ReceiptRate::printSql(ReceiptNo) : BillingSql::kVatRate);
    m_vatRatio->open();
    m_ebooks->close();
    m_ebooks->setSql(ebooksSql(ReceiptNo, Schema::hasTable(*m_connection, Schema::kEbooksTable)));
    m_report.setProjectFile(Program::AppDir + layoutFor(issuedRate ? *issuedRate
                                                                   : vatOfLayout()));
    m_report.execute();
}

Decimal ReceiptPrinting::vatOfLayout()
{
    if (ReceiptNo == 0) {
        // No receipt: the preview shows the layout of the receipts issued from now on.
        const std::optional<Decimal> rate = Decimal::fromVariant(
            m_vatRatio->rowCount() > 0 ? m_vatRatio->value(0, 0) : QVariant());
        if (!rate)
            throw DbError(QStringLiteral("Δεν έχει οριστεί συντελεστής Φ.Π.Α. (SYNTELESTHS_VAT)."));
        return *rate;
    }
    // A receipt is printed, and reprinted, with the layout of the VAT it was issued with.
    Query stored(*m_connection);
    stored.setSql(BillingSql::receiptVat(ReceiptNo));
    stored.open();
    if (stored.rowCount() == 0)
        throw DbError(QStringLiteral("Δεν βρέθηκε η απόδειξη με αριθμό %1.").arg(ReceiptNo),
                      stored.sql());
    const std::optional<Decimal> vat = Decimal::fromVariant(stored.value(0, 0));
    if (!vat)
        throw DbError(QStringLiteral("Η απόδειξη με αριθμό %1 δεν έχει ποσό Φ.Π.Α.").arg(ReceiptNo),
                      stored.sql());
    return *vat;
}
