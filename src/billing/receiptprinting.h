#pragma once

#include "decimal.h"
#include "reportproject.h"

#include <QObject>
#include <memory>

class Connection;
class Query;
class Table;
class QWidget;

// Prints one receipt with the practice details through the receipt layout that the receipt's
// own rate chooses (its VAT, for a receipt issued before the rates were kept; the rate in force,
// for the practice details preview). Never shown; created
// once at start-up. The receipt window, the register and the practice details preview set
// ReceiptNo and call PrintReceipt.
class ReceiptPrinting : public QObject {
    Q_OBJECT
public:
    explicit ReceiptPrinting(QObject *parent = nullptr);
    ~ReceiptPrinting() override;

    // The receipt to print; 0 matches none and prints the practice details only.
    qint64 ReceiptNo = 0;

    // Runs the report. Throws DbError (or ReportError) when the database, the receipt, the
    // VAT rate of the preview or the layout fails; the callers decide how to tell the person.
    // Everything is closed again afterwards, whatever happened.
    void PrintReceipt();

    // "\APODEIKSEIS.RAV" for a VAT (an amount or a rate) of 0, "\APODEIKSEISVAT.RAV" for any
    // other.
    static QString layoutFor(const Decimal &vat);
    QString receiptSql() const;
    // What the e-books know of the receipt (MARK, UID, QR_URL, and ANAMONH, the line printed
    // while it waits to be sent): no row when it was never queued, and no row at all in a
    // practice from before the e-books table.
    static QString ebooksSql(qint64 receiptNo, bool tableExists);

    Connection &connection() { return *m_connection; }
    Query &receipt() { return *m_receipt; }
    ReportProject &report() { return m_report; }

private:
    // The VAT stored with the receipt, or the rate in force when ReceiptNo is 0. Throws DbError.
    Decimal vatOfLayout();

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Query> m_receipt;
    std::unique_ptr<Table> m_information;
    std::unique_ptr<Query> m_vatRatio; // the receipt's own rate, or the rate in force
    std::unique_ptr<Query> m_ebooks;
    ReportProject m_report;
};
