#include "commands.h"

#include "patientwindows.h"

#include <QCoreApplication>

void AreaCommands::patients(CommandTable &table)
{
    // The patient list lives for the whole run; it has no parent, so it is destroyed when the
    // application ends.
    PatientWindows::createPatientList();
    if (auto *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, app,
                         [] { PatientWindows::destroyPatientList(); });
    table[MenuCommand::FindPatient] = [](QWidget *main) { PatientWindows::findPatient(main); };
    table[MenuCommand::NewPatient] = [](QWidget *main) { PatientWindows::newPatient(main); };
}
