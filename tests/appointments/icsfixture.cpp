// Writes the appointments of a test practice as two iCalendar exports, for read_ics.py to read
// with another implementation (python3-icalendar): icsfixture OUTDIR writes OUTDIR/first.ics and
// OUTDIR/second.ics, the second a minute later after one slot's text changed.
#include "appointmentbook.h"
#include "appointmentlinks.h"
#include "connection.h"
#include "icalendar.h"
#include "program.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: icsfixture OUTDIR\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    TestSupport::TempPractice practice;
    // Both sides of the change to summer time (29 March 2026) and back (25 October 2026).
    AppointmentBook::book(QDate(2026, 3, 28), "1000-1030", "Παπαδόπουλος Γιώργος");
    AppointmentBook::book(QDate(2026, 3, 29), "0800-0830", "Κυριακή, πρωί; δοκιμή \\ κάθετος");
    AppointmentBook::book(QDate(2026, 3, 30), "1000-1030", "Βλάχου Ελένη");
    AppointmentBook::book(QDate(2026, 3, 30), "2130-2200",
                          QString(QStringLiteral("Μακρύ κείμενο με ελληνικά γράμματα ")).repeated(2));
    AppointmentBook::book(QDate(2026, 3, 31), "0830-0900", "   ");
    AppointmentBook::book(QDate(2026, 10, 24), "1000-1030", "Πριν την αλλαγή");
    AppointmentBook::book(QDate(2026, 10, 26), "1000-1030", "Μετά την αλλαγή");
    AppointmentBook::book(QDate(2026, 11, 2), "1000-1030", "Έξω από την περίοδο");
    Connection c;
    c.setUp(Program::DbConnectionString, true);
    {
        Transaction t(c);
        AppointmentLinks::writeDay(c, QDate(2026, 3, 30), {{4, {1, true}}});
        t.commit();
    }
    const QDate from(2026, 3, 1);
    const QDate to(2026, 10, 31);
    const QDateTime stamp(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    write(out.filePath("first.ics"), ICalendar::periodCalendar(c, from, to, stamp));
    AppointmentBook::book(QDate(2026, 3, 28), "1000-1030", "Παπαδόπουλος Γιώργος (άλλαξε)");
    write(out.filePath("second.ics"), ICalendar::periodCalendar(c, from, to, stamp.addSecs(60)));
    return 0;
}
