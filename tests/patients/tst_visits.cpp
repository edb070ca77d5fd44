#include "patientfixtures.h"
#include "recordgrid.h"
#include "recordnavigator.h"
#include "visitswindow.h"

#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace PatientFixtures;

namespace {

class Visits : public ::testing::Test {
protected:
    Visits()
    {
        other = addPatient(practice, {"Άλλος", "Ασθενής"});
        id = addPatient(practice, {"Μαρία", "Ιωάννου"});
        addVisit(practice, other, "3/3/2021", "Άλλου");
    }
    void open()
    {
        w = std::make_unique<VisitsWindow>();
        w->PatientFirstName = QStringLiteral("Μαρία");
        w->PatientSurname = QStringLiteral("Ιωάννου");
        w->PatientId = id;
        w->FormShow();
    }
    void type(const QString &date, const QString &reason = {}, const QString &description = {})
    {
        typeText(w->dateBox(), date);
        if (!reason.isEmpty())
            typeText(w->reasonBox(), reason);
        if (!description.isEmpty())
            typeText(w->descriptionBox(), description);
        w->entryBar()->button(RecordNavigator::Post)->click();
    }
    QStringList dates() const
    {
        QStringList out;
        for (int r = 0; r < w->grid()->model()->rowCount(); ++r)
            out << w->grid()->model()->index(r, 0).data().toString();
        return out;
    }
    QString count() const { return w->countLine()->text(); }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    QString id;
    QString other;
    std::unique_ptr<VisitsWindow> w;
};

} // namespace

TEST_F(Visits, APatientWithoutVisitsAndTheWindowsParts)
{
    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Επισκέψεις"));
    EXPECT_EQ(w->findChild<QLabel *>("valueSurname")->text(), QStringLiteral("Ιωάννου"));
    EXPECT_TRUE(dates().isEmpty());
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 0 επισκέψεις"));
    EXPECT_EQ(w->entry().state(), RecordSet::State::Insert);
    EXPECT_EQ(w->listBar()->findChildren<QToolButton *>().size(), 5);
    EXPECT_EQ(w->entryBar()->findChildren<QToolButton *>().size(), 1);
}

TEST_F(Visits, VisitsTypedOutOfOrderListByDateAndCarryThePatientsId)
{
    open();
    type("15/3/2022", "Πόνος", "Μάλαξη");
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 1 επισκέψεις"));
    type("2/1/2022", "Έλεγχος");
    EXPECT_EQ(dates(), (QStringList {"2/1/2022", "15/3/2022"}));
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 2 επισκέψεις"));
    type("10/2/2022");
    EXPECT_EQ(dates(), (QStringList {"2/1/2022", "10/2/2022", "15/3/2022"}));
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 3 επισκέψεις"));
    // The form is ready for the next visit.
    EXPECT_EQ(w->entry().state(), RecordSet::State::Insert);
    EXPECT_TRUE(w->dateBox()->text().isEmpty());

    EXPECT_EQ(practice.count("SELECT * FROM EPISKEPSEIS WHERE ID=" + id), 3);
    // Only the date typed: a row with empty reason and description.
    EXPECT_EQ(practice.count("SELECT * FROM EPISKEPSEIS WHERE ID=" + id
                             + " AND AITIA IS NULL AND PERIGRAFH IS NULL"),
              1);
    EXPECT_EQ(practice.scalar("SELECT PERIGRAFH FROM EPISKEPSEIS WHERE AITIA='Πόνος'"),
              QStringLiteral("Μάλαξη"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(Visits, OtherPatientsVisitsNeverShow)
{
    addVisit(practice, id, "1/1/2020", "Δική της");
    open();
    EXPECT_EQ(dates(), QStringList {QStringLiteral("1/1/2020")});
    type("2/2/2020");
    EXPECT_EQ(dates(), (QStringList {"1/1/2020", "2/2/2020"}));
    EXPECT_EQ(practice.count("SELECT * FROM EPISKEPSEIS WHERE ID=" + other), 1);
}

TEST_F(Visits, DeletingTheOnlyVisitAsksFirst)
{
    addVisit(practice, id, "1/1/2020", "Δική της");
    open();
    messages.queueAnswer(false);
    w->listBar()->button(RecordNavigator::Delete)->click();
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 1 επισκέψεις"));
    w->listBar()->button(RecordNavigator::Delete)->click();
    EXPECT_EQ(messages.texts(), (QStringList {"Delete record?", "Delete record?"}));
    EXPECT_TRUE(dates().isEmpty());
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 0 επισκέψεις"));
    EXPECT_EQ(practice.count("SELECT * FROM EPISKEPSEIS"), 1);
}

TEST_F(Visits, ABadDateIsRefusedAndTheTypedVisitStays)
{
    open();
    type("30/2/2022", "Πόνος");
    EXPECT_EQ(messages.texts(), QStringList {QStringLiteral("'30/2/2022' is not a valid date")});
    EXPECT_EQ(w->entry().state(), RecordSet::State::Insert);
    EXPECT_EQ(w->reasonBox()->text(), QStringLiteral("Πόνος"));
    EXPECT_EQ(count(), QStringLiteral("Βρέθηκαν 0 επισκέψεις"));
    retype(w->dateBox(), QStringLiteral("28/2/2022"));
    w->entryBar()->button(RecordNavigator::Post)->click();
    EXPECT_EQ(dates(), QStringList {QStringLiteral("28/2/2022")});
    EXPECT_EQ(practice.scalar("SELECT ID FROM EPISKEPSEIS WHERE AITIA='Πόνος'"), id);
}

TEST_F(Visits, OpeningAndClosingWritesNothing)
{
    open();
    typeText(w->reasonBox(), QStringLiteral("Πόνος"));
    // Shown a second time, the typed visit stays in the form and nothing is written.
    w->FormShow();
    EXPECT_EQ(w->reasonBox()->text(), QStringLiteral("Πόνος"));
    w->findChild<QPushButton *>("buttonExit")->click();
    EXPECT_EQ(practice.count("SELECT * FROM EPISKEPSEIS"), 1);
}
