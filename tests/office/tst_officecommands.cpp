// The main window's expenses and office commands: each opens its window; the two expenses
// reviews are the same windows every time, and keep their criteria between showings.
#include "commands.h"
#include "expensesreviewwindow.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

TEST(OfficeCommands, EveryCommandOpensItsWindow)
{
    TestSupport::TempPractice practice;
    TestSupport::RecordingMessages messages;
    QList<QDialog *> windows;
    TestSupport::ModalDriver driver([&](QDialog *d) {
        windows << d;
        return 0;
    });
    CommandTable table;
    AreaCommands::expenses(table);
    AreaCommands::office(table);
    const struct {
        MenuCommand command;
        const char *caption;
    } cases[] = {
        {MenuCommand::ExpensesEdit, "Λειτουργικά έξοδα - Επεξεργασία"},
        {MenuCommand::ExpensesByPeriod, "Λειτουργικά έξοδα - Αναλυτική έρευνα"},
        {MenuCommand::ExpensesByMonth, "Λειτουργικά έξοδα - Κατά μήνα"},
        {MenuCommand::Notebook, "Βιβλίο σημειώσεων"},
        {MenuCommand::Reminders, "Υπενθυμίσεις"},
        {MenuCommand::PhoneNumbers, "Χρήσιμα τηλέφωνα"},
        {MenuCommand::Doctors, "Ιατροί διαφόρων ειδικοτήτων"},
        {MenuCommand::CalendarTools, "Ημερολογιακά"},
    };
    QWidget main;
    QStringList expected;
    for (const auto &c : cases) {
        ASSERT_TRUE(table.contains(c.command)) << c.caption;
        table[c.command](&main);
        expected << QString::fromUtf8(c.caption);
    }
    EXPECT_EQ(driver.opened(), expected);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();

    // The reviews live on: the second showing is the same window with its kept criteria.
    auto *byPeriod = qobject_cast<ExpensesReviewWindow *>(windows.at(1));
    ASSERT_NE(byPeriod, nullptr);
    byPeriod->fromField()->setText("1/1/2020");
    byPeriod->toField()->setText("31/1/2020");
    byPeriod->findButton()->click();
    table[MenuCommand::ExpensesByPeriod](&main);
    EXPECT_EQ(windows.last(), byPeriod);
    EXPECT_EQ(byPeriod->keptTo(), "#1/31/2020#");
}
