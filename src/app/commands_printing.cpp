#include "commands.h"

#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "prescriptionprinting.h"
#include "windowhooks.h"

#include <QCoreApplication>

// The printing windows live for the whole run: created here once, after a granted login, and
// removed when the application quits.
void AreaCommands::printing(CommandTable &table)
{
    auto *notes = new NotesPrintingWindow;
    auto *printouts = new PatientPrintoutsWindow;
    auto *forms = new PrescriptionPrinting;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [notes, printouts, forms] {
        delete notes;
        delete printouts;
        delete forms;
    });

    table[MenuCommand::PrintPrescription] = [forms](QWidget *main) { forms->PrintPrescription(main); };
    table[MenuCommand::PrintCertificate] = [forms](QWidget *main) {
        forms->PrintSickLeaveCertificate(main);
    };

    WindowHooks::openPatientPrintouts = [printouts](QWidget *, const QString &patientId,
                                                    const QString &listFilter,
                                                    const QString &listSql) {
        printouts->PatientId = patientId;
        printouts->ListFilter = listFilter;
        printouts->ListSql = listSql;
        printouts->showModal();
    };
    WindowHooks::openNotesPrinting = [notes](QWidget *, const QString &noteId) {
        notes->NoteId = noteId;
        notes->showModal();
    };
}
