// One patient's export, in a practice of 5,000: the JSON file parses and holds every row the
// database has for that patient and nothing of another (a namesake with receipts of the same
// name included), and the PDF a person reads says the same.
#include "exportfixtures.h"
#include "patientexport.h"
#include "patientlistwindow.h"
#include "patientsql.h"
#include "printingtestsupport.h"

#include "connection.h"
#include "dberror.h"
#include "recordset.h"

#include <QJsonArray>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>

using namespace ExportFixtures;

namespace {

constexpr int kPatients = 5000;
constexpr int kChosen = 2500;
constexpr int kNamesake = kPatients + 1;

void native(const QString &sql, const QVariantList &values = {})
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    try {
        c.executeNative(sql, values);
    } catch (const DbError &e) {
        ADD_FAILURE() << e.message().toStdString() << "\n" << sql.toStdString();
        throw;
    }
}

// Every text of the practice that belongs to patient N carries the token <N>.
void fillPractice()
{
    native("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
           "INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, TAMEIO, "
           "DIEYTHYNSH, THLEFWNO_1, ISTORIKO, \"1\", \"7\", \"27\") "
           "SELECT 'Όνομα<' || i || '>', 'Επώνυμο<' || i || '>', "
           "CASE i % 2 WHEN 0 THEN 'ΘΗΛΥ' ELSE 'ΑΡΡΕΝ' END, "
           "date('1940-01-01', '+' || (i * 5) || ' days'), 'Ταμείο<' || i || '>', "
           "'Οδός <' || i || '>', '210<' || i || '>', 'Ιστορικό <' || i || '>', "
           "CASE i % 3 WHEN 0 THEN 'ΝΑΙ' WHEN 1 THEN 'ΟΧΙ' END, 'ΝΑΙ', NULL FROM n");
    for (int visit = 0; visit < 2; ++visit)
        native(QStringLiteral("INSERT INTO EPISKEPSEIS (ID, HMEROMHNIA, AITIA, PERIGRAFH) "
                              "SELECT ID, date('2023-01-01', '+' || ((ID + %1) % 365) || ' days'), "
                              "'Αιτία <' || ID || '>', 'Επίσκεψη %1 <' || ID || '>' "
                              "FROM STOIXEIA_PELATH")
                   .arg(visit * 100));
    native("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, POSO, "
           "TAMEIO, POSO_CY, PERIGRAFH, VAT, SYNOLIKO_POSO) "
           "SELECT 1000 + ID, date('2024-01-01', '+' || (ID % 300) || ' days'), ONOMA, EPWNYMO, "
           "ONOMA || ' ' || EPWNYMO, 40, TAMEIO, 0, 'Συνεδρία <' || ID || '>', 9.6, 49.6 "
           "FROM STOIXEIA_PELATH");
    native("INSERT INTO EISPRAKSH_PELATH (ID, HMEROMHNIA, POSO, PERIGRAFH, TAMEIO, POSO_CY, "
           "AR_APODEIKSHS, VAT, SYNOLIKO_POSO) "
           "SELECT AR_APODEIKSHS - 1000, HMEROMHNIA, POSO, PERIGRAFH, TAMEIO, POSO_CY, "
           "AR_APODEIKSHS, VAT, SYNOLIKO_POSO FROM APODEIKSEIS");
}

