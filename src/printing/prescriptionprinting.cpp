#include "prescriptionprinting.h"

#include "connection.h"
#include "printingtexts.h"
#include "recordset.h"
#include "reportrun.h"
#include "window.h"

using namespace PrintingTexts;

PrescriptionPrinting::PrescriptionPrinting(QObject *parent)
    : QObject(parent)
    , m_connection(std::make_unique<Connection>())
    , m_information(std::make_unique<Table>(*m_connection))
{
    m_information->setTableName(kInformationTable);
    // Both connections expose the same table; each layout reads the one of its own name.
    m_prescription.addConnection(kPrescriptionConnection, m_information.get());
    m_certificate.addConnection(kCertificateConnection, m_information.get());
}

void PrescriptionPrinting::PrintPrescription(QWidget *parent)
{
    print(parent, m_prescription, kPrescriptionLayout);
}

void PrescriptionPrinting::PrintSickLeaveCertificate(QWidget *parent)
{
    print(parent, m_certificate, kCertificateLayout);
}

void PrescriptionPrinting::print(QWidget *parent, ReportProject &report, const QString &layout)
{
    Kit::guarded(parent, [&] { ReportRun::run(*m_connection, *m_information, report, layout); });
}

PrescriptionPrinting::~PrescriptionPrinting() = default;
