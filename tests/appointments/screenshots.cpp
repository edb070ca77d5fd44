// Pictures of the appointment book for a person to look at: the month view on the current
// month and on March 2026, and a day sheet with some slots filled.
//   xvfb-run -a ./appointments_screenshots OUTDIR
#include "appointmentbook.h"
#include "appointmentlinks.h"
#include "connection.h"
#include "patientappointmentswindow.h"
#include "program.h"
#include "daysheetwindow.h"
#include "monthviewwindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace {

void save(QWidget &w, const QString &path)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        qWarning("window not exposed");
    QTest::qWait(200);
    w.grab().save(path);
    qInfo("%s", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(out);
    TestSupport::TempPractice practice;

    const QDate today = QDate::currentDate();
    for (int d : {2, 3, 9, today.day()}) {
        if (d > today.daysInMonth())
            continue;
        AppointmentBook::book(QDate(today.year(), today.month(), d), "0900-0930", "Παπαδόπουλος");
        AppointmentBook::book(QDate(today.year(), today.month(), d), "1000-1030", "Νικολάου");
    }
    const QDate march(2026, 3, 5);
    AppointmentBook::book(march, "0800-0830", "Γεωργίου Ελένη");
    AppointmentBook::book(march, "0830-0900", "Παπαδόπουλος Γιώργος, αυχενικό");
    AppointmentBook::book(march, "1000-1030", "Νικολάου Μαρία");
    AppointmentBook::book(march, "1500-1530", "Ιωάννου Κώστας - 2η συνεδρία");
    AppointmentBook::book(march, "2130-2200", "Δημητρίου Άννα");
    AppointmentBook::book(QDate(2026, 3, 31), "1200-1230", "Τελευταία μέρα");
    AppointmentBook::book(QDate(2026, 3, 30), "1200-1230", "x");
    AppointmentBook::book(QDate(2026, 3, 30), "1230-1300", "y");

    {
        MonthViewWindow w;
        save(w, out + "/monthview-current.png");
    }
    {
        MonthViewWindow w(nullptr, march);
        save(w, out + "/monthview-2026-03.png");
    }
    {
        DaySheetWindow sheet;
        sheet.DayDateText = QStringLiteral("5/3/2026");
        sheet.DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
        sheet.setUp();
        sheet.show();
        AppointmentBook::typeText(sheet.DBEdit(20), QStringLiteral("Χωρίς αποθήκευση"));
        save(sheet, out + "/daysheet.png");
    }
    // Slots that know their patient, one of whom did not come, and that patient's file.
    practice.exec("INSERT INTO STOIXEIA_PELATH(EPWNYMO,ONOMA) VALUES('Γεωργίου','Ελένη')");
    practice.exec("INSERT INTO STOIXEIA_PELATH(EPWNYMO,ONOMA) VALUES('Παπαδόπουλος','Γιώργος')");
    {
        Connection c;
        c.setUp(Program::DbConnectionString, true);
        Transaction t(c);
        AppointmentLinks::writeDay(c, march, {{0, {1, true}}, {1, {2, false}}});
        AppointmentLinks::writeDay(c, QDate(2026, 3, 31), {{8, {1, false}}});
        t.commit();
        AppointmentBook::book(today.addDays(3), "1100-1130", "Γεωργίου Ελένη");
        AppointmentLinks::writeDay(c, today.addDays(3), {{6, {1, false}}});
    }
    {
        DaySheetWindow sheet;
        sheet.DayDateText = QStringLiteral("5/3/2026");
        sheet.DayQueryText = QStringLiteral("SELECT * FROM RANTEBOU WHERE HMEROMHNIA=#3/5/2026#");
        sheet.setUp();
        save(sheet, out + "/daysheet-linked.png");
    }
    {
        PatientAppointmentsWindow w;
        w.PatientId = QStringLiteral("1");
        w.PatientFirstName = QStringLiteral("Ελένη");
        w.PatientSurname = QStringLiteral("Γεωργίου");
        save(w, out + "/patient-appointments.png");
    }
    return 0;
}