// The chosen patient's own particulars, and a namesake: same names, receipts to the same
// payer name, another ID.
void particularise()
{
    native("UPDATE STOIXEIA_PELATH SET ONOMA = 'Γιώργος', EPWNYMO = 'Ο''Νηλ', "
           "ISTORIKO = 'Ιστορικό <2500>\nΔεύτερη γραμμή \"σε εισαγωγικά\" <2500>' WHERE ID = ?",
           {kChosen});
    native("INSERT INTO STOIXEIA_PELATH (ID, ONOMA, EPWNYMO, ISTORIKO) "
           "VALUES (?, 'Γιώργος', 'Ο''Νηλ', 'Ιστορικό <5001>')",
           {kNamesake});
    native("INSERT INTO EPISKEPSEIS (ID, HMEROMHNIA, AITIA, PERIGRAFH) "
           "VALUES (?, '2024-05-05', 'Αιτία <5001>', 'Επίσκεψη <5001>')",
           {kNamesake});
    native("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, POSO, "
           "POSO_CY, PERIGRAFH, VAT, SYNOLIKO_POSO) VALUES (9001, '2024-06-01', 'Γιώργος', "
           "'Ο''Νηλ', 'Γιώργος Ο''Νηλ', 25, 0, 'Συνεδρία <5001>', 6, 31)");
    native("INSERT INTO EISPRAKSH_PELATH (ID, HMEROMHNIA, POSO, PERIGRAFH, POSO_CY, "
           "AR_APODEIKSHS, VAT, SYNOLIKO_POSO) VALUES (?, '2024-06-01', 25, 'Συνεδρία <5001>', "
           "0, 9001, 6, 31)",
           {kNamesake});
    // Two more of the chosen patient's payments: an amount with three decimals as entered,
    // and a whole one.
    for (const auto &[number, amount] : {std::pair {9100, 10.125}, std::pair {9101, 35.0}}) {
        native("INSERT INTO APODEIKSEIS (AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
               "POSO, POSO_CY, PERIGRAFH, VAT, SYNOLIKO_POSO) VALUES (?, '2024-11-11', 'Γιώργος', "
               "'Ο''Νηλ', 'Γιώργος Ο''Νηλ', ?, 0, 'Πρόσθετη <2500>', 0, ?)",
               {number, amount, amount});
        native("INSERT INTO EISPRAKSH_PELATH (ID, HMEROMHNIA, POSO, PERIGRAFH, POSO_CY, "
               "AR_APODEIKSHS, VAT, SYNOLIKO_POSO) VALUES (?, '2024-11-11', ?, "
               "'Πρόσθετη <2500>', 0, ?, 0, ?)",
               {kChosen, amount, number, amount});
    }
}

// Rows of a query in the windows' dialect, each row's values as stored, as texts.
std::vector<QStringList> rowsOf(const QString &sql)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query q(c);
    q.setSql(sql);
    q.open();
    std::vector<QStringList> rows;
    for (int r = 0; r < q.rowCount(); ++r) {
        QStringList row;
        for (int col = 0; col < q.columnCount(); ++col)
            row << q.value(r, col).toString();
        rows.push_back(row);
    }
    return rows;
}

// Every <N> token of a text.
QSet<QString> tokens(const QString &text)
{
    static const QRegularExpression token(QStringLiteral("<(\\d+)>"));
    QSet<QString> found;
    for (auto it = token.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured(1));
    return found;
}

class PatientExportTest : public ExportTest {
protected:
    static void SetUpTestSuite() {}
    PatientExportTest()
    {
        PrintingTest::installLayouts(practice.dir());
        fillPractice();
        particularise();
    }
};

} // namespace

