// The printing windows: the SELECT text of every button, word for word; the state a run leaves
// behind; missing layouts; and the way other areas reach the windows.
#include "connection.h"
#include "directpdfoutput.h"
#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "prescriptionprinting.h"
#include "printingtestsupport.h"
#include "printstatuswindow.h"
#include "program.h"
#include "recordset.h"
#include "reportoutputdialog.h"
#include "reportpreview.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>

using namespace PrintingTest;
using TestSupport::ModalDriver;

namespace {

const QString kSurnameFilter = "WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC";
const QString kDateFilter
    = " WHERE HMEROMHNIA_GENNHSEWS BETWEEN #1/1/1950# AND #12/31/1960# ORDER BY EPWNYMO ASC";

using WindowsTest = PrintingFixture;

} // namespace

TEST(PatientPrintoutsTexts, EveryButtonComposesItsSelectWordForWord)
{
    PatientPrintoutsWindow w;
    w.PatientId = "7";
    w.ListFilter = kSurnameFilter;
    EXPECT_EQ(
        w.detailsAllSql(),
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
    EXPECT_EQ(w.healthAllSql(),
              "SELECT * FROM STOIXEIA_PELATH  WHERE HMEROMHNIA_GENNHSEWS "
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
    const QStringList groups {"Στοιχεία του ασθενούς", "Δελτίο υγείας του ασθενούς",
                              "Ιστορικό του ασθενούς", "Λίστα των ασθενών"};
    const QStringList buttons {"Εκτύπωση όλων",
                               "Εκτύπωση του επιλεγμένου",
                               "Εκτύπωση όλων",
                               "Εκτύπωση του επιλεγμένου",
                               "Εκτύπωση όλων",
                               "Εκτύπωση του επιλεγμένου",
                               "Εκτύπωση της λίστας των ασθενών"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.findChild<QGroupBox *>(QString("GroupBox%1").arg(i + 1))->title(), groups[i]);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(w.findChild<QPushButton *>(QString("Button%1").arg(i + 1))->text(), buttons[i]);
    EXPECT_EQ(w.findChild<QPushButton *>("ExitButton")->text(), "Έξοδος");
    // Groups stand in two columns: details over health record, history over the list.
    w.show();
    auto pos
        = [&](int i) { return w.findChild<QGroupBox *>(QString("GroupBox%1").arg(i))->geometry(); };
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
    const QStringList layouts {"STOIXEIA", "STOIXEIA", "DYGEIAS", "DYGEIAS",
                               "ISTORIKO", "ISTORIKO", "LIST"};
    for (int i = 0; i < 7; ++i) {
        w.findChild<QPushButton *>(QString("Button%1").arg(i + 1))->click();
        ASSERT_EQ(output.runs().size(), i + 1) << messages.last().toStdString();
        EXPECT_EQ(output.runs().last().projectFile, Program::AppDir + "\\" + layouts[i] + ".RAV");
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
    // The full name with the platform's own separators, never "/x/practice\LIST.RAV".
    const QString expected = "The following reporting project does not exist:\n\""
        + QDir::toNativeSeparators(Program::AppDir + "/LIST.RAV") + "\"";
    EXPECT_FALSE(expected.contains(QDir::separator() == '/' ? '\\' : '/'));
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
    EXPECT_EQ(messages.last(),
              "The following reporting project does not exist:\n\""
                  + QDir::toNativeSeparators(Program::AppDir + "/NOTES.RAV") + "\"");
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
    EXPECT_EQ(messages.last(),
              "The following reporting project does not exist:\n\""
                  + QDir::toNativeSeparators(Program::AppDir + "/ADEIA.RAV") + "\"");
    EXPECT_EQ(output.runs().size(), 1);
}

// Only a whole number crosses into the SQL of a printout: any other ID is refused with a
// message and nothing runs (no statement, no report); a number with blanks around it is the
// number.
TEST_F(WindowsTest, AnIdThatIsNotAWholeNumberIsRefusedAndNothingRuns)
{
    const QString note = practice.scalar("SELECT ID FROM SHMEIWSEIS WHERE TITLOS='Προμήθειες'");
    const QString patient = patientId("Ζαχαρίου");
    const int notes = practice.count("SELECT * FROM SHMEIWSEIS");
    NotesPrintingWindow notesWindow;
    PatientPrintoutsWindow printouts;
    const QList<std::function<void()>> selectedButtons {[&] { notesWindow.Button2Click(); },
                                                        [&] { printouts.Button2Click(); },
                                                        [&] { printouts.Button4Click(); },
                                                        [&] { printouts.Button6Click(); }};
    const QStringList refused {"",    "  ",       "abc",
                               "7.5", "7 OR 1=1", note + ";DELETE FROM SHMEIWSEIS",
                               "1e3", "0x10"};
    for (const QString &id : refused) {
        notesWindow.NoteId = id;
        printouts.PatientId = id;
        for (const auto &press : selectedButtons) {
            messages.clear();
            press();
            ASSERT_EQ(messages.shown().size(), 1) << id.toStdString();
            EXPECT_EQ(messages.shown()[0].kind, "error");
            EXPECT_EQ(messages.last(), "'" + id + "' is not a valid ID.");
        }
    }
    EXPECT_TRUE(output.runs().isEmpty());
    EXPECT_EQ(practice.count("SELECT * FROM SHMEIWSEIS"), notes);
    EXPECT_FALSE(notesWindow.connection().isOpen());
    EXPECT_FALSE(printouts.connection().isOpen());

    notesWindow.NoteId = " " + note + " ";
    EXPECT_EQ(notesWindow.selectedSql(),
              "SELECT TITLOS,PERIGRAFH FROM SHMEIWSEIS WHERE ID=" + note);
    printouts.PatientId = patient + " ";
    EXPECT_EQ(printouts.healthSelectedSql(), "SELECT * FROM STOIXEIA_PELATH  WHERE ID=" + patient);
    messages.clear();
    notesWindow.Button2Click();
    printouts.Button4Click();
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join('\n').toStdString();
    ASSERT_EQ(output.runs().size(), 2);
    EXPECT_TRUE(pdfText(output.runs()[1].pdfPath).contains("Ζαχαρίου"));
}

// A PDF that cannot be written is an error the person sees, not a finished run: straight to a
// file in a folder that does not exist, and through the output dialogue's file choice.
TEST_F(WindowsTest, APdfThatCannotBeWrittenIsReportedAsAnError)
{
    const QString missing = practice.dir() + "/no such folder";
    NotesPrintingWindow w;
    {
        DirectPdfOutput nowhere(missing);
        w.Button1Click();
        EXPECT_TRUE(nowhere.runs().isEmpty());
    }
    // Through the dialogue, which the person answers with a file in a folder that is not there.
    ReportOutput::install({});
    ModalDriver driver([&](QDialog *dialog) {
        auto *options = qobject_cast<ReportOutputDialog *>(dialog);
        EXPECT_NE(options, nullptr);
        if (!options)
            return int(QDialog::Rejected);
        options->setDestination(ReportOutputDialog::Destination::File);
        options->setFileName(missing + "/σημειώσεις.pdf");
        return int(QDialog::Accepted);
    });
    w.Button1Click();
    ASSERT_EQ(messages.shown().size(), 2);
    const QStringList files {missing + "/NOTES-1.pdf", missing + "/σημειώσεις.pdf"};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(messages.shown()[i].kind, "error");
        EXPECT_EQ(messages.shown()[i].text,
                  "The file \"" + QDir::toNativeSeparators(files[i]) + "\" cannot be written.");
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
}
