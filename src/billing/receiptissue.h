#pragma once

#include <QString>

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
    };

    enum class Outcome {
        Issued,      // both rows written and the counter raised
        NotPositive, // the amount is 0 or less: nothing written
        Failed,      // not a number, no numbering or rate, or the database refused: nothing written
        NumberTaken, // another window issued the shown number meanwhile: nothing written
    };

    struct Result {
        Outcome outcome = Outcome::Failed;
        qint64 number = 0; // the receipt's number when issued
        QString error;     // the database layer's message when it failed
    };

    explicit ReceiptIssue(Connection &connection);

    // Reads the next number and the VAT rate (first row of each table) as the window shows
    // and holds them; an empty table leaves the text empty. Throws DbError.
    void read();
    QString numberText() const { return m_numberText; }
    QString rateText() const { return m_rateText; }

    // On NumberTaken the next free number replaces the shown one.
    Result issue(const Input &input);

private:
    Connection &m_connection;
    QString m_numberText;
    QString m_rateText;
};