TEST_F(PatientExportTest, TheJsonHoldsEveryRowOfThePatientAndNoneOfAnother)
{
    const QString chosen = out("fakelos");
    Connection connection;
    connection.setUp(Program::DbConnectionString, true);
    const PatientExport::Files files
        = PatientExport::write(connection, QString::number(kChosen), chosen);
    EXPECT_EQ(files.json, chosen + ".json");
    EXPECT_EQ(files.pdf, chosen + ".pdf");

    QFile jsonFile(files.json);
    ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = jsonFile.readAll();
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    ASSERT_TRUE(document.isObject());
    const QJsonObject root = document.object();
    EXPECT_EQ(root.value("format").toString(), "orvanta-patient-export");

    const QJsonObject patient = root.value("patient").toObject();
    const QStringList stored = rowsOf("SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, "
                                      "TAMEIO, DIEYTHYNSH, THLEFWNO_1 FROM STOIXEIA_PELATH "
                                      "WHERE ID=2500")
                                   .at(0);
    EXPECT_EQ(patient.value("id").toInt(), kChosen);
    EXPECT_EQ(patient.value("firstName").toString(), stored[1]);
    EXPECT_EQ(patient.value("surname").toString(), "Ο'Νηλ");
    EXPECT_EQ(patient.value("sex").toString(), stored[3]);
    EXPECT_EQ(patient.value("birthDate").toString(), stored[4]);
    EXPECT_TRUE(QDate::fromString(patient.value("birthDate").toString(), Qt::ISODate).isValid());
    EXPECT_EQ(patient.value("insuranceFund").toString(), stored[5]);
    EXPECT_EQ(patient.value("address").toString(), stored[6]);
    EXPECT_EQ(patient.value("phone1").toString(), stored[7]);
    EXPECT_TRUE(patient.value("phone2").isNull()); // never filled: null, not ""

    const QJsonObject health = root.value("healthRecord").toObject();
    const QJsonArray answers = health.value("answers").toArray();
    ASSERT_EQ(answers.size(), 27);
    for (int i = 1; i <= 27; ++i) {
        const QJsonObject answer = answers.at(i - 1).toObject();
        EXPECT_EQ(answer.value("number").toInt(), i);
        const QVariant storedAnswer = [&] {
            Connection c;
            c.setUp(Program::DbConnectionString, true);
            Query q(c);
            q.setSql(QStringLiteral("SELECT [%1] FROM STOIXEIA_PELATH WHERE ID=2500").arg(i));
            q.open();
            return q.value(0, 0);
        }();
        if (storedAnswer.isNull())
            EXPECT_TRUE(answer.value("answer").isNull()) << i;
        else
            EXPECT_EQ(answer.value("answer").toString(), storedAnswer.toString()) << i;
    }
    EXPECT_EQ(answers.at(0).toObject().value("condition").toString(), "Αυχενικό σύνδρομο");
    EXPECT_EQ(answers.at(26).toObject().value("condition").toString(), "Θλάσεις μυών");
    EXPECT_EQ(answers.at(6).toObject().value("answer").toString(), "ΝΑΙ");
    EXPECT_EQ(health.value("history").toString(),
              "Ιστορικό <2500>\nΔεύτερη γραμμή \"σε εισαγωγικά\" <2500>");

    const auto dbVisits = rowsOf("SELECT HMEROMHNIA, AITIA, PERIGRAFH FROM EPISKEPSEIS "
                                 "WHERE ID=2500 ORDER BY HMEROMHNIA");
    const QJsonArray visits = root.value("visits").toArray();
    ASSERT_EQ(size_t(visits.size()), dbVisits.size());
    ASSERT_EQ(visits.size(), 2);
    for (qsizetype v = 0; v < visits.size(); ++v) {
        const QJsonObject visit = visits.at(v).toObject();
        EXPECT_EQ(QStringList({visit.value("date").toString(), visit.value("reason").toString(),
                               visit.value("description").toString()}),
                  dbVisits[size_t(v)]);
    }

    // Payments and receipts: the numbers of the patient's own payments, each receipt once.
    QSet<QString> dbNumbers;
    for (const QStringList &row :
         rowsOf("SELECT AR_APODEIKSHS FROM EISPRAKSH_PELATH WHERE ID=2500"))
        dbNumbers.insert(row[0]);
    EXPECT_EQ(dbNumbers, (QSet<QString> {"3500", "9100", "9101"}));
    QSet<QString> paid, receipted;
    for (const QJsonValue &p : root.value("payments").toArray())
        paid.insert(QString::number(p.toObject().value("receiptNumber").toInt()));
    for (const QJsonValue &r : root.value("receipts").toArray())
        receipted.insert(QString::number(r.toObject().value("number").toInt()));
    EXPECT_EQ(paid, dbNumbers);
    EXPECT_EQ(receipted, dbNumbers);
    EXPECT_EQ(root.value("receipts").toArray().size(), 3);

    // Amounts are the stored decimals as text with a point, at least two decimals.
    QStringList amounts;
    for (const QJsonValue &p : root.value("payments").toArray())
        amounts << p.toObject().value("amount").toString() + "/"
                + p.toObject().value("vat").toString();
    EXPECT_EQ(amounts, (QStringList {"40.00/9.60", "10.125/0.00", "35.00/0.00"}));
    const QJsonObject receipt = root.value("receipts").toArray().at(0).toObject();
    EXPECT_EQ(receipt.value("total").toString(), "49.60");
    EXPECT_TRUE(receipt.value("valid").toBool());
    EXPECT_EQ(receipt.value("date").toString(),
              rowsOf("SELECT HMEROMHNIA FROM APODEIKSEIS WHERE AR_APODEIKSHS=3500").at(0).at(0));

    // Nothing of another patient: every token in the file is the patient's own, and neither
    // the namesake's receipt nor their ID is there.
    const QString text = QString::fromUtf8(bytes);
    EXPECT_EQ(tokens(text), QSet<QString> {"2500"});
    EXPECT_FALSE(text.contains("9001"));
    EXPECT_FALSE(text.contains("5001"));

    // The PDF a person reads: the same rows, the same token only.
    if (const QString keep = qEnvironmentVariable("ORVANTA_KEEP_PDF"); !keep.isEmpty()) {
        QFile::remove(QDir(keep).filePath("FAKELOS.pdf"));
        QFile::copy(files.pdf, QDir(keep).filePath("FAKELOS.pdf"));
    }
    const QString pdf = PrintingTest::pdfText(files.pdf);
    EXPECT_EQ(tokens(pdf), QSet<QString> {"2500"});
    for (const char *shown : {"Ο'Νηλ", "Επίσκεψη 0 <2500>", "Επίσκεψη 100 <2500>",
                              "Δεύτερη γραμμή \"σε εισαγωγικά\"", "3500", "9100", "9101",
                              "Αυχενικό σύνδρομο:", "Θλάσεις μυών:"})
        EXPECT_TRUE(pdf.contains(QString::fromUtf8(shown))) << shown << "\n" << pdf.toStdString();
    EXPECT_FALSE(pdf.contains("9001"));

    // A patient deleted meanwhile (or an ID that is not a number) writes nothing at all.
    for (const char *id : {"99999", "12 OR 1=1"}) {
        EXPECT_THROW(PatientExport::write(connection, id, out("gone")), DbError) << id;
        EXPECT_FALSE(QFile::exists(out("gone.json")));
        EXPECT_FALSE(QFile::exists(out("gone.pdf")));
    }
}

