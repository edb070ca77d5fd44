#pragma once

#include "decimal.h"
#include "ebookssettings.h"

#include <QString>

#include <optional>

class Connection;

// Issues one receipt on a connection: the checks, the two rows and the counter step in one
// transaction. The receipt window uses it, and so does the test program that issues receipts in
// a loop from several processes at once, so both go through the same code.
class ReceiptIssue {
public:
    struct Input {
        QString patientId;
        QString firstName;
        QString surname;
        QString amountText;  // as typed
        QString description; // trimmed by the caller
        QString fund;        // trimmed by the caller; may be empty
        // Made when the person starts the receipt and kept until it is issued; written with the
        // receipt so that a commit whose answer was lost can be looked up (registration.h).
        // Empty: no token is written and a lost answer is reported as a failure.
        QString token = {};
    };

    enum class Outcome {
        Issued,      // both rows written and the counter raised
        NotPositive, // the amount is 0 or less: nothing written
        Failed,      // not an amount, no numbering or rate, or the database refused: nothing written
        NumberTaken, // another window issued the shown number meanwhile: nothing written
        // The e-books are on and the receipt could not be described to them truthfully (an
        // amount with more than two decimals, a rate that is no category of theirs, no valid
        // tax number): nothing written, since a receipt is issued only if it can be sent.
        NotTransmittable,
        // The answer to the commit was lost and the database cannot be reached to look the
        // token up: whether the receipt was issued is not yet known. The next issue() with the
        // same token looks it up before anything else.
        Unknown,
    };

    struct Result {
        Outcome outcome = Outcome::Failed;
        qint64 number = 0; // the receipt's number when issued; on NumberTaken the number taken
        qint64 next = 0;   // on NumberTaken: the next free number, which a second try issues
        QString error;     // the database layer's message when it failed
        QStringList problems; // NotTransmittable: why, for the person
        bool queued = false;  // issued and put in the e-books queue, in the same transaction
    };

    explicit ReceiptIssue(Connection &connection);

    // Reads the next number (as the window shows it) and the VAT rate (first row of each
    // table) and holds them, with the e-books settings; an empty table leaves the number empty
    // and no rate. Throws DbError.
    void read();
    QString numberText() const { return m_numberText; }
    std::optional<Decimal> rate() const { return m_rate; }
    const MyData::EbooksSettings &ebooks() const { return m_ebooks; }

    // On NumberTaken the next free number replaces the shown one. A counter that is gone or not
    // a number meanwhile fails as a missing numbering does.
    Result issue(const Input &input);

    // Whether a receipt's outcome is still unknown (the last issue() gave Unknown).
    bool unsettled() const { return !m_unsettledToken.isEmpty(); }
    // Looks the unsettled receipt's token up: Issued (with its number and whether it was
    // queued for the e-books) when it was written, Failed when it was not (a next issue() is
    // then safe), Unknown while the database cannot be reached.
    Result settle();

private:
    Connection &m_connection;
    QString m_numberText;
    std::optional<Decimal> m_rate;
    MyData::EbooksSettings m_ebooks;
    QString m_unsettledToken;
};
