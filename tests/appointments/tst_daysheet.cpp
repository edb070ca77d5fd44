#include "appointmentbook.h"
#include "daysheetwindow.h"
#include "qtprinters.h"
#include "recordnavigator.h"
#include "schema.h"
#include "serversession.h"
#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

using AppointmentBook::typeText;
using TestSupport::RecordingMessages;
using TestSupport::TempPractice;

namespace {

const QDate kDay(2026, 3, 5);

class DaySheetTest : public ::testing::Test {
protected:
    TempPractice practice;
    RecordingMessages messages;

    // Opens a sheet as the month view does, on a day whose row exists unless told otherwise.
    std::unique_ptr<DaySheetWindow> openSheet(bool withRow = true)
    {
        if (withRow)
            AppointmentBook::native("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2026-03-05')");
        auto sheet = std::make_unique<DaySheetWindow>();
        sheet->DayDateText = QStringLiteral("5/3/2026");
        sheet->DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
        sheet->setUp();
        return sheet;
    }
};

} // namespace

TEST_F(DaySheetTest, WindowSlotsAndControlsAsThePersonSeesThem)
{
    auto sheet = openSheet();
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Αναλυτική κατάσταση των ραντεβού"));
    EXPECT_EQ(sheet->Label83()->text(), QStringLiteral("5/3/2026"));
    EXPECT_EQ(sheet->Button29()->text(), QStringLiteral("Έ&ξοδος"));

    EXPECT_EQ(sheet->Panel(1)->text(), QStringLiteral("08:00 - 08:30"));
    EXPECT_EQ(sheet->Panel(5)->text(), QStringLiteral("10:00 - 10:30"));
    EXPECT_EQ(sheet->Panel(14)->text(), QStringLiteral("14:30 - 15:00"));
    EXPECT_EQ(sheet->Panel(15)->text(), QStringLiteral("15:00 - 15:30"));
    EXPECT_EQ(sheet->Panel(28)->text(), QStringLiteral("21:30 - 22:00"));
    for (int k = 1; k <= 28; ++k) {
        QLineEdit *edit = sheet->DBEdit(k);
        EXPECT_EQ(edit->objectName(), QStringLiteral("DBEdit%1").arg(k));
        EXPECT_EQ(sheet->Panel(k)->buddy(), edit);
        // Left column 1-14 and right column 15-28, each from top to bottom.
        const int column = (k - 1) / 14;
        EXPECT_EQ(edit->x(), sheet->DBEdit(column * 14 + 1)->x()) << "slot " << k;
        if (k % 14 != 1) {
            EXPECT_GT(edit->y(), sheet->DBEdit(k - 1)->y()) << "slot " << k;
        }
        EXPECT_LT(sheet->Panel(k)->x(), edit->x());
        EXPECT_TRUE(edit->font().bold());
        EXPECT_FALSE(edit->hasFrame());
        EXPECT_EQ(sheet->Panel(k)->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_GT(sheet->DBEdit(15)->x(), sheet->DBEdit(14)->x());
    EXPECT_EQ(sheet->Button29()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(sheet->saveButton()->focusPolicy(), Qt::NoFocus);
    // The record bar shows only its save button.
    EXPECT_EQ(sheet->DBNavigator1()->findChildren<QToolButton *>().size(), 1);
}

TEST_F(DaySheetTest, FocusStartsInTheFirstSlotAndTabFollowsTheSlots)
{
    auto sheet = openSheet();
    sheet->show();
    QApplication::setActiveWindow(sheet.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    EXPECT_EQ(QApplication::focusWidget(), sheet->DBEdit(1));
    for (int k = 2; k <= 28; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), sheet->DBEdit(k)) << "after Tab to slot " << k;
    }
}

TEST_F(DaySheetTest, SaveIsEnabledOnlyWhileThereAreUnsavedChanges)
{
    auto sheet = openSheet();
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
    typeText(sheet->DBEdit(5), QStringLiteral("Π"));
    EXPECT_TRUE(sheet->saveButton()->isEnabled());
    typeText(sheet->DBEdit(20), QStringLiteral("Κ. Ιωάννου - έλεγχος"));
    sheet->saveButton()->click();
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
    EXPECT_EQ(AppointmentBook::slot(kDay, "1000-1030"), QStringLiteral("Π"));
    EXPECT_EQ(AppointmentBook::slot(kDay, "1730-1800"), QStringLiteral("Κ. Ιωάννου - έλεγχος"));
    // Saving again starts from a new edit.
    typeText(sheet->DBEdit(5), QStringLiteral("απαδόπουλος"));
    EXPECT_TRUE(sheet->saveButton()->isEnabled());
    sheet->saveButton()->click();
    EXPECT_EQ(AppointmentBook::slot(kDay, "1000-1030"), QStringLiteral("Παπαδόπουλος"));
    EXPECT_EQ(AppointmentBook::rowsOf(kDay), 1);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(QLatin1Char(10));
}

TEST_F(DaySheetTest, EverySlotFieldWritesItsOwnColumn)
{
    auto sheet = openSheet();
    const QStringList columns = Schema::slotColumns();
    for (int k = 1; k <= 28; ++k)
        typeText(sheet->DBEdit(k), QStringLiteral("s%1").arg(k));
    sheet->saveButton()->click();
    for (int k = 1; k <= 28; ++k)
        EXPECT_EQ(AppointmentBook::slot(kDay, columns.at(k - 1)), QStringLiteral("s%1").arg(k));
}

TEST_F(DaySheetTest, QuotesAndLongTextsAreStoredAsTypedUpToTheColumnWidth)
{
    auto sheet = openSheet();
    const QString quoted = QStringLiteral("O'Brien \"Τζον\"; DROP TABLE RANTEBOU");
    typeText(sheet->DBEdit(2), quoted);
    // A full name and a short note fit; more than the column holds is refused as it is typed.
    const QString note = QStringLiteral("Παπαδοπούλου-Κωνσταντινίδου Αικατερίνη, αυχενικό, "
                                        "2η συνεδρία, φέρνει ακτινογραφίες");
    ASSERT_LE(note.size(), 100);
    typeText(sheet->DBEdit(3), note);
    EXPECT_EQ(sheet->DBEdit(3)->text(), note);
    EXPECT_EQ(sheet->DBEdit(4)->maxLength(), 100);
    typeText(sheet->DBEdit(4), QString(120, QLatin1Char('x')));
    EXPECT_EQ(sheet->DBEdit(4)->text().size(), 100);
    sheet->saveButton()->click();
    EXPECT_EQ(AppointmentBook::slot(kDay, "0830-0900"), quoted);
    EXPECT_EQ(AppointmentBook::slot(kDay, "0900-0930"), note);
    EXPECT_EQ(AppointmentBook::slot(kDay, "0930-1000"), QString(100, QLatin1Char('x')));
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(QLatin1Char(10));
}

TEST_F(DaySheetTest, ClosingWithoutSavingWritesNothingAndAsksNothing)
{
    AppointmentBook::book(kDay, "0800-0830", "Κρατημένο");
    auto sheet = std::make_unique<DaySheetWindow>();
    sheet->DayDateText = QStringLiteral("5/3/2026");
    sheet->DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
    sheet->setUp();
    sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
    EXPECT_EQ(sheet->DBEdit(1)->text(), QStringLiteral("Κρατημένο"));
    typeText(sheet->DBEdit(1), QStringLiteral(" αλλαγή"));
    typeText(sheet->DBEdit(2), QStringLiteral("νέο"));
    // Enter in a slot neither saves nor closes; Esc in a slot closes.
    QTest::keyClick(sheet->DBEdit(2), Qt::Key_Return);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(AppointmentBook::slot(kDay, "0830-0900"), QString());
    QTest::keyClick(sheet->DBEdit(2), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(sheet->query().isOpen());
    EXPECT_EQ(AppointmentBook::slot(kDay, "0800-0830"), QStringLiteral("Κρατημένο"));
    EXPECT_EQ(AppointmentBook::slot(kDay, "0830-0900"), QString());

    // The exit button does the same.
    auto again = openSheet(false);
    typeText(again->DBEdit(2), QStringLiteral("νέο"));
    again->Button29()->click();
    EXPECT_EQ(AppointmentBook::slot(kDay, "0830-0900"), QString());

    // And so does the close box.
    auto third = openSheet(false);
    third->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(third.get()));
    typeText(third->DBEdit(2), QStringLiteral("νέο"));
    EXPECT_TRUE(third->close());
    EXPECT_FALSE(third->isVisible());
    EXPECT_EQ(AppointmentBook::slot(kDay, "0830-0900"), QString());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(DaySheetTest, AFailedSaveIsReportedAndKeepsTheTypedTexts)
{
    auto sheet = openSheet();
    TestSupport::refuseWrites("RANTEBOU", "UPDATE", "disk full");
    typeText(sheet->DBEdit(7), QStringLiteral("Ραντεβού"));
    sheet->saveButton()->click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().kind, QStringLiteral("error"));
    EXPECT_TRUE(messages.last().contains(QStringLiteral("disk full")));
    EXPECT_EQ(sheet->DBEdit(7)->text(), QStringLiteral("Ραντεβού"));
    EXPECT_TRUE(sheet->saveButton()->isEnabled());

    // Once the file accepts writes again, the same texts are saved.
    TestSupport::allowWrites("RANTEBOU");
    sheet->saveButton()->click();
    EXPECT_EQ(AppointmentBook::slot(kDay, "1100-1130"), QStringLiteral("Ραντεβού"));
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
}

TEST_F(DaySheetTest, WithoutTheDaysRowTheSlotsAreEmptyAndCannotBeTyped)
{
    auto sheet = openSheet(false);
    for (int k = 1; k <= 28; ++k) {
        EXPECT_TRUE(sheet->DBEdit(k)->text().isEmpty());
        EXPECT_TRUE(sheet->DBEdit(k)->isReadOnly());
    }
    typeText(sheet->DBEdit(1), QStringLiteral("χαμένο"));
    EXPECT_TRUE(sheet->DBEdit(1)->text().isEmpty());
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
    EXPECT_EQ(AppointmentBook::rowsOf(kDay), 0);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(DaySheetTest, ALostServerIsReportedAndTheTextsWaitForTheServerToComeBack)
{
    if (!TestSupport::onServer())
        GTEST_SKIP() << "a practice on a server only";
    auto sheet = openSheet();
    typeText(sheet->DBEdit(7), QStringLiteral("Ραντεβού"));
    TestSupport::cutServerSessions();
    sheet->saveButton()->click();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().kind, QStringLiteral("error"));
    EXPECT_TRUE(messages.last().startsWith(ServerSession::lostMessage()))
        << messages.last().toStdString();
    EXPECT_EQ(sheet->DBEdit(7)->text(), QStringLiteral("Ραντεβού"));
    EXPECT_TRUE(sheet->saveButton()->isEnabled());
    EXPECT_EQ(AppointmentBook::slot(kDay, "1100-1130"), QString());

    // The server is there again: the same press saves what was typed.
    sheet->saveButton()->click();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(AppointmentBook::slot(kDay, "1100-1130"), QStringLiteral("Ραντεβού"));
}
