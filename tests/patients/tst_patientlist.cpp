#include "healthrecordwindow.h"
#include "patientdatawindow.h"
#include "patientfieldsform.h"
#include "patientfixtures.h"
#include "patientlistwindow.h"
#include "patientsql.h"
#include "program.h"
#include "recordgrid.h"
#include "recordnavigator.h"
#include "visitswindow.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace PatientFixtures;

namespace {

class PatientList : public ::testing::Test {
protected:
    ~PatientList() override
    {
        WindowHooks::openPatientPrintouts = nullptr;
        WindowHooks::openReceipt = nullptr;
        WindowHooks::openPatientPayments = nullptr;
        Program::ReceiptNumberingDefined = false;
    }

    void showList(const PatientSql::ListQuery &q)
    {
        list.ListSql = q.sql;
        list.ListFilter = q.filter;
        list.FormShow();
    }
    QStringList column(const QString &field)
    {
        QStringList out;
        const int c = list.records().fieldIndex(field);
        for (int r = 0; r < list.records().rowCount(); ++r)
            out << list.records().text(r, c);
        return out;
    }
    // The five controls that need a patient.
    QList<bool> patientControlsShown() const
    {
        return {!list.sortByGroup()->isHidden(), !list.sortKindGroup()->isHidden(),
                !list.actionsGroup()->isHidden(), list.optionsMenu()->menuAction()->isVisible(),
                !list.recordBar()->isHidden()};
    }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    TestSupport::ModalDriver driver;
    PatientListWindow list;
};

const QList<bool> kAllShown {true, true, true, true, true};
const QList<bool> kAllHidden {false, false, false, false, false};

} // namespace

TEST_F(PatientList, GridShowsTheNineColumnsWithTheirTitlesWidthsAndAlignments)
{
    addPatient(practice, {"Γιώργος", "Παπαδόπουλος", "5/3/1955", "ΑΡΡΕΝ", "ΙΚΑ"});
    showList(PatientSql::allPatients());
    EXPECT_EQ(list.windowTitle(), QStringLiteral("Βασικά στοιχεία των ασθενών"));
    const auto &cols = list.grid()->recordModel()->columns();
    QStringList titles;
    QList<int> widths;
    for (const GridColumn &c : cols) {
        titles << c.title;
        widths << c.width;
    }
    EXPECT_EQ(titles,
              (QStringList {"Όνομα", "Επώνυμο", "Φύλο", "Ημερ.Γενν.", "Διεύθυνση", "Τηλέφωνο 1",
                            "Τηλέφωνο 2", "Επάγγελμα", "Ταμείο"}));
    EXPECT_EQ(widths, (QList<int> {120, 120, 43, 75, 180, 85, 85, 157, 74}));
    EXPECT_EQ(cols[2].alignment, Qt::AlignCenter);
    EXPECT_EQ(cols[3].alignment, Qt::AlignCenter);
    EXPECT_EQ(cols[8].alignment, Qt::AlignCenter);
    EXPECT_TRUE(cols[0].alignment & Qt::AlignLeft);
    const QModelIndex birth = list.grid()->model()->index(0, 3);
    EXPECT_EQ(birth.data().toString(), QStringLiteral("5/3/1955"));
    EXPECT_EQ(list.countLine()->text(), QStringLiteral("Βρέθηκαν 1 ασθενείς"));
    EXPECT_EQ(patientControlsShown(), kAllShown);
}

