// The expenses windows driven as a person would: the period and month reviews with their
// criteria, totals, refusals, prints of the kept criteria and what closing resets; the editing
// window's order and saving.
#include "expensesbymonthwindow.h"
#include "expensesbyperiodwindow.h"
#include "expenseseditor.h"
#include "printingtestsupport.h"
#include "program.h"
#include "recordnavigator.h"
#include "sqltext.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace PrintingTest;

namespace {

// Amounts as this system shows them (written here with points).
QStringList nums(const QStringList &pointed)
{
    QStringList out;
    for (const QString &a : pointed)
        out << TestSupport::num(a);
    return out;
}

QStringList column(const RecordGrid *grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, c).data().toString();
    return out;
}

// Types key by key as a person does (Greek letters included, which keyClicks cannot send).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
    }
}

void retype(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    typeText(field, text);
}

class Expenses : public PrintingFixture {
protected:
    void find(ExpensesReviewWindow &w, const QString &from, const QString &to)
    {
        retype(w.fromField(), from);
        retype(w.toField(), to);
        w.findButton()->click();
    }
    void addExpense(const QString &date, double amount, double vat)
    {
        practice.exec(QStringLiteral("INSERT INTO EKSODA (HMEROMHNIA, POSO, VAT, PERIGRAFH) "
                                     "VALUES (%1, %2, %3, 'x')")
                          .arg(SqlText::ToSqlDate(date))
                          .arg(amount)
                          .arg(vat));
    }
};

} // namespace

