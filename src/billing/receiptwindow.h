#pragma once

#include "datawindow.h"
#include "receiptissue.h"

#include <QElapsedTimer>

namespace MyData {
class EbooksService;
}
class QLabel;
class QProgressDialog;
class QLineEdit;
class QPushButton;

// Issues a numbered receipt to one patient and records the payment in the same step, then
// prints it. The next number and the VAT rate are read when the window is created. A receipt
// that is not issued clears the three fields, except when the database refused the write (the
// engine's message is shown under "Η καταχώρηση δεν έγινε") or another window took the shown
// number first (the next free number is shown, with why): then what was typed stays.
class ReceiptWindow : public DataWindow {
    Q_OBJECT
public:
    explicit ReceiptWindow(QWidget *parent = nullptr);
    ~ReceiptWindow() override;

    QString PatientId;
    QString PatientFirstName;
    QString PatientSurname;

    void FormShow() override;

    QLineEdit *amountBox() const { return m_amount; }
    QLineEdit *descriptionBox() const { return m_description; }
    QLineEdit *fundBox() const { return m_fund; }
    QPushButton *registerButton() const { return m_register; }
    QLabel *numberLabel() const { return m_number; }
    // The line that says why the receipt just issued is not in the e-books yet; hidden when it
    // is, or was not sent.
    QLabel *ebooksLine() const { return m_ebooksLine; }
    // The wait for the e-books after a receipt was issued; null when not waiting.
    QProgressDialog *sendingProgress() const { return m_sending; }

    // The register button (Button1Click).
    void registerClick();

    void done(int result) override;

private:
    void FormCreate();
    void updateButton();
    void clearFields();
    void sendThenPrint(MyData::EbooksService &ebooks, qint64 number);
    // Prints the issued receipt and closes the window; a refusal of the e-books is shown first.
    // A receipt that could not be sent (notSent: why) leaves the window open with the cause.
    void finishIssue(qint64 number, const QString &refusal, const QString &notSent);
    // Ends an issued receipt as a registration does: sends it when queued, prints it, closes.
    void issued(const ReceiptIssue::Result &result);
    // A receipt whose outcome is unknown is looked up before the window changes or closes;
    // true when it was found issued (and has been printed).
    // A change tries again every few seconds at most, so typing never waits at each key.
    bool settleFirst(bool change = false);

    ReceiptIssue m_issue;
    // Made when the receipt is started, renewed only once it is issued.
    QString m_token;
    bool m_finishing = false;
    QElapsedTimer m_lastLookUp;
    QLabel *m_firstName;
    QLabel *m_surname;
    QLabel *m_number;
    QLineEdit *m_amount;
    QLineEdit *m_description;
    QLineEdit *m_fund;
    QPushButton *m_register;
    QProgressDialog *m_sending = nullptr;
    QLabel *m_ebooksLine;
};
