#include "calendarexportwindow.h"

#include "appointmenttexts.h"
#include "connection.h"
#include "datawindow.h"
#include "exportdialog.h"
#include "exportfile.h"
#include "icalendar.h"
#include "messageservice.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kFrom = QStringLiteral("Από:");
const QString kTo = QStringLiteral("Μέχρι:");
const QString kHint = QStringLiteral("Η ημερομηνία δηλώνεται ΗΗ/ΜΜ/ΕΕΕΕ (π.χ 28/03/2007)");
const QString kExport = QStringLiteral("Εξα&γωγή…");
const QString kBadCriteria = QStringLiteral("Λανθασμένα κριτήρια.");
const QString kWritten = QStringLiteral("Γράφτηκαν %1 ραντεβού στο αρχείο\r%2");

QDate readDate(const QLineEdit *box)
{
    return QDate::fromString(box->text().trimmed(), QStringLiteral("d/M/yyyy"));
}

} // namespace

CalendarExportWindow::CalendarExportWindow(QWidget *parent, const QDate &today)
    : Window(parent)
{
    setObjectName(QStringLiteral("CalendarExport"));
    setUpWindow(AppointmentTexts::calendarExportCaption(), 420, 170);

    const QDate first(today.year(), today.month(), 1);
    auto dateBox = [this](const QString &caption, const QString &name, int y, const QDate &d) {
        auto *label = Kit::boldLabel(caption, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, y, 70, 24);
        auto *box = new QLineEdit(boxText(d), this);
        box->setObjectName(name);
        box->setGeometry(86, y, 110, 24);
        label->setBuddy(box);
        return box;
    };
    m_from = dateBox(kFrom, QStringLiteral("editFrom"), 16, first);
    m_to = dateBox(kTo, QStringLiteral("editTo"), 48, first.addMonths(3).addDays(-1));
    auto *hint = new QLabel(kHint, this);
    hint->setGeometry(8, 80, 404, 20);
    hint->setWordWrap(true);

    m_export = new QPushButton(kExport, this);
    m_export->setObjectName(QStringLiteral("buttonExport"));
    m_export->setGeometry(8, height() - 44, 140, 30);
    m_export->setDefault(true);
    connect(m_export, &QPushButton::clicked, this, [this] { exportClick(); });

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 44, 96, 30);
}

QString CalendarExportWindow::boxText(const QDate &d)
{
    return d.toString(QStringLiteral("d/M/yyyy"));
}

bool CalendarExportWindow::exportClick()
{
    const QDate from = readDate(m_from);
    const QDate to = readDate(m_to);
    if (!from.isValid() || !to.isValid() || to < from) {
        Messages::information(this, kBadCriteria);
        return false;
    }
    const QString suggested = QStringLiteral("Ραντεβού %1 έως %2.ics")
                                  .arg(from.toString(QStringLiteral("d-M-yyyy")),
                                       to.toString(QStringLiteral("d-M-yyyy")));
    const QString chosen = ExportDialog::chooseFile(this, suggested,
                                                    {AppointmentTexts::calendarExportFilter()});
    if (chosen.isEmpty())
        return false;
    int count = 0;
    Connection connection;
    const bool ok = Kit::guarded(this, [&] {
        ProgramConnection::open(connection);
        const QByteArray ics = ICalendar::periodCalendar(connection, from, to,
                                                         QDateTime::currentDateTimeUtc());
        count = int(ics.count("BEGIN:VEVENT\r\n"));
        ExportFile::save(chosen, ics);
    });
    if (!ok)
        return false;
    ExportDialog::rememberFolder(chosen);
    Messages::information(this, kWritten.arg(count).arg(QDir::toNativeSeparators(chosen)));
    return true;
}
