#include "commands.h"

#include "issuedreceiptswindow.h"
#include "patientpaymentswindow.h"
#include "periodincomewindow.h"
#include "practicedetailswindow.h"
#include "receiptprinting.h"
#include "receiptwindow.h"
#include "settingwindow.h"
#include "windowhooks.h"

#include <QCoreApplication>

namespace {

template<typename W> void openModal(QWidget *parent)
{
    W window(parent);
    window.showModal();
}

} // namespace

// The receipt printing component lives for the whole run; the other receipt and payment
// windows are made anew each time they are opened.
void AreaCommands::billing(CommandTable &table)
{
    auto *printing = new ReceiptPrinting;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [printing] { delete printing; });

    table[MenuCommand::VatRate] = &openModal<VatRateWindow>;
    table[MenuCommand::ReceiptNumbering] = &openModal<ReceiptNumberingWindow>;
    table[MenuCommand::PracticeDetails] = &openModal<PracticeDetailsWindow>;
    table[MenuCommand::IssuedReceipts] = &openModal<IssuedReceiptsWindow>;
    table[MenuCommand::PeriodIncome] = &openModal<PeriodIncomeWindow>;

    // Throws when printing fails: each caller tells the person in its own way.
    WindowHooks::printReceipt = [printing](QWidget *, const QString &receiptNo) {
        printing->ReceiptNo = receiptNo.trimmed().toLongLong();
        printing->PrintReceipt();
    };
    WindowHooks::openReceipt = [](QWidget *parent, const PatientContext &patient) {
        ReceiptWindow window(parent);
        window.PatientId = patient.id;
        window.PatientFirstName = patient.firstName;
        window.PatientSurname = patient.surname;
        window.showModal();
    };
    WindowHooks::openPatientPayments = [](QWidget *parent, const PatientContext &patient) {
        PatientPaymentsWindow window(parent);
        window.PatientId = patient.id;
        window.PatientFirstName = patient.firstName;
        window.PatientSurname = patient.surname;
        window.showModal();
    };
}