TEST_F(PatientList, ActionsAsButtonsAndMenuItemsInOrder)
{
    QStringList items;
    for (QAction *a : list.optionsMenu()->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items,
              (QStringList {"Στοιχεία του &ασθενούς", "Δελτίο &υγείας", "Επισκέ&ψεις", "Ραντε&βού", "-",
                            "Ε&κτυπώσεις", "-", "Έκδοση απόδειξ&ης", "Εισπράξεις από το&ν ασθενή",
                            "-", "Εξαγωγή στοιχείων ασθενούς…", "-", "Έ&ξοδος"}));
    for (const char *name : {"buttonPatientData", "buttonHealthRecord", "buttonVisits",
                             "buttonPrintouts", "buttonReceipt", "buttonPayments", "buttonExport",
                             "buttonAppointments"})
        EXPECT_EQ(list.actionButton(QLatin1String(name))->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(PatientList, NobodyFoundHidesWhatNeedsAPatient)
{
    addPatient(practice, {"Γιώργος", "Παπαδόπουλος"});
    showList(PatientSql::bySurname(QStringLiteral("ΩΩ")));
    EXPECT_EQ(list.countLine()->text(), QStringLiteral("Βρέθηκαν 0 ασθενείς"));
    EXPECT_EQ(patientControlsShown(), kAllHidden);
    EXPECT_FALSE(list.grid()->isHidden());
    EXPECT_FALSE(list.countLine()->isHidden());
    EXPECT_FALSE(list.findChild<QPushButton *>("buttonExit")->isHidden());
    // Nothing opens without a patient, whatever calls the action.
    list.patientDataClick();
    list.healthRecordClick();
    list.visitsClick();
    EXPECT_TRUE(driver.opened().isEmpty());

    // The next showing with patients brings them back.
    showList(PatientSql::allPatients());
    EXPECT_EQ(patientControlsShown(), kAllShown);
}

TEST_F(PatientList, DeletingTheOnlyPatientAsksAndKeepsTheOtherTables)
{
    const QString id = addPatient(practice, {"Γιώργος", "Παπαδόπουλος"});
    addVisit(practice, id, "1/2/2020", "Πόνος");
    showList(PatientSql::bySurname(QStringLiteral("ΠΑΠ")));

    messages.queueAnswer(false);
    list.deleteClick();
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 1);
    EXPECT_EQ(list.countLine()->text(), QStringLiteral("Βρέθηκαν 1 ασθενείς"));

    list.recordBar()->button(RecordNavigator::Delete)->click();
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[1].kind, QStringLiteral("okcancel"));
    EXPECT_EQ(messages.shown()[1].text, QStringLiteral("Delete record?"));
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 0);
    EXPECT_EQ(practice.count("SELECT * FROM EPISKEPSEIS WHERE ID=" + id), 1);
    EXPECT_EQ(list.countLine()->text(), QStringLiteral("Βρέθηκαν 0 ασθενείς"));
    EXPECT_EQ(patientControlsShown(), kAllHidden);
}

TEST_F(PatientList, CtrlDeleteInTheGridDeletesAfterTheSameQuestion)
{
    addPatient(practice, {"Α", "Άλφα"});
    addPatient(practice, {"Β", "Βήτα"});
    showList(PatientSql::allPatients());
    list.records().setCurrentRow(1);
    QTest::keyClick(list.grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(messages.texts(), QStringList {QStringLiteral("Delete record?")});
    EXPECT_EQ(column("EPWNYMO"), QStringList {QStringLiteral("Άλφα")});
    EXPECT_EQ(list.countLine()->text(), QStringLiteral("Βρέθηκαν 1 ασθενείς"));
}

TEST_F(PatientList, SortsInMemoryInGreekOrderAndDatesByTime)
{
    addPatient(practice, {"1", "Ωραιόπουλος", "2/1/1980", "ΑΡΡΕΝ", "ΟΓΑ"});
    addPatient(practice, {"2", "Βήτας", "10/12/1950", "ΘΗΛΥ", "ΙΚΑ"});
    addPatient(practice, {"3", "αγγελής", "1/1/2000", "ΑΡΡΕΝ", "ΤΕΒΕ"});
    addPatient(practice, {"4", "Άλφας", "", "", ""});
    showList(PatientSql::allPatients());
    // Case and accents do not change a letter's place in the alphabet.
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"αγγελής", "Άλφας", "Βήτας", "Ωραιόπουλος"}));

    list.sortOption("HMEROMHNIA_GENNHSEWS")->click();
    EXPECT_EQ(list.records().sortText(), QStringLiteral("HMEROMHNIA_GENNHSEWS ASC"));
    EXPECT_EQ(column("HMEROMHNIA_GENNHSEWS"),
              (QStringList {"", "10/12/1950", "2/1/1980", "1/1/2000"}));
    list.descendingOption()->click();
    EXPECT_EQ(column("HMEROMHNIA_GENNHSEWS"),
              (QStringList {"1/1/2000", "2/1/1980", "10/12/1950", ""}));
    list.sortOption("TAMEIO")->click();
    EXPECT_EQ(list.SortColumn + list.SortDirection, QStringLiteral("TAMEIO DESC"));
    EXPECT_EQ(column("TAMEIO"), (QStringList {"ΤΕΒΕ", "ΟΓΑ", "ΙΚΑ", ""}));
    list.sortOption("EPWNYMO")->click();
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"Ωραιόπουλος", "Βήτας", "Άλφας", "αγγελής"}));
    list.ascendingOption()->click();
    list.sortOption("FYLO")->click();
    EXPECT_EQ(column("FYLO"), (QStringList {"", "ΑΡΡΕΝ", "ΑΡΡΕΝ", "ΘΗΛΥ"}));
    list.sortOption("EPAGGELMA")->click();
    EXPECT_EQ(list.records().sortText(), QStringLiteral("EPAGGELMA ASC"));
}

