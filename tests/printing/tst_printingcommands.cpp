// The printing area's commands and hooks: how the main window and other areas' windows reach
// the long-lived printing windows. (Kept apart: the command table's names meet the database
// layer's in one translation unit otherwise.)
#include "commands.h"
#include "directpdfoutput.h"
#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "printingtestsupport.h"
#include "program.h"
#include "testsupport.h"
#include "windowhooks.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace PrintingTest;

namespace {
const QString kSurnameFilter = "WHERE EPWNYMO LIKE'ΠΑΠ%' ORDER BY EPWNYMO ASC";

using WindowsTest = PrintingFixture;
} // namespace

TEST_F(WindowsTest, TheAreaCommandsReachTheWindows)
{
    CommandTable table;
    AreaCommands::printing(table);
    ASSERT_TRUE(table.contains(MenuCommand::PrintPrescription));
    ASSERT_TRUE(table.contains(MenuCommand::PrintCertificate));
    ASSERT_TRUE(WindowHooks::openPatientPrintouts);
    ASSERT_TRUE(WindowHooks::openNotesPrinting);

    table[MenuCommand::PrintPrescription](nullptr);
    table[MenuCommand::PrintCertificate](nullptr);
    ASSERT_EQ(output.runs().size(), 2);
    EXPECT_TRUE(output.runs()[1].projectFile.endsWith("\\ADEIA.RAV"));

    // The patient list hands over its inputs; they stay for the next showing.
    PatientPrintoutsWindow *shown = nullptr;
    TestSupport::ModalDriver driver([&](QDialog *d) {
        shown = qobject_cast<PatientPrintoutsWindow *>(d);
        if (shown)
            shown->findChild<QPushButton *>("Button2")->click();
        return int(QDialog::Rejected);
    });
    WindowHooks::openPatientPrintouts(nullptr, patientId("Αντωνίου"), kSurnameFilter, "SELECT 1");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(driver.opened(), QStringList {"Εκτύπωση"});
    EXPECT_EQ(shown->PatientId, patientId("Αντωνίου"));
    EXPECT_EQ(shown->ListFilter, kSurnameFilter);
    EXPECT_EQ(shown->ListSql, "SELECT 1");
    EXPECT_TRUE(pdfText(output.runs().last().pdfPath).contains("Αντωνίου"));
    PatientPrintoutsWindow *again = nullptr;
    driver.setHandler([&](QDialog *d) {
        again = qobject_cast<PatientPrintoutsWindow *>(d);
        return int(QDialog::Rejected);
    });
    WindowHooks::openPatientPrintouts(nullptr, "2", kSurnameFilter, "SELECT 2");
    EXPECT_EQ(again, shown) << "one window for the whole run";

    NotesPrintingWindow *notes = nullptr;
    driver.setHandler([&](QDialog *d) {
        notes = qobject_cast<NotesPrintingWindow *>(d);
        return int(QDialog::Rejected);
    });
    WindowHooks::openNotesPrinting(nullptr, "5");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->NoteId, "5");
    WindowHooks::openPatientPrintouts = nullptr;
    WindowHooks::openNotesPrinting = nullptr;
}
