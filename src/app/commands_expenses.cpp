#include "commands.h"

#include "expensesbymonthwindow.h"
#include "expensesbyperiodwindow.h"
#include "expenseseditor.h"

#include <QCoreApplication>

// The two review windows live for the whole run, so that each keeps the criteria of its last
// find for printing; the editing window is made anew each time.
void AreaCommands::expenses(CommandTable &table)
{
    auto *byPeriod = new ExpensesByPeriodWindow;
    auto *byMonth = new ExpensesByMonthWindow;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [byPeriod, byMonth] {
        delete byPeriod;
        delete byMonth;
    });

    table[MenuCommand::ExpensesEdit] = [](QWidget *main) {
        TableEditorWindow editor(ExpensesEditor::layout(), main);
        editor.showModal();
    };
    table[MenuCommand::ExpensesByPeriod] = [byPeriod](QWidget *) { byPeriod->showModal(); };
    table[MenuCommand::ExpensesByMonth] = [byMonth](QWidget *) { byMonth->showModal(); };
}
