#include "newpatientwindow.h"
#include "patientdatawindow.h"
#include "patientfieldsform.h"
#include "patientfixtures.h"
#include "recordnavigator.h"

#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace PatientFixtures;

namespace {

class NewPatient : public ::testing::Test {
protected:
    int patients() const { return practice.count("SELECT * FROM STOIXEIA_PELATH"); }
    void post(RecordNavigator *bar) { bar->button(RecordNavigator::Post)->click(); }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
};

} // namespace

TEST_F(NewPatient, OpensReadyForTypingWithABarOfTwo)
{
    NewPatientWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Καταχώρηση νέου ασθενούς"));
    EXPECT_EQ(w.records().state(), RecordSet::State::Insert);
    EXPECT_EQ(w.recordBar()->findChildren<QToolButton *>().size(), 2);
    EXPECT_FALSE(w.form()->sexBox()->isEditable());
    EXPECT_EQ(w.form()->sexBox()->count(), 2);
}

TEST_F(NewPatient, PostInsertPostWritesTwoRowsWithTheirOwnIds)
{
    NewPatientWindow w;
    typeText(w.form()->edit("ONOMA"), QStringLiteral("Γιώργος"));
    typeText(w.form()->edit("EPWNYMO"), QStringLiteral("Παπαδόπουλος"));
    choose(w.form()->sexBox(), QStringLiteral("ΑΡΡΕΝ"));
    typeText(w.form()->edit("HMEROMHNIA_GENNHSEWS"), QStringLiteral("05/03/1970"));
    typeText(w.form()->edit("TAMEIO"), QStringLiteral("ΙΚΑ"));
    post(w.recordBar());
    // The saved values stay on screen.
    EXPECT_EQ(w.form()->edit("EPWNYMO")->text(), QStringLiteral("Παπαδόπουλος"));
    w.recordBar()->button(RecordNavigator::Insert)->click();
    EXPECT_TRUE(w.form()->edit("EPWNYMO")->text().isEmpty());
    typeText(w.form()->edit("EPWNYMO"), QStringLiteral("Ιωάννου"));
    post(w.recordBar());
    w.done(0);

    EXPECT_EQ(patients(), 2);
    EXPECT_EQ(practice.count("SELECT DISTINCT ID FROM STOIXEIA_PELATH"), 2);
    EXPECT_EQ(practice.scalar("SELECT HMEROMHNIA_GENNHSEWS FROM STOIXEIA_PELATH WHERE "
                              "EPWNYMO='Παπαδόπουλος'"),
              QStringLiteral("5/3/1970"));
    EXPECT_EQ(practice.scalar("SELECT FYLO FROM STOIXEIA_PELATH WHERE EPWNYMO='Παπαδόπουλος'"),
              QStringLiteral("ΑΡΡΕΝ"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(NewPatient, ClosingWritesNothingAndAnUntouchedPostWritesAnEmptyRow)
{
    {
        NewPatientWindow w;
        typeText(w.form()->edit("ONOMA"), QStringLiteral("Γιώργος"));
        w.findChild<QPushButton *>("buttonExit")->click();
    }
    EXPECT_EQ(patients(), 0);
    {
        NewPatientWindow w;
        post(w.recordBar());
    }
    EXPECT_EQ(patients(), 1);
    EXPECT_EQ(practice.scalar("SELECT EPWNYMO FROM STOIXEIA_PELATH"), QString());
}

TEST_F(NewPatient, InsertSavesATypedRecordAndDropsAnUntouchedOne)
{
    NewPatientWindow w;
    w.recordBar()->press(RecordNavigator::Insert);
    EXPECT_EQ(patients(), 0);
    typeText(w.form()->edit("EPWNYMO"), QStringLiteral("Ιωάννου"));
    w.recordBar()->press(RecordNavigator::Insert);
    EXPECT_EQ(patients(), 1);
    EXPECT_EQ(w.records().state(), RecordSet::State::Insert);
}

TEST_F(NewPatient, ABirthDateThatIsNoDateIsRefusedAndTheRecordStays)
{
    NewPatientWindow w;
    typeText(w.form()->edit("EPWNYMO"), QStringLiteral("Ιωάννου"));
    typeText(w.form()->edit("HMEROMHNIA_GENNHSEWS"), QStringLiteral("31/02/1970"));
    post(w.recordBar());
    EXPECT_EQ(messages.texts(), QStringList {QStringLiteral("'31/02/1970' is not a valid date")});
    EXPECT_EQ(messages.shown().first().kind, QStringLiteral("error"));
    EXPECT_EQ(w.records().state(), RecordSet::State::Insert);
    EXPECT_EQ(patients(), 0);

    retype(w.form()->edit("HMEROMHNIA_GENNHSEWS"), QStringLiteral("28/2/1970"));
    post(w.recordBar());
    EXPECT_EQ(patients(), 1);
    EXPECT_EQ(practice.scalar("SELECT EPWNYMO FROM STOIXEIA_PELATH"), QStringLiteral("Ιωάννου"));
}

namespace {

class PatientData : public NewPatient {
protected:
    PatientData()
    {
        id = addPatient(practice, {"Μαρία", "Ιωάννου", "5/3/1955", "ΘΗΛΥ", "ΙΚΑ"});
        addPatient(practice, {"Άλλος", "Ασθενής"});
        w.PatientId = id;
        w.FormShow();
    }
    QString stored(const QString &column) const
    {
        return practice.scalar("SELECT " + column + " FROM STOIXEIA_PELATH WHERE ID=" + id);
    }

    QString id;
    PatientDataWindow w;
};

} // namespace

TEST_F(PatientData, ShowsTheRowInEditStateAndSavesAgainAndAgain)
{
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Στοιχεία του ασθενούς"));
    EXPECT_EQ(w.form()->edit("EPWNYMO")->text(), QStringLiteral("Ιωάννου"));
    EXPECT_EQ(w.form()->edit("HMEROMHNIA_GENNHSEWS")->text(), QStringLiteral("5/3/1955"));
    EXPECT_EQ(w.form()->sexBox()->currentText(), QStringLiteral("ΘΗΛΥ"));
    EXPECT_EQ(w.records().state(), RecordSet::State::Edit);

    retype(w.form()->edit("TAMEIO"), QStringLiteral("ΟΓΑ"));
    post(w.recordBar());
    EXPECT_EQ(stored("TAMEIO"), QStringLiteral("ΟΓΑ"));
    EXPECT_EQ(w.records().state(), RecordSet::State::Edit);
    choose(w.form()->sexBox(), QStringLiteral("ΑΡΡΕΝ"));
    post(w.recordBar());
    EXPECT_EQ(stored("FYLO"), QStringLiteral("ΑΡΡΕΝ"));
    EXPECT_EQ(practice.scalar("SELECT TAMEIO FROM STOIXEIA_PELATH WHERE EPWNYMO='Ασθενής'"),
              QString());
}

TEST_F(PatientData, ClosingWithoutPostLeavesTheRowAsItWas)
{
    retype(w.form()->edit("EPWNYMO"), QStringLiteral("Νικολάου"));
    w.findChild<QPushButton *>("buttonExit")->click();
    EXPECT_EQ(stored("EPWNYMO"), QStringLiteral("Ιωάννου"));
}

TEST_F(PatientData, ABadBirthDateIsRefusedAndTheEditGoesOn)
{
    retype(w.form()->edit("HMEROMHNIA_GENNHSEWS"), QStringLiteral("32/1/1955"));
    post(w.recordBar());
    EXPECT_EQ(messages.texts(), QStringList {QStringLiteral("'32/1/1955' is not a valid date")});
    EXPECT_EQ(w.records().state(), RecordSet::State::Edit);
    EXPECT_EQ(stored("HMEROMHNIA_GENNHSEWS"), QStringLiteral("5/3/1955"));
    retype(w.form()->edit("HMEROMHNIA_GENNHSEWS"), QStringLiteral("6/3/1955"));
    post(w.recordBar());
    EXPECT_EQ(stored("HMEROMHNIA_GENNHSEWS"), QStringLiteral("6/3/1955"));
}

TEST_F(PatientData, APatientDeletedMeanwhileCannotBeTypedIntoANewRow)
{
    PatientDataWindow gone;
    gone.PatientId = QStringLiteral("999");
    gone.FormShow();
    EXPECT_FALSE(gone.form()->isEnabled());
    gone.recordBar()->press(RecordNavigator::Post);
    EXPECT_EQ(patients(), 2);
}
