#include "patientexport.h"

#include "appointmentlinks.h"
#include "connection.h"
#include "datawindow.h"
#include "dberror.h"
#include "exportdialog.h"
#include "exportfile.h"
#include "healthrecordwindow.h"
#include "messageservice.h"
#include "program.h"
#include "reportproject.h"
#include "reportrun.h"
#include "schema.h"
#include "window.h"
#include "windowhooks.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kPdfFilter = QStringLiteral("Φάκελος ασθενούς (*.pdf *.json)");

QString patientSql(const QString &id)
{
    return QStringLiteral("SELECT * FROM STOIXEIA_PELATH WHERE ID=") + id;
}
QString visitsSql(const QString &id)
{
    return QStringLiteral("SELECT ID, HMEROMHNIA, AITIA, PERIGRAFH FROM EPISKEPSEIS WHERE ID=")
        + id + QStringLiteral(" ORDER BY HMEROMHNIA ASC");
}
QString paymentsSql(const QString &id)
{
    return QStringLiteral("SELECT ID, AR_APODEIKSHS, HMEROMHNIA, PERIGRAFH, TAMEIO, POSO, VAT, "
                          "SYNOLIKO_POSO, POSO_CY FROM EISPRAKSH_PELATH WHERE ID=")
        + id + QStringLiteral(" ORDER BY HMEROMHNIA ASC, AR_APODEIKSHS ASC");
}
QString receiptsSql(const QString &id)
{
    return QStringLiteral("SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
                          "PERIGRAFH, TAMEIO, POSO, VAT, SYNOLIKO_POSO, POSO_CY, EGKYRH FROM "
                          "APODEIKSEIS WHERE AR_APODEIKSHS IN (SELECT AR_APODEIKSHS FROM "
                          "EISPRAKSH_PELATH WHERE ID=")
        + id + QStringLiteral(") ORDER BY AR_APODEIKSHS ASC");
}

void reopen(Query &query, const QString &sql)
{
    query.close();
    query.setSql(sql);
    query.open();
}

// A value as stored: null stays null, texts keep their blanks.
QJsonValue text(const RecordSet &set, int row, const QString &field)
{
    const QVariant v = set.value(row, set.fieldIndex(field));
    return v.isNull() ? QJsonValue() : QJsonValue(v.toString());
}

QJsonValue date(const RecordSet &set, int row, const QString &field)
{
    const QVariant v = set.value(row, set.fieldIndex(field));
    return v.isNull() ? QJsonValue() : QJsonValue(v.toString().left(10));
}

QJsonValue integer(const RecordSet &set, int row, const QString &field)
{
    const QVariant v = set.value(row, set.fieldIndex(field));
    return v.isNull() ? QJsonValue() : QJsonValue(v.toLongLong());
}

// The exact stored amount with a point, and at least two decimals: "40.00", "10.125".
QJsonValue amount(const RecordSet &set, int row, const QString &field)
{
    const auto d = Decimal::fromVariant(set.value(row, set.fieldIndex(field)));
    if (!d)
        return {};
    const Decimal shown = d->scale() < 2 ? d->rounded(2, Decimal::Rounding::HalfEven) : *d;
    return shown.text(QLatin1Char('.'));
}

QJsonValue yesNo(const RecordSet &set, int row, const QString &field)
{
    const QVariant v = set.value(row, set.fieldIndex(field));
    return v.isNull() ? QJsonValue() : QJsonValue(v.toBool());
}

// What a payment and a receipt both hold: date, description, fund and the four amounts.
void addMoneyRow(QJsonObject &object, const RecordSet &s, int r)
{
    object.insert(QStringLiteral("date"), date(s, r, QStringLiteral("HMEROMHNIA")));
    object.insert(QStringLiteral("description"), text(s, r, QStringLiteral("PERIGRAFH")));
    object.insert(QStringLiteral("insuranceFund"), text(s, r, QStringLiteral("TAMEIO")));
    object.insert(QStringLiteral("amount"), amount(s, r, QStringLiteral("POSO")));
    object.insert(QStringLiteral("vat"), amount(s, r, QStringLiteral("VAT")));
    object.insert(QStringLiteral("total"), amount(s, r, QStringLiteral("SYNOLIKO_POSO")));
    object.insert(QStringLiteral("amountCyp"), amount(s, r, QStringLiteral("POSO_CY")));
}