TEST_F(Expenses, APeriodListsItsExpensesOldestFirstWithTheTotals)
{
    ExpensesByPeriodWindow w;
    find(w, "01/03/2008", "31/03/2008");
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(w.keptFrom(), "#3/1/2008#");
    EXPECT_EQ(w.keptTo(), "#3/31/2008#");
    EXPECT_EQ(column(w.grid(), 0), (QStringList {"Ενοίκιο", "Ρεύμα"}));
    EXPECT_EQ(column(w.grid(), 1), (QStringList {"05/03/2008", "20/03/2008"}));
    EXPECT_EQ(column(w.grid(), 4), nums({"119.00", "48.20"}));
    EXPECT_EQ(w.totals(), nums({"140.50", "26.70", "167.20"}));
    EXPECT_TRUE(w.printButton()->isEnabled());
    // The bounds are both included: a period of the one day of an expense finds it.
    find(w, "2/4/2008", "2/4/2008");
    EXPECT_EQ(column(w.grid(), 0), (QStringList {"Γραφική ύλη"}));
    // A period with no expenses: an empty grid and empty totals, and nothing refused.
    find(w, "1/1/2009", "31/12/2009");
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
    EXPECT_EQ(w.totals(), (QStringList {"", "", ""}));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(Expenses, PunctuationInAFieldDisablesTheFindButton)
{
    ExpensesByPeriodWindow w;
    EXPECT_TRUE(w.findButton()->isEnabled()); // both empty pass
    const struct {
        const char *from;
        const char *to;
        bool enabled;
    } cases[] = {
        {"01.03.2008", "31/03/2008", false}, {"01/03/2008", "31-03-2008", false},
        {"01/03/2008", "31/03/2008", true},  {"1/3/2008'", "", false},
        {" 1/3/2008 ", "abc", true},
    };
    for (const auto &c : cases) {
        retype(w.fromField(), c.from);
        retype(w.toField(), c.to);
        EXPECT_EQ(w.findButton()->isEnabled(), c.enabled) << c.from << " - " << c.to;
    }
    // Enter does nothing while the button is disabled.
    retype(w.fromField(), "01.03.2008");
    w.FindClick();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
}

TEST_F(Expenses, DatesThatAreNotDatesAreRefusedAndLeaveNothingToPrint)
{
    ExpensesByPeriodWindow w;
    const struct {
        const char *from;
        const char *to;
    } cases[] = {{"31/02/2008", "31/03/2008"}, {"abc", "31/03/2008"}, {"", "31/03/2008"},
                 {"01/03/2008", "32/03/2008"}, {"01/03/2008", ""},    {"1/13/2008", "1/1/2009"}};
    for (const auto &c : cases) {
        find(w, "01/03/2008", "31/03/2008");
        ASSERT_TRUE(w.printButton()->isEnabled());
        messages.clear();
        find(w, c.from, c.to);
        EXPECT_EQ(messages.texts(), QStringList {"Λανθασμένα κριτήρια."}) << c.from << " " << c.to;
        EXPECT_FALSE(w.printButton()->isEnabled()) << c.from << " " << c.to;
    }
}

TEST_F(Expenses, ARefusedFindLeavesNoRowsOrTotalsOfTheFindBefore)
{
    ExpensesByPeriodWindow period;
    ExpensesByMonthWindow month;
    const struct {
        ExpensesReviewWindow *window;
        const char *from, *to, *badFrom;
    } cases[]
        = {{&period, "01/03/2008", "31/03/2008", "31/02/2008"}, {&month, "2008", "2008", "abc"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.window->objectName().toStdString());
        ExpensesReviewWindow &w = *c.window;
        find(w, c.from, c.to);
        ASSERT_GT(w.grid()->model()->rowCount(), 0);
        ASSERT_NE(w.totals(), (QStringList {"", "", ""}));
        messages.clear();
        find(w, c.badFrom, c.to);
        EXPECT_EQ(messages.texts(), QStringList {"Λανθασμένα κριτήρια."});
        EXPECT_EQ(w.grid()->model()->rowCount(), 0);
        EXPECT_EQ(w.totals(), (QStringList {"", "", ""}));
        EXPECT_FALSE(w.navigator()->button(RecordNavigator::Next)->isEnabled());
    }
}

TEST_F(Expenses, MonthsOfTwoYearsAreAtMostTwentyFourRowsFromJanuaryOn)
{
    for (int year : {2006, 2007, 2008, 2009})
        for (int month = 1; month <= 12; ++month)
            for (int day : {1, 28})
                addExpense(QStringLiteral("%1/%2/%3").arg(day).arg(month).arg(year), 10, 1.5);
    ExpensesByMonthWindow w;
    find(w, "2007", "2008");
    ASSERT_EQ(w.grid()->model()->rowCount(), 24);
    EXPECT_EQ(column(w.grid(), 0).first(), "1");
    EXPECT_EQ(column(w.grid(), 1).first(), "2007");
    EXPECT_EQ(column(w.grid(), 0).last(), "12");
    EXPECT_EQ(column(w.grid(), 1).last(), "2008");
    // The sample rows add 140.50 in March and 12.00 in April 2008.
    EXPECT_EQ(column(w.grid(), 2).at(14), TestSupport::num("160.50"));
    EXPECT_EQ(column(w.grid(), 2).at(0), TestSupport::num("20.00"));
    EXPECT_EQ(w.totals(), nums({"632.50", "98.70", "731.20"}));
    // A month without expenses has no row.
    find(w, "2008", "2008");
    practice.exec("DELETE FROM EKSODA WHERE MONTH(HMEROMHNIA)=6");
    find(w, "2008", "2008");
    EXPECT_EQ(w.grid()->model()->rowCount(), 11);
    EXPECT_FALSE(column(w.grid(), 0).contains("6"));
    // Years with no expenses: nothing listed, empty totals.
    find(w, "1990", "1999");
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
    EXPECT_EQ(w.totals(), (QStringList {"", "", ""}));
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(Expenses, YearsThatAreNotWholeNumbersAreRefusedAndNeverReachTheStatement)
{
    ExpensesByMonthWindow w;
    for (const char *from : {"", "abc", "2007 OR 1", "2007 2008", "ΔΥΟ"}) {
        messages.clear();
        find(w, QString::fromUtf8(from), "2008");
        EXPECT_EQ(messages.texts(), QStringList {"Λανθασμένα κριτήρια."}) << from;
        EXPECT_FALSE(w.printButton()->isEnabled()) << from;
        EXPECT_FALSE(w.list().sql().contains(QString::fromUtf8(from).trimmed() + " AND")) << from;
    }
}

TEST_F(Expenses, PrintingUsesTheKeptCriteriaNotTheEditedFields)
{
    ExpensesByPeriodWindow period;
    find(period, "01/03/2008", "31/03/2008");
    retype(period.fromField(), "01/04/2008");
    retype(period.toField(), "30/04/2008");
    period.printButton()->click();
    ASSERT_EQ(output.runs().size(), 1) << messages.last().toStdString();
    EXPECT_EQ(output.runs()[0].projectFile, Program::AppDir + "\\EKSODA1.RAV");
    QString text = lastText();
    EXPECT_TRUE(text.contains("Ενοίκιο"));
    EXPECT_TRUE(text.contains("Ρεύμα"));
    EXPECT_FALSE(text.contains("Γραφική ύλη"));
    EXPECT_TRUE(text.contains("167.20") || text.contains("167,20")) << text.toStdString();
    // The report's queries are closed and emptied; the find's connection stays open.
    EXPECT_TRUE(period.reportList().sql().isEmpty());
    EXPECT_FALSE(period.reportList().isOpen());

    ExpensesByMonthWindow month;
    find(month, "2008", "2008");
    retype(month.fromField(), "1990");
    month.printButton()->click();
    ASSERT_EQ(output.runs().size(), 2) << messages.last().toStdString();
    EXPECT_EQ(output.runs()[1].projectFile, Program::AppDir + "\\EKSODA2.RAV");
    text = lastText();
    EXPECT_TRUE(text.contains("2008"));
    EXPECT_TRUE(text.contains("152.50") || text.contains("152,50")) << text.toStdString();
}

TEST_F(Expenses, AMissingLayoutIsReportedWithItsName)
{
    removeLayout("EKSODA2.RAV");
    ExpensesByMonthWindow w;
    find(w, "2008", "2008");
    w.printButton()->click();
    EXPECT_TRUE(output.runs().isEmpty());
    ASSERT_FALSE(messages.shown().isEmpty());
    EXPECT_EQ(messages.shown().last().kind, "error");
    EXPECT_TRUE(messages.last().contains("EKSODA2.RAV"));
}

TEST_F(Expenses, AReopenedReviewWindowIsEmptyButKeepsItsCriteria)
{
    ExpensesByPeriodWindow w;
    w.show();
    find(w, "01/03/2008", "31/03/2008");
    ASSERT_EQ(w.grid()->model()->rowCount(), 2);
    w.exitButton()->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.fromField()->text().isEmpty());
    EXPECT_TRUE(w.toField()->text().isEmpty());
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
    EXPECT_EQ(w.totals(), (QStringList {"", "", ""}));
    EXPECT_FALSE(w.printButton()->isEnabled());
    EXPECT_EQ(w.keptFrom(), "#3/1/2008#");
    // Shown again it starts from that state and finds again.
    w.show();
    EXPECT_EQ(w.grid()->model()->rowCount(), 0);
    find(w, "01/04/2008", "30/04/2008");
    EXPECT_EQ(w.grid()->model()->rowCount(), 1);
    w.close();
}

TEST_F(Expenses, TheEditingWindowListsNewestFirstAndSavesWhatIsTyped)
{
    TableEditorWindow w(ExpensesEditor::layout());
    EXPECT_EQ(w.windowTitle(), "Λειτουργικά έξοδα - Επεξεργασία");
    EXPECT_EQ(column(w.grid(), 1), (QStringList {"2/4/2008", "20/3/2008", "5/3/2008"}));
    w.navigator()->press(RecordNavigator::Insert);
    const QStringList typed {"15/1/2010", TestSupport::num("20.5"), TestSupport::num("3.5"),
                             "Καθαριότητα"};
    const QStringList fields {"HMEROMHNIA", "POSO", "VAT", "PERIGRAFH"};
    for (int i = 0; i < fields.size(); ++i)
        typeText(w.editor(fields[i]), typed[i]);
    w.navigator()->press(RecordNavigator::Post);
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(practice.scalar("SELECT POSO+VAT FROM EKSODA WHERE PERIGRAFH='Καθαριότητα'"), "24");
    // Ctrl+Delete asks first; Cancel keeps the row.
    messages.queueAnswer(false);
    QTest::keyClick(w.grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(messages.texts().last(), "Delete record?");
    EXPECT_EQ(practice.count("SELECT * FROM EKSODA"), 4);
    QTest::keyClick(w.grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(practice.count("SELECT * FROM EKSODA"), 3);
}

TEST_F(Expenses, AnAmountThatIsNotANumberIsRefusedAndNothingIsStored)
{
    const struct {
        const char *field;
        const char *typed;
    } cases[] = {{"POSO", "δέκα"}, {"POSO", "12abc"}, {"VAT", "1.2.3"}, {"VAT", "--5"}};
    for (const auto &c : cases) {
        TableEditorWindow w(ExpensesEditor::layout());
        messages.clear();
        w.navigator()->press(RecordNavigator::Insert);
        typeText(w.editor("HMEROMHNIA"), "1/6/2010");
        typeText(w.editor("POSO"), "10");
        typeText(w.editor("VAT"), "1");
        typeText(w.editor("PERIGRAFH"), "Δοκιμή");
        auto *amount = qobject_cast<QLineEdit *>(w.editor(c.field));
        amount->selectAll();
        typeText(amount, QString::fromUtf8(c.typed));
        w.navigator()->press(RecordNavigator::Post);
        ASSERT_EQ(messages.shown().size(), 1) << c.typed;
        EXPECT_EQ(messages.shown()[0].kind, "error") << c.typed;
        EXPECT_FALSE(messages.last().isEmpty());
        EXPECT_EQ(w.table().state(), RecordSet::State::Insert) << c.typed;
        EXPECT_EQ(practice.count("SELECT * FROM EKSODA WHERE PERIGRAFH='Δοκιμή'"), 0) << c.typed;
    }
}
