#include "commands.h"

#include "notesprintingwindow.h"
#include "patientprintoutswindow.h"
#include "prescriptionprinting.h"
#include "windowhooks.h"

#include <QCoreApplication>

// The printing windows live for the whole run: each is created here once, after a granted login,
// and removed when the application quits. They are created in three steps so that the windows
// of the whole program come into being in the start-up order (see AreaCommands::addAll).
namespace {

template<typename W> W *liveForTheRun()
{
    auto *window = new W;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [window] { delete window; });
    return window;
}

} // namespace

void AreaCommands::notesPrinting(CommandTable &)
{
    auto *notes = liveForTheRun<NotesPrintingWindow>();
    WindowHooks::openNotesPrinting = [notes](QWidget *, const QString &noteId) {
        notes->NoteId = noteId;
        notes->showModal();
    };
}

void AreaCommands::patientPrintouts(CommandTable &)
{
    auto *printouts = liveForTheRun<PatientPrintoutsWindow>();
    WindowHooks::openPatientPrintouts
        = [printouts](QWidget *, const QString &patientId, const QString &listFilter,
                      const QString &listSql) {
              printouts->PatientId = patientId;
              printouts->ListFilter = listFilter;
              printouts->ListSql = listSql;
              printouts->showModal();
          };
}

void AreaCommands::prescriptions(CommandTable &table)
{
    auto *forms = liveForTheRun<PrescriptionPrinting>();
    table[MenuCommand::PrintPrescription]
        = [forms](QWidget *main) { forms->PrintPrescription(main); };
    table[MenuCommand::PrintCertificate]
        = [forms](QWidget *main) { forms->PrintSickLeaveCertificate(main); };
}

void AreaCommands::printing(CommandTable &table)
{
    notesPrinting(table);
    patientPrintouts(table);
    prescriptions(table);
}