// Now, with the offset from UTC: "2026-12-10T11:02:03+02:00".
QString exportedAt()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

PatientFile::PatientFile(Connection &connection)
    : m_patient(connection)
    , m_visits(connection)
    , m_payments(connection)
    , m_receipts(connection)
    , m_appointments(connection)
{}

void PatientFile::read(const QString &patientId, const QDateTime &now)
{
    const QString id = ReportRun::idText(patientId);
    reopen(m_patient, patientSql(id));
    if (m_patient.rowCount() != 1)
        throw DbError(QStringLiteral("Δεν υπάρχει ασθενής με κωδικό %1.").arg(id));
    reopen(m_visits, visitsSql(id));
    reopen(m_payments, paymentsSql(id));
    reopen(m_receipts, receiptsSql(id));
    reopen(m_appointments,
           AppointmentLinks::patientSql(
               id.toLongLong(), now,
               Schema::hasTable(m_appointments.connection(),
                                QLatin1String(Schema::kAppointmentLinksTable))));
}

QJsonObject PatientFile::json() const
{
    const RecordSet &p = m_patient;
    QJsonObject patient {
        {QStringLiteral("id"), integer(p, 0, QStringLiteral("ID"))},
        {QStringLiteral("firstName"), text(p, 0, QStringLiteral("ONOMA"))},
        {QStringLiteral("surname"), text(p, 0, QStringLiteral("EPWNYMO"))},
        {QStringLiteral("sex"), text(p, 0, QStringLiteral("FYLO"))},
        {QStringLiteral("birthDate"), date(p, 0, QStringLiteral("HMEROMHNIA_GENNHSEWS"))},
        {QStringLiteral("occupation"), text(p, 0, QStringLiteral("EPAGGELMA"))},
        {QStringLiteral("insuranceFund"), text(p, 0, QStringLiteral("TAMEIO"))},
        {QStringLiteral("address"), text(p, 0, QStringLiteral("DIEYTHYNSH"))},
        {QStringLiteral("phone1"), text(p, 0, QStringLiteral("THLEFWNO_1"))},
        {QStringLiteral("phone2"), text(p, 0, QStringLiteral("THLEFWNO_2"))},
    };

    QJsonArray answers;
    for (int i = 1; i <= 27; ++i) {
        QString condition = HealthRecordWindow::conditionLabel(i);
        if (condition.endsWith(QLatin1Char(':')))
            condition.chop(1);
        answers.append(QJsonObject {
            {QStringLiteral("number"), i},
            {QStringLiteral("condition"), condition},
            {QStringLiteral("answer"), text(p, 0, QString::number(i))},
        });
    }
    const QJsonObject health {
        {QStringLiteral("answers"), answers},
        {QStringLiteral("history"), text(p, 0, QStringLiteral("ISTORIKO"))},
    };

    QJsonArray visits;
    for (int r = 0; r < m_visits.rowCount(); ++r)
        visits.append(QJsonObject {
            {QStringLiteral("date"), date(m_visits, r, QStringLiteral("HMEROMHNIA"))},
            {QStringLiteral("reason"), text(m_visits, r, QStringLiteral("AITIA"))},
            {QStringLiteral("description"), text(m_visits, r, QStringLiteral("PERIGRAFH"))},
        });

    QJsonArray appointments;
    for (int r = 0; r < m_appointments.rowCount(); ++r) {
        const RecordSet &s = m_appointments;
        appointments.append(QJsonObject {
            {QStringLiteral("date"), date(s, r, QStringLiteral("HMEROMHNIA"))},
            {QStringLiteral("time"), text(s, r, QStringLiteral("WRA"))},
            {QStringLiteral("text"), text(s, r, QStringLiteral("KEIMENO"))},
            {QStringLiteral("noShow"), yesNo(s, r, QStringLiteral("DEN_PROSHLTHE"))},
            {QStringLiteral("upcoming"), yesNo(s, r, QStringLiteral("EPOMENO"))},
        });
    }

    QJsonArray payments;
    for (int r = 0; r < m_payments.rowCount(); ++r) {
        QJsonObject payment {
            {QStringLiteral("receiptNumber"),
             integer(m_payments, r, QStringLiteral("AR_APODEIKSHS"))},
        };
        addMoneyRow(payment, m_payments, r);
        payments.append(payment);
    }

    QJsonArray receipts;
    for (int r = 0; r < m_receipts.rowCount(); ++r) {
        const RecordSet &s = m_receipts;
        QJsonObject receipt {
            {QStringLiteral("number"), integer(s, r, QStringLiteral("AR_APODEIKSHS"))},
            {QStringLiteral("firstName"), text(s, r, QStringLiteral("ONOMA"))},
            {QStringLiteral("surname"), text(s, r, QStringLiteral("EPWNYMO"))},
            {QStringLiteral("payer"), text(s, r, QStringLiteral("PARALHPTHS"))},
            {QStringLiteral("valid"), yesNo(s, r, QStringLiteral("EGKYRH"))},
        };
        addMoneyRow(receipt, s, r);
        receipts.append(receipt);
    }

    return QJsonObject {
        {QStringLiteral("format"), QStringLiteral("orvanta-patient-export")},
        {QStringLiteral("version"), 1},
        {QStringLiteral("exportedAt"), exportedAt()},
        {QStringLiteral("patient"), patient},
        {QStringLiteral("healthRecord"), health},
        {QStringLiteral("visits"), visits},
        {QStringLiteral("appointments"), appointments},
        {QStringLiteral("payments"), payments},
        {QStringLiteral("receipts"), receipts},
    };
}

