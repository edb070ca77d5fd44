// The eleven layouts of the catalogue, each run against its named data connections on a test
// practice, written to PDF and read back with pdftotext.
#include "connection.h"
#include "directpdfoutput.h"
#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "prescriptionprinting.h"
#include "printingtestsupport.h"
#include "program.h"
#include "recordset.h"
#include "reportproject.h"
#include "testsupport.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace PrintingTest;

namespace {

const QString kListSql = QStringLiteral(
    "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,DIEYTHYNSH, "
    "EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC");

// Texts must appear in this order in the text.
void expectInOrder(const QString &text, const QStringList &parts)
{
    int at = -1;
    for (const QString &p : parts) {
        const int next = text.indexOf(p, at + 1);
        EXPECT_GT(next, at) << "\"" << p.toStdString() << "\" missing or out of order in:\n"
                            << text.toStdString();
        if (next > at)
            at = next;
    }
}

using LayoutTest = PrintingFixture;

} // namespace

TEST_F(LayoutTest, PatientList)
{
    PatientPrintoutsWindow w;
    w.ListSql = kListSql;
    w.Button7Click();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    const QString text = lastText(true);
    expectInOrder(text,
                  {"Λίστα των ασθενών", "Επώνυμο", "Όνομα", "Ημ. γέννησης", "Ταμείο", "Αντωνίου",
                   "Ζαχαρίου", "Παπαδόπουλος", "Σύνολο ασθενών: 3", "Σελίδα 1 από 1"});
    EXPECT_TRUE(text.contains(QRegularExpression("Παπαδόπουλος\\s+Γιώργος\\s+ΑΡΡΕΝ\\s+28/3/1957\\s+"
                                                 "2101234567\\s+6971234567\\s+Ερμού 12, Αθήνα\\s+"
                                                 "Λογιστής\\s+ΙΚΑ")))
        << text.toStdString();
}

TEST_F(LayoutTest, PatientListOfManyPatientsRunsOnWithTitlesOnEveryPage)
{
    for (int i = 0; i < 80; ++i)
        practice.exec(QString("INSERT INTO STOIXEIA_PELATH (ONOMA, EPWNYMO) VALUES ('Όνομα%1', "
                              "'Ωμέγας%2')")
                          .arg(i)
                          .arg(i, 3, 10, QChar('0')));
    PatientPrintoutsWindow w;
    w.ListSql = kListSql;
    w.Button7Click();
    ASSERT_GE(lastPages(), 3);
    const QStringList pages = lastText().split(QChar(0x0c), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), lastPages());
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(pages[p].contains("Επάγγελμα")) << "column titles on page " << p + 1;
        EXPECT_TRUE(pages[p].contains(QString("Σελίδα %1 από %2").arg(p + 1).arg(pages.size())));
    }
    expectInOrder(pages.join(""), {"Ωμέγας000", "Ωμέγας040", "Ωμέγας079", "Σύνολο ασθενών: 83"});
}

TEST_F(LayoutTest, PatientDetailsAllAndSelected)
{
    PatientPrintoutsWindow w;
    w.ListFilter = "ORDER BY EPWNYMO ASC";
    w.Button1Click();
    expectInOrder(lastText(),
                  {"Στοιχεία ασθενών", "Αντωνίου Μαρία", "ΘΗΛΥ", "1/12/1972", "ΟΑΕΕ",
                   "Ζαχαρίου Ελένη", "Παπαδόπουλος Γιώργος", "Ερμού 12, Αθήνα",
                   "Σύνολο ασθενών: 3"});
    w.PatientId = practice.scalar("SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO='Ζαχαρίου'");
    w.Button2Click();
    const QString one = lastText();
    EXPECT_TRUE(one.contains("Ζαχαρίου Ελένη"));
    EXPECT_FALSE(one.contains("Παπαδόπουλος"));
    EXPECT_TRUE(one.contains("Σύνολο ασθενών: 1"));
}