TEST_F(PatientList, TheNextShowingStartsAgainFromSurnameAscending)
{
    addPatient(practice, {"1", "Άλφας", "", "", "ΙΚΑ"});
    addPatient(practice, {"2", "Βήτας", "", "", "ΟΓΑ"});
    showList(PatientSql::allPatients());
    list.sortOption("TAMEIO")->click();
    list.descendingOption()->click();
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"Βήτας", "Άλφας"}));
    list.done(0);

    showList(PatientSql::allPatients());
    EXPECT_TRUE(list.sortOption("EPWNYMO")->isChecked());
    EXPECT_TRUE(list.ascendingOption()->isChecked());
    EXPECT_EQ(list.SortColumn + list.SortDirection, QStringLiteral("EPWNYMO ASC"));
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"Άλφας", "Βήτας"}));

    // A SELECT that does not order by surname itself is put in that order in memory.
    list.ListSql = "SELECT * FROM STOIXEIA_PELATH ORDER BY TAMEIO DESC";
    list.FormShow();
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"Άλφας", "Βήτας"}));
}

TEST_F(PatientList, ReadsAgainAfterThePatientDataWindowCloses)
{
    addPatient(practice, {"Γιώργος", "Παπαδόπουλος"});
    driver.setHandler([](QDialog *d) {
        auto *w = qobject_cast<PatientDataWindow *>(d);
        if (!w)
            return 0;
        w->FormShow();
        retype(w->form()->edit("EPWNYMO"), QStringLiteral("Νικολάου"));
        w->recordBar()->button(RecordNavigator::Post)->click();
        w->done(0);
        return 0;
    });
    showList(PatientSql::bySurname(QStringLiteral("ΠΑΠ")));
    list.actionButton("buttonPatientData")->click();
    EXPECT_EQ(driver.opened(), QStringList {QStringLiteral("Στοιχεία του ασθενούς")});
    EXPECT_EQ(practice.scalar("SELECT EPWNYMO FROM STOIXEIA_PELATH"), QStringLiteral("Νικολάου"));
    EXPECT_EQ(list.countLine()->text(), QStringLiteral("Βρέθηκαν 0 ασθενείς"));
    EXPECT_EQ(patientControlsShown(), kAllHidden);
}

TEST_F(PatientList, AReReadKeepsTheMarksButComesBackInSurnameOrder)
{
    addPatient(practice, {"1", "Άλφας", "", "", "ΟΓΑ"});
    addPatient(practice, {"2", "Βήτας", "", "", "ΙΚΑ"});
    showList(PatientSql::allPatients());
    list.sortOption("TAMEIO")->click();
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"Βήτας", "Άλφας"}));
    driver.setHandler([](QDialog *d) {
        static_cast<Window *>(d)->done(0);
        return 0;
    });
    list.menuItem("itemPatientData")->trigger();
    EXPECT_EQ(column("EPWNYMO"), (QStringList {"Άλφας", "Βήτας"}));
    EXPECT_EQ(list.records().currentRow(), 0);
    EXPECT_TRUE(list.sortOption("TAMEIO")->isChecked());
}