QByteArray PatientFile::jsonBytes() const
{
    return QJsonDocument(json()).toJson(QJsonDocument::Indented);
}

Report::RenderedReport PatientFile::report(const QString &layoutFile) const
{
    // The engine only reads the sets; it never moves their rows.
    ReportProject project;
    project.setProjectFile(layoutFile);
    project.addConnection(QStringLiteral("RvDataSetConnectionPatient"),
                          const_cast<Query *>(&m_patient));
    project.addConnection(QStringLiteral("RvDataSetConnectionVisits"),
                          const_cast<Query *>(&m_visits));
    project.addConnection(QStringLiteral("RvDataSetConnectionAppointments"),
                          const_cast<Query *>(&m_appointments));
    project.addConnection(QStringLiteral("RvDataSetConnectionPayments"),
                          const_cast<Query *>(&m_payments));
    project.addConnection(QStringLiteral("RvDataSetConnectionReceipts"),
                          const_cast<Query *>(&m_receipts));
    return project.render();
}

namespace PatientExport {

Files filesFor(const QString &chosen)
{
    QString base = chosen;
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == QLatin1String("pdf") || suffix == QLatin1String("json"))
        base.chop(suffix.size() + 1);
    return {base + QStringLiteral(".pdf"), base + QStringLiteral(".json")};
}

Files write(Connection &connection, const QString &patientId, const QString &chosen)
{
    const Files files = filesFor(chosen);
    PatientFile file(connection);
    file.read(patientId);
    const QByteArray json = file.jsonBytes();
    const Report::RenderedReport report = file.report(Program::AppDir + PatientFile::kLayout);
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        if (!ReportOutput::writePdf(report, &buffer))
            throw ExportError(QStringLiteral("Η εξαγωγή δεν έγινε: το PDF δεν σχηματίστηκε."));
    }
    // Both files or neither: a folder named like one of them leaves no lone JSON file behind.
    ExportFile::saveAll({{files.pdf, pdf}, {files.json, json}});
    return files;
}

bool run(QWidget *parent, const PatientContext &patient)
{
    QString name = (patient.surname + QLatin1Char(' ') + patient.firstName).trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString suggested
        = QStringLiteral("Φάκελος %1 %2.pdf").arg(name, patient.id).simplified();
    const QString chosen = ExportDialog::chooseFile(parent, suggested, {kPdfFilter});
    if (chosen.isEmpty())
        return false;
    Files files;
    // A connection of its own, so that the list's rows stay as they are.
    Connection connection;
    const bool ok = Kit::guarded(parent, [&] {
        ProgramConnection::open(connection);
        files = write(connection, patient.id, chosen);
    });
    if (ok)
        ExportDialog::rememberFolder(files.pdf);
    if (ok)
        Messages::information(
            parent, QStringLiteral("Τα στοιχεία του ασθενούς γράφτηκαν στα αρχεία\r%1\r%2")
                        .arg(QDir::toNativeSeparators(files.pdf),
                             QDir::toNativeSeparators(files.json)));
    return ok;
}

} // namespace PatientExport
