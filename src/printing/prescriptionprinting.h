#pragma once

#include "reportproject.h"

#include <memory>

class Connection;
class Query;
class Table;

#include <QObject>

class QWidget;

// Holds the prescription and sick-leave certificate reports, which the main menu runs: blank
// forms headed with the practice details of INFORMATION. Never shown; created once at start-up.
class PrescriptionPrinting : public QObject {
    Q_OBJECT
public:
    explicit PrescriptionPrinting(QObject *parent = nullptr);
    ~PrescriptionPrinting() override;

    // parent: the window over which a failure is reported.
    void PrintPrescription(QWidget *parent = nullptr);
    void PrintSickLeaveCertificate(QWidget *parent = nullptr);

    Connection &connection() { return *m_connection; }
    Table &information() { return *m_information; }

private:
    void print(QWidget *parent, ReportProject &report, const QString &layout);

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<Table> m_information;
    ReportProject m_prescription;
    ReportProject m_certificate;
};