TEST_F(LayoutTest, HealthRecordOnePagePerPatientWithTheTwentySevenConditions)
{
    PatientPrintoutsWindow w;
    w.ListFilter = "ORDER BY EPWNYMO ASC";
    w.Button3Click();
    EXPECT_EQ(lastPages(), 3);
    const QStringList pages = lastText().split(QChar(0x0c), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("Αντωνίου"));
    EXPECT_TRUE(pages[2].contains("Παπαδόπουλος"));
    const QStringList labels {"Αυχενικό σύνδρομο:",
                              "Αρθρίτιδα:",
                              "Διάστρεμμα:",
                              "Δισκοπάθεια:",
                              "Δισκοκoίλες:",
                              "Κατάγματα:",
                              "Κύφωση:",
                              "Λόρδωση:",
                              "Σκολίωση:",
                              "Οστεοαρθρίτιδα:",
                              "Οστεοπόρωση:",
                              "Παραπληγία:",
                              "Τετραπληγία:",
                              "Σκλήρυνση καταπλάκας:",
                              "Πάρκινσον:",
                              "Σπονδυλολίσθιση:",
                              "Σπονδυλόλυση:",
                              "Τενοντίτιδα:",
                              "Κακώσεις συνδέσμων:",
                              "Κάκωση μηνίσκου:",
                              "Μυϊκή ατροφία - αδυναμία:",
                              "Ρευματοειδής αρθρίτιδα:",
                              "Χονδροπάθεια επιγονατίδος:",
                              "Νευραλγία:",
                              "Ισχιαλγία:",
                              "Εξάρθρημα:",
                              "Θλάσεις μυών:"};
    for (const QString &label : labels)
        EXPECT_TRUE(pages[2].contains(label)) << label.toStdString();
    const QString layoutText = lastText(true);
    EXPECT_TRUE(layoutText.contains(QRegularExpression("Αυχενικό σύνδρομο:\\s+ΝΑΙ")));
    EXPECT_TRUE(layoutText.contains(QRegularExpression("Κύφωση:\\s+ΟΧΙ")));
    EXPECT_TRUE(layoutText.contains(QRegularExpression("Θλάσεις μυών:\\s+ΝΑΙ")));
    EXPECT_TRUE(pages[2].contains("Χειρουργείο γόνατος το 2001."));

    w.PatientId = practice.scalar("SELECT ID FROM STOIXEIA_PELATH WHERE EPWNYMO='Αντωνίου'");
    w.Button4Click();
    EXPECT_EQ(lastPages(), 1);
    EXPECT_TRUE(lastText().contains("Αντωνίου"));
}

TEST_F(LayoutTest, HistoryLongerThanAPageIsCarriedOver)
{
    practice.exec("UPDATE STOIXEIA_PELATH SET ISTORIKO='" + longText(90)
                  + "' WHERE EPWNYMO='Αντωνίου'");
    PatientPrintoutsWindow w;
    w.ListFilter = "ORDER BY EPWNYMO ASC";
    w.Button5Click();
    EXPECT_GE(lastPages(), 2);
    QString text = lastText();
    text.replace('\n', ' ');
    expectInOrder(text,
                  {"Ιστορικό ασθενών", "Αντωνίου Μαρία", "Παράγραφος 1:", "Σελίδα 1 από",
                   "Παράγραφος 45:", "Παράγραφος 90:", "Ζαχαρίου Ελένη",
                   "(χωρίς καταχωρημένο ιστορικό)", "Παπαδόπουλος Γιώργος",
                   "Χειρουργείο γόνατος το 2001."});
}

TEST_F(LayoutTest, Notes)
{
    NotesPrintingWindow w;
    w.Button1Click();
    expectInOrder(lastText(),
                  {"Σημειώσεις", "Ασφάλιση", "Ανανέωση τον Μάρτιο.", "Προμήθειες",
                   "Γάντια και κρέμες."});
    practice.exec("UPDATE SHMEIWSEIS SET PERIGRAFH='" + longText(100)
                  + "' WHERE TITLOS='Προμήθειες'");
    w.NoteId = practice.scalar("SELECT ID FROM SHMEIWSEIS WHERE TITLOS='Προμήθειες'");
    w.Button2Click();
    EXPECT_GE(lastPages(), 2);
    QString text = lastText();
    text.replace('\n', ' ');
    EXPECT_FALSE(text.contains("Ασφάλιση"));
    expectInOrder(text, {"Προμήθειες", "Παράγραφος 1:", "Παράγραφος 100: πόνος στη μέση"});
}

TEST_F(LayoutTest, PrescriptionAndCertificateCarryThePracticeDetails)
{
    PrescriptionPrinting forms;
    // All seven free lines filled: the form still fits its one page.
    practice.exec(
        "UPDATE INFORMATION SET EXTRA2='Β', EXTRA4='Δ', EXTRA5='Ε', EXTRA6='Ζ', EXTRA7='Η'");
    forms.PrintPrescription();
    EXPECT_EQ(lastPages(), 1);
    const QString text = lastText();
    expectInOrder(text,
                  {"Φυσικοθεραπευτήριο Νίκου Δημητρίου", "Αγίου Νικολάου 5", "Λευκωσία 1010",
                   "Τηλ.: 22123456", "Πτυχιούχος φυσικοθεραπευτής", "Δευτέρα - Παρασκευή",
                   "ΙΑΤΡΙΚΗ ΣΥΝΤΑΓΗ", "Rp/"});
    for (const char *detail : {"Fax: 22123457", "Α.Φ.Μ.: 123456789", "Αρ. Φ.Π.Α.: CY10203040",
                               "info@physio.example", "www.physio.example"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(detail))) << detail;
    forms.PrintSickLeaveCertificate();
    EXPECT_EQ(lastPages(), 1);
    expectInOrder(lastText(),
                  {"Φυσικοθεραπευτήριο Νίκου Δημητρίου", "ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΑΣΘΕΝΕΙΑΣ",
                   "αναρρωτική άδεια"});
    EXPECT_EQ(output.runs().size(), 2);
}

