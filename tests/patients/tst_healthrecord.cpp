#include "healthrecordwindow.h"
#include "patientfixtures.h"
#include "recordnavigator.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace PatientFixtures;

namespace {

class HealthRecord : public ::testing::Test {
protected:
    HealthRecord()
    {
        id = addPatient(practice, {"Μαρία", "Ιωάννου", "5/3/1955"});
        addPatient(practice, {"Άλλος", "Ασθενής"});
    }
    void open()
    {
        w.PatientId = id;
        w.PatientFirstName = QStringLiteral("Μαρία");
        w.PatientSurname = QStringLiteral("Ιωάννου-Πέτρου");
        w.PatientBirthDate = QStringLiteral("5/3/1955");
        w.FormShow();
    }
    QString stored(const QString &column) const
    {
        return practice.scalar("SELECT [" + column + "] FROM STOIXEIA_PELATH WHERE ID=" + id);
    }
    int answered() const
    {
        int n = 0;
        for (int c = 1; c <= 27; ++c)
            n += stored(QString::number(c)).isEmpty() ? 0 : 1;
        return n;
    }
    void post() { w.recordBar()->button(RecordNavigator::Post)->click(); }

    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    QString id;
    HealthRecordWindow w;
};

} // namespace

TEST_F(HealthRecord, NeverAnsweredShowsEmptyListsAndTheHeaderFromTheInputs)
{
    open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Δελτίο υγείας"));
    EXPECT_EQ(HealthRecordWindow::conditionLabel(1), QStringLiteral("Αυχενικό σύνδρομο:"));
    EXPECT_EQ(HealthRecordWindow::conditionLabel(5), QStringLiteral("Δισκοκoίλες:"));
    EXPECT_EQ(HealthRecordWindow::conditionLabel(21), QStringLiteral("Μυϊκή ατροφία - αδυναμία:"));
    EXPECT_EQ(HealthRecordWindow::conditionLabel(27), QStringLiteral("Θλάσεις μυών:"));
    for (int c = 1; c <= 27; ++c) {
        QComboBox *box = w.conditionBox(c);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->count(), 2);
        EXPECT_EQ(box->itemText(0), QStringLiteral("ΝΑΙ"));
        EXPECT_FALSE(box->isEditable());
        EXPECT_FALSE(box->focusPolicy() & Qt::TabFocus);
        EXPECT_EQ(box->currentIndex(), -1);
    }
    EXPECT_FALSE(w.historyBox()->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(w.historyBox()->toPlainText().isEmpty());
    EXPECT_EQ(w.recordBar()->findChildren<QToolButton *>().size(), 1);
    // The header shows what the caller passed, not the row's own columns.
    EXPECT_EQ(w.findChild<QLabel *>("valueSurname")->text(), QStringLiteral("Ιωάννου-Πέτρου"));
    EXPECT_EQ(w.findChild<QLabel *>("valueBirthDate")->text(), QStringLiteral("5/3/1955"));
    EXPECT_EQ(w.findChild<QLabel *>("valueFirstName")->text(), QStringLiteral("Μαρία"));
}

TEST_F(HealthRecord, OneAnswerIsSavedAndTheOthersStayEmpty)
{
    open();
    EXPECT_EQ(w.records().state(), RecordSet::State::Browse);
    choose(w.conditionBox(7), QStringLiteral("ΝΑΙ"));
    EXPECT_EQ(w.records().state(), RecordSet::State::Edit);
    post();
    EXPECT_EQ(stored("7"), QStringLiteral("ΝΑΙ"));
    EXPECT_EQ(answered(), 1);
    // A further change is a new edit, saved again; an answer can change but not go empty.
    choose(w.conditionBox(7), QStringLiteral("ΟΧΙ"));
    typeText(w.historyBox(), QStringLiteral("Χειρουργείο 2001"));
    post();
    EXPECT_EQ(stored("7"), QStringLiteral("ΟΧΙ"));
    EXPECT_EQ(stored("ISTORIKO"), QStringLiteral("Χειρουργείο 2001"));
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH WHERE ISTORIKO IS NULL"), 1);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(HealthRecord, AStoredTextOtherThanTheItemsIsKeptUnlessAnItemIsPicked)
{
    practice.exec("UPDATE STOIXEIA_PELATH SET [3]='ίσως', [4]='ΝΑΙ' WHERE ID=" + id);
    open();
    EXPECT_EQ(w.conditionBox(3)->currentIndex(), -1);
    EXPECT_EQ(w.conditionBox(4)->currentText(), QStringLiteral("ΝΑΙ"));
    choose(w.conditionBox(5), QStringLiteral("ΟΧΙ"));
    post();
    EXPECT_EQ(stored("3"), QStringLiteral("ίσως"));
    EXPECT_EQ(stored("4"), QStringLiteral("ΝΑΙ"));
    EXPECT_EQ(stored("5"), QStringLiteral("ΟΧΙ"));
    choose(w.conditionBox(3), QStringLiteral("ΝΑΙ"));
    post();
    EXPECT_EQ(stored("3"), QStringLiteral("ΝΑΙ"));
}

TEST_F(HealthRecord, ClosingWithoutPostChangesNothing)
{
    open();
    choose(w.conditionBox(1), QStringLiteral("ΝΑΙ"));
    typeText(w.historyBox(), QStringLiteral("κάτι"));
    w.findChild<QPushButton *>("buttonExit")->click();
    EXPECT_EQ(answered(), 0);
    EXPECT_EQ(stored("ISTORIKO"), QString());
}

TEST_F(HealthRecord, AMissingPatientCannotBeAnsweredIntoANewRow)
{
    w.PatientId = QStringLiteral("999");
    w.FormShow();
    EXPECT_FALSE(w.conditionBox(1)->isEnabled());
    EXPECT_TRUE(w.historyBox()->isReadOnly());
    EXPECT_EQ(practice.count("SELECT * FROM STOIXEIA_PELATH"), 2);
}

// Scrolling over the 27 answers changes none of them: a box turns with the wheel only while
// it has the focus, so nothing is written that the person did not choose.
TEST_F(HealthRecord, TheWheelOverAnAnswerWithoutFocusChangesNothing)
{
    open();
    w.show();
    for (int c = 1; c <= 27; ++c) {
        QComboBox *box = w.conditionBox(c);
        // The wheel gives no focus either (the boxes take it from a click only).
        EXPECT_NE(box->focusPolicy() & Qt::WheelFocus, Qt::WheelFocus) << "condition " << c;
        const int before = box->currentIndex();
        const QPointF at = box->rect().center();
        QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
        EXPECT_EQ(box->currentIndex(), before) << "condition " << c;
    }
    EXPECT_FALSE(w.recordBar()->button(RecordNavigator::Post)->isEnabled());
    w.hide();
    EXPECT_EQ(answered(), 0);
}
