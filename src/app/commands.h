#pragma once

#include <QHash>
#include <functional>

class QWidget;

// The commands of the main menu and the command panel that open windows of other areas.
enum class MenuCommand {
    FindPatient,
    NewPatient,
    PrintPrescription,
    PrintCertificate,
    ExpensesEdit,
    ExpensesByPeriod,
    ExpensesByMonth,
    PeriodIncome,
    IssuedReceipts,
    Notebook,
    Reminders,
    PhoneNumbers,
    Doctors,
    CalendarTools,
    Appointments,
    VatRate,
    ReceiptNumbering,
    PracticeDetails,
};

// What each command does; a command without an entry is shown disabled.
using CommandTable = QHash<MenuCommand, std::function<void(QWidget *mainWindow)>>;

// Each area adds its commands, creates the windows that live for the whole run and sets the
// window hooks it serves (widgets/windowhooks.h). Called once, after a granted login, in the
// order of AreaCommands::addAll. One file per area: commands_<area>.cpp.
namespace AreaCommands {
void printing(CommandTable &table);
void expenses(CommandTable &table);
void patients(CommandTable &table);
void billing(CommandTable &table);
void appointments(CommandTable &table);
void office(CommandTable &table);

inline void addAll(CommandTable &table)
{
    printing(table);
    expenses(table);
    patients(table);
    billing(table);
    appointments(table);
    office(table);
}
} // namespace AreaCommands
