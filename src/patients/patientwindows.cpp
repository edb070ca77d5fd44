#include "patientwindows.h"

#include "findpatientwindow.h"
#include "newpatientwindow.h"
#include "patientlistwindow.h"

#include <QPointer>

namespace PatientWindows {

namespace {
QPointer<PatientListWindow> &patientList()
{
    static QPointer<PatientListWindow> list;
    return list;
}
} // namespace

void createPatientList()
{
    if (!patientList())
        patientList() = new PatientListWindow;
}

void destroyPatientList()
{
    delete patientList().data();
}

void findPatient(QWidget *mainWindow)
{
    createPatientList();
    TForm17 w(patientList(), mainWindow);
    w.showModal();
}

std::optional<PatientContext> choosePatient(QWidget *parent)
{
    createPatientList();
    TForm17 w(patientList(), parent);
    w.setChoosing(true);
    w.showModal();
    return w.chosen();
}

void newPatient(QWidget *mainWindow)
{
    TForm16 w(mainWindow);
    w.showModal();
}

} // namespace PatientWindows