TEST_F(LayoutTest, FormsStillPrintWithNoPracticeDetails)
{
    practice.exec("DELETE FROM INFORMATION");
    PrescriptionPrinting forms;
    forms.PrintPrescription();
    forms.PrintSickLeaveCertificate();
    EXPECT_TRUE(messages.shown().isEmpty());
    ASSERT_EQ(output.runs().size(), 2);
    const QString prescription = pdfText(output.runs()[0].pdfPath);
    EXPECT_TRUE(prescription.contains("ΙΑΤΡΙΚΗ ΣΥΝΤΑΓΗ"));
    EXPECT_FALSE(prescription.contains("Τηλ.:")) << "labels of empty details are left out";
    EXPECT_TRUE(lastText().contains("ΠΙΣΤΟΠΟΙΗΤΙΚΟ ΑΣΘΕΝΕΙΑΣ"));
}

namespace {
// The receipt printing component's data, as the catalogue gives it.
void runReceipt(const QString &layout, int receiptNo)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query receipt(c);
    receipt.setSql("SELECT AR_APODEIKSHS, HMEROMHNIA, ONOMA, EPWNYMO, PARALHPTHS, "
                   "Format(POSO,'0.00') AS POSO, TAMEIO, Format(SYNOLIKO_POSO,'0.00') as "
                   "SYNOLIKO_POSO, Format(VAT,'0.00') as VAT, PERIGRAFH FROM APODEIKSEIS "
                   " WHERE AR_APODEIKSHS="
                   + QString::number(receiptNo));
    Table information(c), vat(c);
    information.setTableName("INFORMATION");
    vat.setTableName("SYNTELESTHS_VAT");
    information.open();
    vat.open();
    Query ebooks(c); // a receipt never sent to the e-books
    ebooks.setSql("SELECT NULL AS MARK, NULL AS UID, NULL AS QR_URL, NULL AS ANAMONH FROM "
                  "LAST_APODEIKSH WHERE 1=0");
    ReportProject report;
    report.addConnection("RvDataSetConnectionMYDATA", &ebooks);
    report.addConnection("RvDataSetConnection69", &receipt); // left closed: the engine opens it
    report.addConnection("RvDataSetConnection179INFORMAAP", &information);
    report.addConnection("RvDataSetConnectionVATRATIO", &vat);
    report.setProjectFile(Program::AppDir + layout);
    report.execute();
    EXPECT_FALSE(receipt.isOpen());
}
} // namespace

TEST_F(LayoutTest, ReceiptWithVat)
{
    // All seven free lines filled: the receipt still fits its one page.
    practice.exec(
        "UPDATE INFORMATION SET EXTRA2='Β', EXTRA4='Δ', EXTRA5='Ε', EXTRA6='Ζ', EXTRA7='Η'");
    runReceipt("\\APODEIKSEISVAT.RAV", 100);
    EXPECT_EQ(lastPages(), 1);
    const QString text = lastText(true);
    const QString today = QString("%1/%2/%3")
                              .arg(QDate::currentDate().day())
                              .arg(QDate::currentDate().month())
                              .arg(QDate::currentDate().year());
    expectInOrder(text,
                  {"Φυσικοθεραπευτήριο Νίκου Δημητρίου", "ΑΠΟΔΕΙΞΗ ΠΑΡΟΧΗΣ ΥΠΗΡΕΣΙΩΝ",
                   "Αριθμός:", "Α.Φ.Μ.: 123456789", "Λήπτης", "Σύνολο (EUR):"});
    EXPECT_TRUE(text.contains("Αρ. Φ.Π.Α.: CY10203040"));
    EXPECT_TRUE(text.contains(QRegularExpression("Αριθμός:\\s+100")));
    EXPECT_TRUE(text.contains(QRegularExpression("Ημερομηνία:\\s+" + today)));
    EXPECT_TRUE(
        text.contains(QRegularExpression("Λήπτης \\(πληρωτής\\):\\s+Γιώργος Παπαδόπουλος")));
    EXPECT_TRUE(text.contains(QRegularExpression("Φυσικοθεραπεία\\s+40.00")));
    EXPECT_TRUE(text.contains(QRegularExpression("Φ.Π.Α. 15 %:\\s+6.00")));
    EXPECT_TRUE(text.contains(QRegularExpression("Σύνολο \\(EUR\\):\\s+46.00")));
}

