#include "commands.h"

#include "calendarexportwindow.h"
#include "monthviewwindow.h"

void AreaCommands::appointments(CommandTable &table)
{
    // A fresh month view each time, on today's month.
    table[MenuCommand::Appointments] = [](QWidget *mainWindow) {
        TForm1a window(mainWindow);
        window.showModal();
    };
    table[MenuCommand::AppointmentsCalendar] = [](QWidget *mainWindow) {
        CalendarExportWindow window(mainWindow);
        window.showModal();
    };
}
