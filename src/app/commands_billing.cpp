#include "commands.h"

#include "dberror.h"
#include "ebookssending.h"
#include "ebooksservice.h"
#include "ebookssettingswindow.h"
#include "issuedreceiptswindow.h"
#include "patientpaymentswindow.h"
#include "periodincomewindow.h"
#include "practicedetailswindow.h"
#include "program.h"
#include "receiptprinting.h"
#include "receiptwindow.h"
#include "secretstore.h"
#include "settingwindow.h"
#include "statisticswindow.h"
#include "windowhooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

namespace {

template<typename W> void openModal(QWidget *parent)
{
    W window(parent);
    window.showModal();
}

// The tax authority's schema: a newer one a person put beside the practice's data, else the
// package's copy (share/orvanta/mydata-xsd beside the program's libexec/orvanta folder).
QString schemaFolder()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString &folder :
         {QDir(Program::AppDir).filePath(QStringLiteral("mydata-xsd")),
          QDir::cleanPath(program.filePath(QStringLiteral("../../share/orvanta/mydata-xsd"))),
          QStringLiteral("/usr/share/orvanta/mydata-xsd")})
        if (QDir(folder).exists())
            return folder;
    return QDir(Program::AppDir).filePath(QStringLiteral("mydata-xsd"));
}

// Names this program on this computer in the queue's claims, so that two programs never take
// each other's claim for their own.
QString workstation()
{
    return QSysInfo::machineHostName() + QLatin1Char('/')
        + QString::number(QCoreApplication::applicationPid());
}

} // namespace

// The receipt printing component lives for the whole run; the other receipt and payment
// windows are made anew each time they are opened.
void AreaCommands::billing(CommandTable &table)
{
    auto *printing = new ReceiptPrinting;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [printing] { delete printing; });

    // The e-books live for the whole run too: the retries run while the program runs.
    auto *secrets = new MyData::KeychainSecretStore;
    auto *ebooks = new MyData::EbooksService(*secrets, Program::DbConnectionString,
                                             schemaFolder(), workstation());
    try {
        ebooks->reloadSettings();
    } catch (const DbError &) {
        // The settings read as off; the settings window shows the database's error.
    }
    MyData::EbooksService::setInstance(ebooks);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [ebooks, secrets] {
        delete ebooks;
        delete secrets;
    });
    ebooks->startRetries();
    table[MenuCommand::EbooksSettings] = [secrets](QWidget *parent) {
        EbooksSettingsWindow window(*secrets, parent);
        window.showModal();
    };
    table[MenuCommand::SendWaitingReceipts] = [ebooks](QWidget *parent) {
        sendWaitingReceipts(parent, *ebooks);
    };

    table[MenuCommand::VatRate] = &openModal<VatRateWindow>;
    table[MenuCommand::ReceiptNumbering] = &openModal<ReceiptNumberingWindow>;
    table[MenuCommand::PracticeDetails] = &openModal<PracticeDetailsWindow>;
    table[MenuCommand::IssuedReceipts] = &openModal<IssuedReceiptsWindow>;
    table[MenuCommand::PeriodIncome] = &openModal<PeriodIncomeWindow>;
    table[MenuCommand::Statistics] = &openModal<StatisticsWindow>;

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