TEST_F(LayoutTest, ReceiptWithoutVatAndTheEmptyReceiptOfThePreview)
{
    runReceipt("\\APODEIKSEIS.RAV", 100);
    QString text = lastText(true);
    EXPECT_TRUE(text.contains(QRegularExpression("Σύνολο \\(EUR\\):\\s+46.00")));
    EXPECT_FALSE(text.contains("Φ.Π.Α. 15 %"));
    runReceipt("\\APODEIKSEIS.RAV", 0);
    text = lastText(true);
    EXPECT_TRUE(text.contains("Φυσικοθεραπευτήριο Νίκου Δημητρίου"));
    EXPECT_FALSE(text.contains("Γιώργος"));
}

namespace {
void runExpenses(const QString &layout, const QString &rowsName, const QString &rowsSql,
                 const QString &totalsName, const QString &totalsSql)
{
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query rows(c), totals(c);
    rows.setSql(rowsSql);
    rows.open();
    totals.setSql(totalsSql);
    totals.open();
    ReportProject report;
    report.addConnection(rowsName, &rows);
    report.addConnection(totalsName, &totals);
    report.setProjectFile(Program::AppDir + layout);
    report.execute();
}
} // namespace

TEST_F(LayoutTest, ExpensesOfAPeriod)
{
    runExpenses("\\EKSODA1.RAV", "RvDataSetConnection3",
                "SELECT Format(EKSODA.HMEROMHNIA,\"dd/mm/yyyy\") AS HMEROMHNIA, "
                "Format(EKSODA.POSO,'0.00') AS AKSIA, Format(EKSODA.VAT,'0.00') AS VAT, "
                "Format((EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO, EKSODA.PERIGRAFH FROM EKSODA "
                "WHERE EKSODA.HMEROMHNIA Between #3/1/2008# AND #3/31/2008# ORDER BY "
                "EKSODA.HMEROMHNIA ASC",
                "RvDataSetConnection4",
                "SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA, Format(SUM(EKSODA.VAT),'0.00') "
                "AS VAT, Format(SUM((EKSODA.POSO+EKSODA.VAT)),'0.00') AS SYNOLO FROM EKSODA WHERE "
                "EKSODA.HMEROMHNIA Between #3/1/2008# AND #3/31/2008#");
    const QString text = lastText(true);
    EXPECT_TRUE(
        text.contains(QRegularExpression("5/3/2008\\s+Ενοίκιο\\s+100.00\\s+19.00\\s+119.00")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("20/3/2008\\s+Ρεύμα\\s+40.50\\s+7.70\\s+48.20")));
    EXPECT_TRUE(text.contains(QRegularExpression("Σύνολα:\\s+140.50\\s+26.70\\s+167.20")));
    EXPECT_FALSE(text.contains("Γραφική ύλη"));
}

TEST_F(LayoutTest, ExpensesByMonth)
{
    runExpenses("\\EKSODA2.RAV", "RvDataSetConnection5",
                "SELECT MONTH(EKSODA.HMEROMHNIA) AS [MONTH], YEAR(EKSODA.HMEROMHNIA) AS [YEAR], "
                "Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,Format(SUM(EKSODA.VAT),'0.00') AS VAT, "
                "Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM EKSODA WHERE "
                "YEAR(EKSODA.HMEROMHNIA) BETWEEN 2007 AND 2008 GROUP BY MONTH(EKSODA.HMEROMHNIA), "
                "YEAR(EKSODA.HMEROMHNIA)  ORDER BY YEAR(EKSODA.HMEROMHNIA), "
                "MONTH(EKSODA.HMEROMHNIA) ASC",
                "RvDataSetConnection6",
                "SELECT Format(SUM(EKSODA.POSO),'0.00') AS AKSIA,Format(SUM(EKSODA.VAT),'0.00') AS "
                "VAT, Format(SUM(EKSODA.POSO+EKSODA.VAT),'0.00') AS SYNOLO FROM EKSODA WHERE "
                "YEAR(EKSODA.HMEROMHNIA) BETWEEN 2007 AND 2008");
    const QString text = lastText(true);
    EXPECT_TRUE(text.contains(QRegularExpression("Μάρτιος\\s+2008\\s+140.50\\s+26.70\\s+167.20")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Απρίλιος\\s+2008\\s+12.00\\s+0.00\\s+12.00")));
    EXPECT_TRUE(text.contains(QRegularExpression("Σύνολα:\\s+152.50\\s+26.70\\s+179.20")));
}
