// The printing windows: the SELECT text of every button, word for word; the state a run leaves
// behind; missing layouts; and the way other areas reach the windows.
#include "connection.h"
#include "directpdfoutput.h"
#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "prescriptionprinting.h"
#include "printingtestsupport.h"
#include "printstatuswindow.h"
#include "reportoutputdialog.h"
#include "reportpreview.h"
#include "program.h"
#include "recordset.h"
#include "testsupport.h"

#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace PrintingTest;

namespace {

const QString kSurnameFilter = "WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC";
const QString kDateFilter =
    " WHERE HMEROMHNIA_GENNHSEWS BETWEEN #1/1/1950# AND #12/31/1960# ORDER BY EPWNYMO ASC";

using WindowsTest = PrintingFixture;

} // namespace

TEST(PatientPrintoutsTexts, EveryButtonComposesItsSelectWordForWord)
{
    PatientPrintoutsWindow w;
    w.PatientId = "7";
    w.ListFilter = kSurnameFilter;
    EXPECT_EQ(w.detailsAllSql(),
              "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, "
              "DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY "
              "EPWNYMO ASC");
    EXPECT_EQ(w.detailsSelectedSql(),
              "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, "
              "DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH  WHERE ID=7");
    EXPECT_EQ(w.healthAllSql(), "SELECT * FROM STOIXEIA_PELATH " + kSurnameFilter);
    EXPECT_EQ(w.healthSelectedSql(), "SELECT * FROM STOIXEIA_PELATH  WHERE ID=7");
    EXPECT_EQ(w.historyAllSql(),
              "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, "
              "DIEYTHYNSH, EPAGGELMA, TAMEIO, ISTORIKO FROM STOIXEIA_PELATH WHERE EPWNYMO "
              "LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC");
    EXPECT_EQ(w.historySelectedSql(),
              "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, "
              "DIEYTHYNSH, EPAGGELMA, TAMEIO, ISTORIKO FROM STOIXEIA_PELATH  WHERE ID=7");
    // After a date search the health record group runs two blanks before WHERE.
    w.ListFilter = kDateFilter;
    EXPECT_EQ(w.healthAllSql(), "SELECT * FROM STOIXEIA_PELATH  WHERE HMEROMHNIA_GENNHSEWS "
                                "BETWEEN #1/1/1950# AND #12/31/1960# ORDER BY EPWNYMO ASC");
    // After "all patients" the filter is empty: no WHERE, no ORDER BY.
    w.ListFilter.clear();
    EXPECT_EQ(w.detailsAllSql(),
              "SELECT ID, ONOMA, EPWNYMO, FYLO, HMEROMHNIA_GENNHSEWS, THLEFWNO_1, THLEFWNO_2, "
              "DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ");

    NotesPrintingWindow notes;
    notes.NoteId = "3";
    EXPECT_EQ(notes.selectedSql(), "SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=3");
}

TEST(PatientPrintoutsTexts, WindowShowsTheFourGroupsAndTheirButtons)
{
    PatientPrintoutsWindow w;
    EXPECT_EQ(w.windowTitle(), "Εκτύπωση");
    const QStringList groups{"Στοιχεία του ασθενούς", "Δελτίο υγείας του ασθενούς",
                             "Ιστορικό του ασθενούς", "Λίστα των ασθενών"};
    const QStringList buttons{"Εκτύπωση όλων", "Εκτύπωση του επιλεγμένου", "Εκτύπωση όλων",
                              "Εκτύπωση του επιλεγμένου", "Εκτύπωση όλων",
                              "Εκτύπωση του επιλεγμένου", "Εκτύπωση της λίστας των ασθενών"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.findChild<QGroupBox *>(QString("GroupBox%1").arg(i + 1))->title(), groups[i]);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(w.findChild<QPushButton *>(QString("Button%1").arg(i + 1))->text(), buttons[i]);
    EXPECT_EQ(w.findChild<QPushButton *>("ExitButton")->text(), "Έξοδος");
    // Groups stand in two columns: details over health record, history over the list.
    w.show();
    auto pos = [&](int i) { return w.findChild<QGroupBox *>(QString("GroupBox%1").arg(i))->geometry(); };
    EXPECT_LT(pos(1).top(), pos(2).top());
    EXPECT_LT(pos(1).left(), pos(3).left());
    EXPECT_LT(pos(3).top(), pos(4).top());
    w.hide();
}

