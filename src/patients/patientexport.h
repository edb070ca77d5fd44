#pragma once

#include "recordset.h"
#include "renderer.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

class Connection;
class QWidget;
struct PatientContext;

// Everything the practice holds on one patient, for the patient's right of access and of
// portability: the patient's row (details, the 27 health record answers, the history), the
// visits, the appointments linked to the patient, the payments, and the receipts issued with those payments. Receipts carry no
// patient ID of their own: a receipt is the patient's when one of the patient's payments bears
// its number, never by a name, which another patient may share. (A cancelled receipt's payment
// is deleted, so a cancelled receipt cannot be told to be the patient's and is not included.)
class PatientFile {
public:
    explicit PatientFile(Connection &connection);

    // Reads the patient's rows on the connection (open). Throws DbError when the ID is not a
    // whole number, when no patient has it, or when the database refuses a query.
    // `now` divides the upcoming appointments from the past ones.
    void read(const QString &patientId, const QDateTime &now = QDateTime::currentDateTime());

    const Query &patient() const { return m_patient; }
    const Query &visits() const { return m_visits; }
    const Query &payments() const { return m_payments; }
    const Query &receipts() const { return m_receipts; }
    // The slots of the appointment book linked to the patient, upcoming first.
    const Query &appointments() const { return m_appointments; }

    // One JSON object: field names in English, texts as stored, dates ISO 8601, amounts as
    // decimal strings with a point. The schema is described in docs/patient-export.md.
    QJsonObject json() const;
    QByteArray jsonBytes() const;

    // The same data laid out by the layout file (AppDir + "\FAKELOS.RAV"), for the patient to
    // read. Throws ReportError for a missing or unreadable layout.
    Report::RenderedReport report(const QString &layoutFile) const;

    static inline const QString kLayout = QStringLiteral("\\FAKELOS.RAV");

private:
    Query m_patient;
    Query m_visits;
    Query m_payments;
    Query m_receipts;
    Query m_appointments;
};

namespace PatientExport {

// The files one export writes beside each other: NAME.pdf and NAME.json, from the name the
// person chose (with or without either extension).
struct Files {
    QString pdf;
    QString json;
};
Files filesFor(const QString &chosen);

// Reads the patient, lays out the PDF and writes both files through ExportFile (nothing is
// written when reading or laying out fails). Throws DbError, ReportError or ExportError.
Files write(Connection &connection, const QString &patientId, const QString &chosen);

// "Εξαγωγή στοιχείων ασθενούς…" as the patient list runs it: asks for the name, writes, and
// tells the person which files were written or why not. True when both were written.
bool run(QWidget *parent, const PatientContext &patient);

} // namespace PatientExport
