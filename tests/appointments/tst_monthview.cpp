#include "appointmentbook.h"
#include "commands.h"
#include "daylabel.h"
#include "daysheetwindow.h"
#include "monthviewwindow.h"
#include "program.h"
#include "qtprinters.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using AppointmentBook::typeText;
using TestSupport::ModalDriver;
using TestSupport::RecordingMessages;
using TestSupport::TempPractice;

namespace {

const QString kSheetCaption = QStringLiteral("Αναλυτική κατάσταση των ραντεβού");
// Thursday 5 March 2026: March 2026 starts on a Sunday, in cell 7.
const QDate kToday(2026, 3, 5);

class MonthViewTest : public ::testing::Test {
protected:
    TempPractice practice;
    RecordingMessages messages;

    static int cellOf(const MonthViewWindow &w, int day)
    {
        for (int k = 1; k <= 37; ++k) {
            if (w.LabelD(k)->text() == QString::number(day))
                return k;
        }
        return 0;
    }
    static QString countOf(const MonthViewWindow &w, int day)
    {
        const int k = cellOf(w, day);
        return k ? w.LabelR(k)->text() : QStringLiteral("<no cell>");
    }
    static void pickMonth(MonthViewWindow &w, int month)
    {
        w.ComboBox1()->setCurrentIndex(month - 1);
        emit w.ComboBox1()->activated(month - 1);
    }
    static void pickYear(MonthViewWindow &w, int year)
    {
        const int at = w.ComboBox2()->findText(QString::number(year));
        w.ComboBox2()->setCurrentIndex(at);
        emit w.ComboBox2()->activated(at);
    }
    // Clicks a day's number with the mouse; the sheet opened is handed to drive.
    static QStringList openDay(MonthViewWindow &w, int day,
                               const std::function<void(DaySheetWindow &)> &drive = {})
    {
        ModalDriver driver([&](QDialog *dialog) {
            auto *sheet = qobject_cast<DaySheetWindow *>(dialog);
            EXPECT_NE(sheet, nullptr);
            if (sheet && drive)
                drive(*sheet);
            return int(QDialog::Rejected);
        });
        const int k = cellOf(w, day);
        EXPECT_NE(k, 0) << "day " << day << " is not shown";
        if (k)
            QTest::mouseClick(w.LabelD(k), Qt::LeftButton);
        return driver.opened();
    }
};

} // namespace

