#pragma once

#include "windowhooks.h"

#include <optional>

class QWidget;

// Opening the patient windows from the main window, without its code seeing the database
// layer's headers.
namespace PatientWindows {

// Creates the one patient list window of the run (again only after it was destroyed).
void createPatientList();
// Destroys it; the program calls this when it ends.
void destroyPatientList();
// "Εύρεση ασθενούς": a new find window, shown modally over the main window.
void findPatient(QWidget *mainWindow);
// "Καταχώρηση νέου ασθενούς": a new new-patient window, shown modally.
void newPatient(QWidget *mainWindow);

// The patient finder for choosing one patient (a slot's patient): the find window, then the
// patient list with its "Επιλογή" button; nothing when the person leaves without choosing.
std::optional<PatientContext> choosePatient(QWidget *parent);

} // namespace PatientWindows
