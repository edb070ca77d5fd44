// Saves a picture of every patient window, with data in it, for a person to look at:
//   xvfb-run -a ./patients_screenshots OUTDIR
#include "connectionstring.h"
#include "findpatientwindow.h"
#include "healthrecordwindow.h"
#include "newpatientwindow.h"
#include "patientdatawindow.h"
#include "patientfieldsform.h"
#include "patientlistwindow.h"
#include "patientsql.h"
#include "practicegenerator.h"
#include "program.h"
#include "visitswindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <connection.h>

namespace {

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

void save(QWidget *w, const QString &dir, const QString &name)
{
    w->show();
    settle();
    w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
    w->hide();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    QTemporaryDir dir;
    generatePractice(QDir(dir.path()).filePath(QStringLiteral("data.mdb")), 40, 300, 12);
    Program::AppDir = dir.path();
    Program::DbConnectionString = ConnectionString::build(dir.path());
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        c.execute(QStringLiteral("UPDATE STOIXEIA_PELATH SET [1]='ΝΑΙ', [7]='ΟΧΙ', [12]='ΝΑΙ', "
                                 "[25]='ΝΑΙ', ISTORIKO='Υπέρταση. Χειρουργείο γόνατος 2015.' "
                                 "WHERE ID=1"));
    }

    {
        NewPatientWindow w;
        w.form()->edit(QStringLiteral("ONOMA"))->setText(QStringLiteral("Ελένη"));
        w.form()->edit(QStringLiteral("EPWNYMO"))->setText(QStringLiteral("Παπαδοπούλου"));
        w.form()->sexBox()->setCurrentIndex(1);
        w.form()
            ->edit(QStringLiteral("HMEROMHNIA_GENNHSEWS"))
            ->setText(QStringLiteral("28/3/1967"));
        save(&w, out, QStringLiteral("TForm16-new-patient"));
    }
    PatientListWindow list;
    {
        FindPatientWindow w(&list);
        w.surnameBox()->setText(QStringLiteral("Παπ"));
        save(&w, out, QStringLiteral("TForm17-find-surname"));
        w.tabs()->setCurrentIndex(1);
        w.fromBox()->setText(QStringLiteral("1/1/1950"));
        w.toBox()->setText(QStringLiteral("31/12/1960"));
        save(&w, out, QStringLiteral("TForm17-find-dates"));
    }
    list.ListSql = PatientSql::allPatients().sql;
    save(&list, out, QStringLiteral("TForm18-list-all"));
    list.ListSql = PatientSql::bySurname(QStringLiteral("ΩΩ")).sql;
    save(&list, out, QStringLiteral("TForm18-list-empty"));
    {
        PatientDataWindow w;
        w.PatientId = QStringLiteral("1");
        save(&w, out, QStringLiteral("TForm19-patient-data"));
    }
    {
        HealthRecordWindow w;
        w.PatientId = QStringLiteral("1");
        w.PatientFirstName = QStringLiteral("Γιώργος");
        w.PatientSurname = QStringLiteral("Παπαδόπουλος");
        w.PatientBirthDate = QStringLiteral("5/3/1955");
        save(&w, out, QStringLiteral("TForm20-health-record"));
    }
    {
        VisitsWindow w;
        w.PatientId = QStringLiteral("1");
        w.PatientFirstName = QStringLiteral("Γιώργος");
        w.PatientSurname = QStringLiteral("Παπαδόπουλος");
        save(&w, out, QStringLiteral("TFORM17A-visits"));
    }
    return 0;
}