TEST_F(MonthViewTest, WindowAndControlsAsThePersonSeesThem)
{
    MonthViewWindow w(nullptr, kToday);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Μηνιαία κατάσταση των ραντεβού"));

    ASSERT_EQ(w.ComboBox2()->count(), 28);
    EXPECT_EQ(w.ComboBox2()->itemText(0), QStringLiteral("2008"));
    EXPECT_EQ(w.ComboBox2()->itemText(27), QStringLiteral("2035"));
    EXPECT_EQ(w.ComboBox2()->maxVisibleItems(), 15);
    EXPECT_FALSE(w.ComboBox2()->isEditable());
    ASSERT_EQ(w.ComboBox1()->count(), 12);
    EXPECT_EQ(w.ComboBox1()->itemText(0), QStringLiteral("Ιανουάριος"));
    EXPECT_EQ(w.ComboBox1()->itemText(4), QStringLiteral("Μάιος"));
    EXPECT_EQ(w.ComboBox1()->itemText(11), QStringLiteral("Δεκέμβριος"));
    EXPECT_EQ(w.ComboBox1()->maxVisibleItems(), 12);
    EXPECT_EQ(w.Button2()->text(), QStringLiteral("Σήμερα"));
    EXPECT_EQ(w.Button1()->text(), QStringLiteral("Έ&ξοδος"));

    const QStringList weekdays
        = {"Δευτέρα", "Τρίτη", "Τετάρτη", "Πέμπτη", "Παρασκευή", "Σάββατο", "Κυριακή"};
    for (int c = 1; c <= 7; ++c) {
        auto *heading = w.findChild<QLabel *>(QStringLiteral("LabelW%1").arg(c));
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(heading->text(), weekdays.at(c - 1));
        EXPECT_TRUE(heading->font().bold());
    }
    for (int k = 1; k <= 37; ++k) {
        ASSERT_NE(w.findChild<DayLabel *>(QStringLiteral("LabelD%1").arg(k)), nullptr);
        ASSERT_NE(w.findChild<QLabel *>(QStringLiteral("LabelR%1").arg(k)), nullptr);
    }
    // Nothing is reached with the Tab key (the lists' drop-down popups are windows of their own).
    for (QWidget *child : w.findChildren<QWidget *>()) {
        if (child->window() != &w)
            continue;
        EXPECT_FALSE(child->focusPolicy() & Qt::TabFocus)
            << child->metaObject()->className() << " " << child->objectName();
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(MonthViewTest, OpensOnTodaysMonthWithTodayInGreen)
{
    MonthViewWindow w(nullptr, kToday);
    EXPECT_EQ(w.state().TodayYear, 2026);
    EXPECT_EQ(w.state().TodayMonth, 3);
    EXPECT_EQ(w.state().TodayDay, 5);
    EXPECT_EQ(w.state().DisplayedMonth, 3);
    EXPECT_EQ(w.state().DisplayedYear, 2026);
    EXPECT_EQ(w.ComboBox1()->currentText(), QStringLiteral("Μάρτιος"));
    EXPECT_EQ(w.ComboBox2()->currentText(), QStringLiteral("2026"));
    // March 2026: cells 1-6 empty and hidden, 30 and 31 on the sixth row.
    for (int k = 1; k <= 6; ++k) {
        EXPECT_TRUE(w.LabelD(k)->isHidden());
        EXPECT_TRUE(w.LabelR(k)->isHidden());
    }
    EXPECT_EQ(w.LabelD(36)->text(), QStringLiteral("30"));
    EXPECT_EQ(w.LabelD(37)->text(), QStringLiteral("31"));
    EXPECT_EQ(w.LabelD(11)->text(), QStringLiteral("5"));
    EXPECT_EQ(w.LabelD(11)->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(w.LabelD(12)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(w.LabelD(13)->palette().color(QPalette::WindowText), QColor(128, 128, 128));
}

TEST_F(MonthViewTest, TheLocalDateIsTheDefaultToday)
{
    MonthViewWindow w;
    const QDate today = QDate::currentDate();
    if (today.year() < 2008 || today.year() > 2035)
        GTEST_SKIP() << "the clock of this machine is outside the book's years";
    EXPECT_EQ(w.state().DisplayedYear, today.year());
    EXPECT_EQ(w.state().DisplayedMonth, today.month());
    EXPECT_EQ(w.LabelD(cellOf(w, today.day()))->palette().color(QPalette::WindowText),
              QColor(0, 128, 0));
}

TEST_F(MonthViewTest, CountsBookedSlotsIgnoringBlankOnesAndOtherMonths)
{
    const QDate d10(2026, 3, 10), d11(2026, 3, 11), d12(2026, 3, 12);
    AppointmentBook::book(d10, "0800-0830", "Παπαδόπουλος Γιώργος");
    AppointmentBook::book(d10, "1000-1030", "Νικολάου Μαρία");
    AppointmentBook::book(d10, "2130-2200", "Last slot");
    // A row whose slots are empty or hold only blanks and control characters.
    AppointmentBook::book(d11, "0800-0830", "   ");
    AppointmentBook::book(d11, "0830-0900", "\t \r\n");
    AppointmentBook::book(d11, "0900-0930", "");
    // A row with only its date.
    AppointmentBook::native("INSERT INTO RANTEBOU (HMEROMHNIA) VALUES ('2026-03-12')");
    // The same day numbers of other months must not leak into March.
    AppointmentBook::book(QDate(2026, 4, 10), "0800-0830", "April");
    AppointmentBook::book(QDate(2025, 3, 13), "0800-0830", "Last year");
    Q_UNUSED(d12);

    MonthViewWindow w(nullptr, kToday);
    EXPECT_EQ(countOf(w, 10), QStringLiteral("3"));
    EXPECT_EQ(countOf(w, 11), QString());
    EXPECT_EQ(countOf(w, 12), QString());
    EXPECT_EQ(countOf(w, 13), QString());
    EXPECT_EQ(countOf(w, 9), QString());

    pickMonth(w, 4);
    EXPECT_EQ(countOf(w, 10), QStringLiteral("1"));
    EXPECT_EQ(countOf(w, 13), QString());
    pickYear(w, 2025);
    pickMonth(w, 3);
    EXPECT_EQ(countOf(w, 13), QStringLiteral("1"));
    EXPECT_EQ(countOf(w, 10), QString());
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(QLatin1Char(10));
}

TEST_F(MonthViewTest, SwitchingMonthOrYearLaysOutAgainAndHidesEmptyCells)
{
    AppointmentBook::book(QDate(2010, 2, 28), "1200-1230", "x");
    MonthViewWindow w(nullptr, kToday);
    pickYear(w, 2010);
    EXPECT_EQ(w.state().DisplayedYear, 2010);
    EXPECT_EQ(w.state().DisplayedMonth, 3); // the month list keeps its choice
    pickMonth(w, 2);
    EXPECT_EQ(w.state().DisplayedMonth, 2);
    // February 2010: 28 days from a Monday fill cells 1-28 exactly.
    for (int k = 1; k <= 37; ++k) {
        EXPECT_EQ(w.LabelD(k)->isHidden(), k > 28) << "cell " << k;
        EXPECT_EQ(w.LabelR(k)->isHidden(), k > 28) << "cell " << k;
        EXPECT_EQ(w.LabelD(k)->text(), k <= 28 ? QString::number(k) : QString());
    }
    EXPECT_EQ(w.LabelR(28)->text(), QStringLiteral("1"));
    // No green in a month that is not today's.
    for (int k = 1; k <= 28; ++k)
        EXPECT_NE(w.LabelD(k)->palette().color(QPalette::WindowText), QColor(0, 128, 0));

    // A selection made from code is not the person's choice: nothing is laid out again.
    w.ComboBox1()->setCurrentIndex(0);
    EXPECT_EQ(w.state().DisplayedMonth, 2);
}

TEST_F(MonthViewTest, TodayButtonReturnsToTheCapturedMonth)
{
    MonthViewWindow w(nullptr, kToday);
    pickYear(w, 2031);
    pickMonth(w, 8);
    ASSERT_EQ(w.state().DisplayedYear, 2031);
    QTest::mouseClick(w.Button2(), Qt::LeftButton);
    EXPECT_EQ(w.state().DisplayedYear, 2026);
    EXPECT_EQ(w.state().DisplayedMonth, 3);
    EXPECT_EQ(w.ComboBox2()->currentText(), QStringLiteral("2026"));
    EXPECT_EQ(w.ComboBox1()->currentText(), QStringLiteral("Μάρτιος"));
    EXPECT_EQ(w.LabelD(11)->palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

TEST_F(MonthViewTest, TodayOutsideTheListedYearsShowsTheNearestMonthQuietly)
{
    {
        MonthViewWindow late(nullptr, QDate(2041, 6, 15));
        EXPECT_EQ(late.state().DisplayedYear, 2035);
        EXPECT_EQ(late.state().DisplayedMonth, 12);
        EXPECT_EQ(late.ComboBox2()->currentText(), QStringLiteral("2035"));
        EXPECT_EQ(late.ComboBox1()->currentText(), QStringLiteral("Δεκέμβριος"));
        for (int k = 1; k <= 37; ++k)
            EXPECT_NE(late.LabelD(k)->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        pickYear(late, 2020);
        late.Button2Click();
        EXPECT_EQ(late.state().DisplayedYear, 2035);
        EXPECT_EQ(late.state().DisplayedMonth, 12);
    }
    {
        MonthViewWindow early(nullptr, QDate(2001, 9, 11));
        EXPECT_EQ(early.state().DisplayedYear, 2008);
        EXPECT_EQ(early.state().DisplayedMonth, 1);
        EXPECT_TRUE(early.LabelD(1)->isHidden()); // January 2008 starts on a Tuesday
        EXPECT_EQ(early.LabelD(2)->text(), QStringLiteral("1"));
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(MonthViewTest, OpeningADayCreatesItsRowOnceAndShowsItsSheet)
{
    MonthViewWindow w(nullptr, kToday);
    w.show();
    const QDate day(2026, 3, 5);
    QString heading;
    int emptySlots = 0;
    const QStringList opened = openDay(w, 5, [&](DaySheetWindow &sheet) {
        heading = sheet.Label83()->text();
        for (int k = 1; k <= 28; ++k)
            emptySlots += sheet.DBEdit(k)->text().isEmpty();
    });
    EXPECT_EQ(opened, QStringList {kSheetCaption});
    EXPECT_EQ(heading, QStringLiteral("5/3/2026"));
    EXPECT_EQ(emptySlots, 28);
    EXPECT_EQ(w.state().SelectedDay, 5);
    EXPECT_EQ(w.state().DayLiteral, QStringLiteral("#3/5/2026#"));
    EXPECT_EQ(AppointmentBook::rowsOf(day), 1);
    EXPECT_EQ(countOf(w, 5), QString()); // a row with only its date counts nothing

    // Opening it again uses the row that is there, and says nothing about the refused insert.
    AppointmentBook::book(day, "0900-0930", "Υπάρχον ραντεβού");
    QString kept;
    openDay(w, 5, [&](DaySheetWindow &sheet) { kept = sheet.DBEdit(3)->text(); });
    EXPECT_EQ(kept, QStringLiteral("Υπάρχον ραντεβού"));
    EXPECT_EQ(AppointmentBook::rowsOf(day), 1);
    EXPECT_EQ(countOf(w, 5), QStringLiteral("1"));
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(QLatin1Char(10));
}

TEST_F(MonthViewTest, SavedSlotsAreCountedWhenTheSheetCloses)
{
    MonthViewWindow w(nullptr, kToday);
    w.show();
    const QDate day(2026, 3, 20);
    // 10:00 - 10:30 is the fifth slot and goes into column 1000-1030.
    openDay(w, 20, [](DaySheetWindow &sheet) {
        typeText(sheet.DBEdit(5), QStringLiteral("Γεωργίου Ελένη"));
        sheet.saveButton()->click();
        sheet.Button29()->click();
    });
    EXPECT_EQ(AppointmentBook::slot(day, "1000-1030"), QStringLiteral("Γεωργίου Ελένη"));
    EXPECT_EQ(countOf(w, 20), QStringLiteral("1"));

    // Two more slots in one save: the count grows.
    openDay(w, 20, [](DaySheetWindow &sheet) {
        typeText(sheet.DBEdit(1), QStringLiteral("Α"));
        typeText(sheet.DBEdit(28), QStringLiteral("Β"));
        sheet.saveButton()->click();
    });
    EXPECT_EQ(countOf(w, 20), QStringLiteral("3"));

    // Typed but not saved: nothing is stored and the count stays.
    openDay(w, 20, [](DaySheetWindow &sheet) {
        typeText(sheet.DBEdit(10), QStringLiteral("Δεν αποθηκεύεται"));
        sheet.Button29()->click();
    });
    EXPECT_EQ(AppointmentBook::slot(day, "1230-1300"), QString());
    EXPECT_EQ(countOf(w, 20), QStringLiteral("3"));

    // A slot holding only blanks is free.
    openDay(w, 20, [](DaySheetWindow &sheet) {
        typeText(sheet.DBEdit(12), QStringLiteral("    "));
        sheet.saveButton()->click();
    });
    EXPECT_EQ(countOf(w, 20), QStringLiteral("3"));

    // Emptying every slot and saving makes the count disappear.
    openDay(w, 20, [](DaySheetWindow &sheet) {
        for (int k : {1, 5, 28}) {
            sheet.DBEdit(k)->selectAll();
            QTest::keyClick(sheet.DBEdit(k), Qt::Key_Delete);
        }
        sheet.saveButton()->click();
    });
    EXPECT_EQ(AppointmentBook::slot(day, "1000-1030"), QString());
    EXPECT_EQ(countOf(w, 20), QString());
    EXPECT_EQ(AppointmentBook::rowsOf(day), 1);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(QLatin1Char(10));
}

TEST_F(MonthViewTest, EmptyCellsAndCountsDoNothingWhenClicked)
{
    AppointmentBook::book(QDate(2026, 3, 9), "0800-0830", "x");
    MonthViewWindow w(nullptr, kToday);
    w.show();
    ModalDriver driver;
    // Cell 1 is empty in March 2026; a click on a count label is no click on a day.
    w.LabelDClick(1);
    QTest::mouseClick(w.LabelR(cellOf(w, 9)), Qt::LeftButton);
    EXPECT_TRUE(driver.opened().isEmpty());
    EXPECT_EQ(AppointmentBook::rowsOf(QDate(2026, 3, 9)), 1);
}

TEST_F(MonthViewTest, EscClosesTheWindow)
{
    MonthViewWindow w(nullptr, kToday);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MonthViewTest, ADatabaseFailureIsReportedAndTheWindowStillOpens)
{
    Program::DbConnectionString = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=/nonexistent\\data.mdb;"
        "Jet OLEDB:Database Password=x");
    MonthViewWindow w(nullptr, kToday);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().kind, QStringLiteral("error"));
    EXPECT_TRUE(messages.last().contains(QStringLiteral("Could not find file")));
    EXPECT_EQ(w.LabelD(11)->text(), QStringLiteral("5")); // the layout is there

    // Opening a day fails before the sheet: one more error, no sheet.
    w.show();
    const QStringList opened = openDay(w, 5);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(messages.shown().size(), 2);
}

// A day's row that the file refuses for any reason but "this date has its row" is the
// person's to see: the engine's message, no sheet (it could not be typed into), no row.
TEST_F(MonthViewTest, ADayRowTheFileRefusesIsReportedWithTheEnginesMessage)
{
    using Failure = TestSupport::FailingPractice::Failure;
    AppointmentBook::book(QDate(2026, 3, 9), "0800-0830", "Υπάρχον");
    for (const Failure failure : {Failure::Locked, Failure::ReadOnly}) {
        SCOPED_TRACE(TestSupport::FailingPractice::name(failure).toStdString());
        messages.clear();
        MonthViewWindow w(nullptr, kToday);
        w.show();
        TestSupport::FailingPractice failing(failure);
        EXPECT_TRUE(openDay(w, 12).isEmpty());
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().first().kind, QStringLiteral("error"));
        EXPECT_TRUE(messages.last().contains(TestSupport::FailingPractice::message(failure)))
            << messages.last().toStdString();
        EXPECT_EQ(AppointmentBook::rowsOf(QDate(2026, 3, 12)), 0);
        // Reading still works: the month is counted after the failure as before it.
        EXPECT_EQ(countOf(w, 9), QStringLiteral("1"));
        // A day that has its row is refused by the file too, and says so the same way.
        EXPECT_TRUE(openDay(w, 9).isEmpty());
        EXPECT_EQ(messages.shown().size(), 2);
    }
}

TEST_F(MonthViewTest, TheMainWindowsCommandOpensTheMonthViewModally)
{
    CommandTable table;
    AreaCommands::appointments(table);
    ASSERT_TRUE(table.contains(MenuCommand::Appointments));
    QWidget mainWindow;
    QWidget *parentSeen = nullptr;
    ModalDriver driver([&](QDialog *dialog) {
        parentSeen = dialog->parentWidget();
        return int(QDialog::Rejected);
    });
    table[MenuCommand::Appointments](&mainWindow);
    EXPECT_EQ(driver.opened(), QStringList {QStringLiteral("Μηνιαία κατάσταση των ραντεβού")});
    EXPECT_EQ(parentSeen, &mainWindow);
}