TEST_F(WindowsTest, EachButtonRunsItsLayoutAndLeavesTheQueryEmptyAndTheConnectionClosed)
{
    PatientPrintoutsWindow w;
    w.PatientId = patientId("Ζαχαρίου");
    w.ListFilter = "ORDER BY EPWNYMO ASC";
    w.ListSql = "SELECT ID,ONOMA,EPWNYMO,FYLO,HMEROMHNIA_GENNHSEWS,THLEFWNO_1,THLEFWNO_2,"
                "DIEYTHYNSH, EPAGGELMA, TAMEIO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC";
    const QStringList layouts{"STOIXEIA", "STOIXEIA", "DYGEIAS", "DYGEIAS", "ISTORIKO",
                              "ISTORIKO", "LIST"};
    for (int i = 0; i < 7; ++i) {
        w.findChild<QPushButton *>(QString("Button%1").arg(i + 1))->click();
        ASSERT_EQ(output.runs().size(), i + 1) << messages.last().toStdString();
        EXPECT_EQ(output.runs().last().projectFile,
                  Program::AppDir + "\\" + layouts[i] + ".RAV");
        EXPECT_TRUE(w.query().sql().isEmpty());
        EXPECT_FALSE(w.query().isOpen());
        EXPECT_FALSE(w.connection().isOpen());
    }
    // "Selected" prints exactly the list's current patient, whatever the list's criteria.
    const QString selected = pdfText(output.runs()[1].pdfPath);
    EXPECT_TRUE(selected.contains("Ζαχαρίου"));
    EXPECT_FALSE(selected.contains("Αντωνίου"));
    EXPECT_FALSE(selected.contains("Παπαδόπουλος"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(WindowsTest, AllAfterASurnameSearchPrintsOnlyTheListsPatients)
{
    PatientPrintoutsWindow w;
    w.ListFilter = kSurnameFilter;
    w.Button1Click();
    const QString text = pdfText(output.runs().last().pdfPath);
    EXPECT_TRUE(text.contains("Παπαδόπουλος"));
    EXPECT_FALSE(text.contains("Αντωνίου"));
}

TEST_F(WindowsTest, AMissingLayoutIsReportedWithItsFullNameOnEveryPress)
{
    removeLayout("LIST.RAV");
    PatientPrintoutsWindow w;
    w.ListSql = "SELECT ID, ONOMA, EPWNYMO FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC";
    const QString expected = "The following reporting project does not exist:\n\""
                             + Program::AppDir + "\\LIST.RAV\"";
    w.Button7Click();
    w.Button7Click();
    ASSERT_EQ(messages.shown().size(), 2);
    for (const auto &shown : messages.shown()) {
        EXPECT_EQ(shown.kind, "error");
        EXPECT_EQ(shown.text, expected);
    }
    EXPECT_TRUE(output.runs().isEmpty());
    // The failed run leaves the query and the connection open until the next run or the close.
    EXPECT_TRUE(w.query().isOpen());
    EXPECT_TRUE(w.connection().isOpen());
    w.Button1Click();
    EXPECT_EQ(output.runs().size(), 1);
    EXPECT_FALSE(w.connection().isOpen());
    w.Button7Click();
    w.done(QDialog::Rejected); // as the exit button, Esc or the close box do
    EXPECT_FALSE(w.query().isOpen());
    EXPECT_FALSE(w.connection().isOpen());
}

TEST_F(WindowsTest, ARefusedSelectIsReportedAndNothingPrints)
{
    PatientPrintoutsWindow w;
    w.ListFilter = "WHERE NOSUCHCOLUMN=1";
    w.Button3Click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, "error");
    EXPECT_TRUE(output.runs().isEmpty());
}

TEST_F(WindowsTest, NotesAllAndSelected)
{
    NotesPrintingWindow w;
    EXPECT_EQ(w.windowTitle(), "Εκτύπωση");
    EXPECT_EQ(w.findChild<QPushButton *>("Button1")->text(), "Εκτύπωση όλων");
    EXPECT_EQ(w.findChild<QPushButton *>("Button2")->text(), "Εκτύπωση του επιλεγμένου");
    EXPECT_EQ(w.findChild<QPushButton *>("ExitButton")->text(), "Έξοδος");
    w.NoteId = practice.scalar("SELECT ID FROM SHMEIWSEIS WHERE TITLOS='Προμήθειες'");
    w.findChild<QPushButton *>("Button2")->click();
    ASSERT_EQ(output.runs().size(), 1);
    EXPECT_EQ(output.runs()[0].projectFile, Program::AppDir + "\\NOTES.RAV");
    const QString text = pdfText(output.runs()[0].pdfPath);
    EXPECT_TRUE(text.contains("Προμήθειες"));
    EXPECT_FALSE(text.contains("Ασφάλιση"));
    EXPECT_TRUE(w.query().sql().isEmpty());
    EXPECT_FALSE(w.connection().isOpen());
    removeLayout("NOTES.RAV");
    w.findChild<QPushButton *>("Button1")->click();
    EXPECT_EQ(messages.last(), "The following reporting project does not exist:\n\""
                                   + Program::AppDir + "\\NOTES.RAV\"");
}

TEST_F(WindowsTest, OnlyTheCertificateFailsWhenItsLayoutIsMissing)
{
    removeLayout("ADEIA.RAV");
    PrescriptionPrinting forms;
    forms.PrintPrescription();
    EXPECT_TRUE(messages.shown().isEmpty());
    ASSERT_EQ(output.runs().size(), 1);
    EXPECT_EQ(output.runs()[0].projectFile, Program::AppDir + "\\SYNTAGOLOGIO.RAV");
    EXPECT_FALSE(forms.information().isOpen());
    EXPECT_FALSE(forms.connection().isOpen());
    forms.PrintSickLeaveCertificate();
    EXPECT_EQ(messages.last(), "The following reporting project does not exist:\n\""
                                   + Program::AppDir + "\\ADEIA.RAV\"");
    EXPECT_EQ(output.runs().size(), 1);
}

// Pictures of the windows for a person to look at: ORVANTA_SHOTS names the folder.
TEST_F(WindowsTest, PicturesForAPerson)
{
    const QString folder = qEnvironmentVariable("ORVANTA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ORVANTA_SHOTS to a folder to save pictures of the windows";
    PatientPrintoutsWindow printouts;
    printouts.show();
    printouts.grab().save(folder + "/TForm22.png");
    NotesPrintingWindow notes;
    notes.show();
    notes.grab().save(folder + "/TForm7.png");
    ReportOutputDialog dialog(12, "Λίστα των ασθενών", true);
    dialog.show();
    dialog.grab().save(folder + "/output-options.png");
    ReportProject report;
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    Query q(c);
    q.setSql("SELECT * FROM STOIXEIA_PELATH ORDER BY EPWNYMO ASC");
    q.open();
    report.addConnection("RvDataSetConnection7", &q);
    report.setProjectFile(Program::AppDir + "\\DYGEIAS.RAV");
    const Report::RenderedReport r = report.render();
    ReportPreview preview(r);
    preview.resize(900, 800);
    preview.show();
    preview.nextPage();
    preview.grab().save(folder + "/preview.png");
    PrintStatusWindow status(5);
    status.setPage(2, 5);
    status.show();
    status.grab().save(folder + "/status.png");
}
