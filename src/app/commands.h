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
    Statistics, // the practice at a glance: charts per month
    IssuedReceipts,
    Notebook,
    Reminders,
    PhoneNumbers,
    Doctors,
    CalendarTools,
    Appointments,
    AppointmentsCalendar, // the appointments of a period as an iCalendar file
    VatRate,
    ReceiptNumbering,
    PracticeDetails,
    EbooksSettings,      // the tax authority's e-books (myDATA)
    SendWaitingReceipts, // the receipts that wait to be sent there
    RemindersSettings,   // appointment reminders by email and SMS
};

// What each command does; a command without an entry is shown disabled.
using CommandTable = QHash<MenuCommand, std::function<void(QWidget *mainWindow)>>;

// Each area adds its commands, creates the windows that live for the whole run and sets the
// window hooks it serves (widgets/windowhooks.h). Called once, after a granted login, in the
// order of AreaCommands::addAll. One file per area: commands_<area>.cpp.
namespace AreaCommands {
void notesPrinting(CommandTable &table);
void patientPrintouts(CommandTable &table);
void prescriptions(CommandTable &table);
// The three printing steps at once.
void printing(CommandTable &table);
void expenses(CommandTable &table);
void patients(CommandTable &table);
void billing(CommandTable &table);
void appointments(CommandTable &table);
void office(CommandTable &table);
void reminders(CommandTable &table);

// The windows that live for the whole run come into being in this order: notes printing, the
// two expenses reviews, the patient list, patient printouts, receipt printing, prescriptions.
inline void addAll(CommandTable &table)
{
    notesPrinting(table);
    expenses(table);
    patients(table);
    patientPrintouts(table);
    billing(table);
    prescriptions(table);
    appointments(table);
    office(table);
    reminders(table);
}
} // namespace AreaCommands