TEST_F(PatientList, APatientWithAnApostropheCanBeListedEditedAndDeleted)
{
    addPatient(practice, {"Σων", "Ο'Κόνορ"});
    showList(PatientSql::allPatients());
    ASSERT_EQ(column("EPWNYMO"), QStringList {QStringLiteral("Ο'Κόνορ")});
    driver.setHandler([](QDialog *d) {
        auto *w = qobject_cast<PatientDataWindow *>(d);
        w->FormShow();
        retype(w->form()->edit("ONOMA"), QStringLiteral("Σ'ων"));
        w->recordBar()->press(RecordNavigator::Post);
        w->done(0);
        return 0;
    });
    list.patientDataClick();
    EXPECT_EQ(column("ONOMA"), QStringList {QStringLiteral("Σ'ων")});
    list.deleteClick();
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 0);
    for (const auto &s : messages.shown())
        EXPECT_NE(s.kind, QStringLiteral("error")) << s.text.toStdString();
}

TEST_F(PatientList, OpensThePatientWindowsWithTheCurrentRowsTrimmedTexts)
{
    addPatient(practice, {"  Μαρία ", " Ιωάννου  ", "5/3/1955"});
    const QString id = practice.scalar("SELECT ID FROM STOIXEIA_PELATH");
    QStringList inputs;
    driver.setHandler([&](QDialog *d) {
        if (auto *h = qobject_cast<HealthRecordWindow *>(d))
            inputs << h->PatientId << h->PatientFirstName << h->PatientSurname
                   << h->PatientBirthDate;
        if (auto *v = qobject_cast<VisitsWindow *>(d))
            inputs << v->PatientId << v->PatientFirstName << v->PatientSurname;
        return 0;
    });
    showList(PatientSql::allPatients());
    list.actionButton("buttonHealthRecord")->click();
    list.menuItem("itemVisits")->trigger();
    EXPECT_EQ(driver.opened(), (QStringList {"Δελτίο υγείας", "Επισκέψεις"}));
    EXPECT_EQ(inputs, (QStringList {id, "Μαρία", "Ιωάννου", "5/3/1955", id, "Μαρία", "Ιωάννου"}));
}

TEST_F(PatientList, OtherAreasActionsWaitForTheirHooksAndReceiptsForTheNumbering)
{
    addPatient(practice, {"Μαρία", "Ιωάννου"});
    Program::ReceiptNumberingDefined = true;
    showList(PatientSql::bySurname(QStringLiteral("Ιω")));
    for (const char *name : {"Printouts", "Receipt", "Payments"}) {
        EXPECT_FALSE(list.actionButton(QStringLiteral("button") + name)->isEnabled()) << name;
        EXPECT_FALSE(list.menuItem(QStringLiteral("item") + name)->isEnabled()) << name;
    }

    QStringList calls;
    WindowHooks::openPatientPrintouts = [&](QWidget *, const QString &id, const QString &filter,
                                            const QString &sql) { calls << id << filter << sql; };
    WindowHooks::openReceipt
        = [&](QWidget *, const PatientContext &p) { calls << p.id << p.firstName << p.surname; };
    WindowHooks::openPatientPayments
        = [&](QWidget *, const PatientContext &p) { calls << p.surname; };
    Program::ReceiptNumberingDefined = false;
    showList(PatientSql::bySurname(QStringLiteral("Ιω")));
    EXPECT_TRUE(list.actionButton("buttonPrintouts")->isEnabled());
    EXPECT_TRUE(list.actionButton("buttonPayments")->isEnabled());
    EXPECT_FALSE(list.actionButton("buttonReceipt")->isEnabled());
    EXPECT_FALSE(list.menuItem("itemReceipt")->isEnabled());

    Program::ReceiptNumberingDefined = true;
    showList(PatientSql::bySurname(QStringLiteral("Ιω")));
    EXPECT_TRUE(list.actionButton("buttonReceipt")->isEnabled());
    EXPECT_TRUE(list.menuItem("itemReceipt")->isEnabled());

    const QString id = practice.scalar("SELECT ID FROM STOIXEIA_PELATH");
    list.actionButton("buttonPrintouts")->click();
    list.menuItem("itemReceipt")->trigger();
    list.actionButton("buttonPayments")->click();
    EXPECT_EQ(calls,
              (QStringList {id, "WHERE EPWNYMO LIKE'Ιω%' ORDER BY EPWNYMO ASC",
                            PatientSql::bySurname("Ιω").sql, id, "Μαρία", "Ιωάννου", "Ιωάννου"}));
}