TEST_F(PatientExportTest, TheListsButtonWritesBothFilesOrSaysWhyNot)
{
    PatientListWindow list;
    list.ListSql = PatientSql::bySurname("Ο").sql;
    list.show();
    list.FormShow();
    ASSERT_EQ(list.records().rowCount(), 2);
    for (int r = 0; r < list.records().rowCount(); ++r)
        if (list.records().text(r, list.records().fieldIndex("ID")) == "2500")
            list.records().setCurrentRow(r);
    ASSERT_EQ(list.currentPatient().id, "2500");
    QPushButton *button = list.actionButton("buttonExport");
    ASSERT_NE(button, nullptr);

    target = out("plain.txt/fakelos.pdf");
    QFile plain(out("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    button->click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().last().kind, "error");
    EXPECT_TRUE(messages.last().contains("plain.txt")) << messages.last().toStdString();

    messages.clear();
    target = out("Ο'Νηλ.pdf");
    button->click();
    EXPECT_TRUE(suggested.endsWith("Φάκελος Ο'Νηλ Γιώργος 2500.pdf")) << suggested.toStdString();
    ASSERT_EQ(messages.shown().size(), 1) << messages.last().toStdString();
    EXPECT_EQ(messages.shown().last().kind, "information");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList {"plain.txt", "Ο'Νηλ.json", "Ο'Νηλ.pdf"}));
    // The list still shows its rows, on its own connection.
    EXPECT_EQ(list.records().rowCount(), 2);
}

// The name typed with either extension, or none, names the same pair of files; a folder in the
// way of one of them leaves neither written; and after a failure the next dialogue does not
// offer the folder that failed.
TEST_F(PatientExportTest, ThePairIsWrittenWholeUnderTheTypedNameOrNotAtAll)
{
    PatientListWindow list;
    list.ListSql = PatientSql::bySurname("Ο").sql;
    list.show();
    list.FormShow();
    for (int r = 0; r < list.records().rowCount(); ++r)
        if (list.records().text(r, list.records().fieldIndex("ID")) == "2500")
            list.records().setCurrentRow(r);
    QPushButton *button = list.actionButton("buttonExport");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken.pdf"));
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken2.json"));

    struct Case {
        const char *typed;
        QStringList files; // what the folder holds afterwards, besides the two folders
        bool written;
    };
    const Case cases[] = {
        {"a.json", {"a.json", "a.pdf"}, true},
        {"b.pdf", {"b.json", "b.pdf"}, true},
        {"c", {"c.json", "c.pdf"}, true},
        {"taken", {}, false},
        {"taken2.pdf", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        messages.clear();
        for (const QString &f : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(out(f));
        target = out(QString::fromUtf8(c.typed));
        button->click();
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].kind, c.written ? "information" : "error")
            << messages.last().toStdString();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), c.files);
    }

    // A folder that failed is not where the next dialogue opens.
    target = out("gone/x.pdf");
    button->click();
    EXPECT_EQ(messages.shown().last().kind, "error");
    target = out("d");
    button->click();
    EXPECT_FALSE(suggested.startsWith(out("gone"))) << suggested.toStdString();
    EXPECT_TRUE(suggested.startsWith(folder.path())) << suggested.toStdString();
}
