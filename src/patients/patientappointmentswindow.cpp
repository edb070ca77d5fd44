#include "patientappointmentswindow.h"

#include "appointmentlinks.h"
#include "recordgrid.h"
#include "reminderqueue.h"
#include "reportrun.h"
#include "schema.h"

#include <QLabel>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const QString kCaption = QStringLiteral("Ραντεβού του ασθενούς");
const QString kFirstName = QStringLiteral("Όνομα:");
const QString kSurname = QStringLiteral("Επώνυμο:");
const QString kAppointments = QStringLiteral(" ραντεβού");
const QString kReminders = QStringLiteral("Υπενθυμίσεις:");
const QStringList kReminderColumns = {QStringLiteral("Ραντεβού"), QStringLiteral("Μέσο"),
                                      QStringLiteral("Προς"), QStringLiteral("Κατάσταση"),
                                      QStringLiteral("Στάλθηκε")};

} // namespace

PatientAppointmentsWindow::PatientAppointmentsWindow(QWidget *parent)
    : PatientWindow(parent)
    , m_list(m_connection)
{
    setObjectName(QStringLiteral("PatientAppointments"));
    setUpWindow(kCaption, 620, 600);

    Kit::boldLabel(kFirstName, this)->setGeometry(16, 10, 70, 20);
    m_firstName = Kit::boldLabel(QString(), this, true);
    m_firstName->setObjectName(QStringLiteral("valueFirstName"));
    m_firstName->setGeometry(90, 10, 200, 20);
    Kit::boldLabel(kSurname, this)->setGeometry(300, 10, 70, 20);
    m_surname = Kit::boldLabel(QString(), this, true);
    m_surname->setObjectName(QStringLiteral("valueSurname"));
    m_surname->setGeometry(374, 10, 230, 20);

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setGeometry(8, 40, 604, 340);
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    m_grid->setRecordSet(
        &m_list, {{QStringLiteral("HMEROMHNIA"), QStringLiteral("Ημερομηνία"), 90, Qt::AlignCenter},
                  {QStringLiteral("WRA"), QStringLiteral("Ώρα"), 100, Qt::AlignCenter},
                  {QStringLiteral("KEIMENO"), QStringLiteral("Ραντεβού"), 280, left},
                  {QStringLiteral("SHMEIWSH"), QStringLiteral("Σημείωση"), 110, left}});

    m_count = Kit::countLabel(this, QStringLiteral("countLine"));
    m_count->setGeometry(8, 388, 300, 20);

    Kit::boldLabel(kReminders, this)->setGeometry(8, 414, 200, 20);
    m_reminders = new QTreeWidget(this);
    m_reminders->setObjectName(QStringLiteral("reminders"));
    m_reminders->setRootIsDecorated(false);
    m_reminders->setHeaderLabels(kReminderColumns);
    m_reminders->setAccessibleName(kReminders);
    m_reminders->setGeometry(8, 436, 604, 118);
    for (const auto &[column, width] : {std::pair {0, 120}, {1, 50}, {2, 200}, {3, 110}})
        m_reminders->header()->resizeSection(column, width);

    m_exit = addExitButton(QStringLiteral("buttonExit"));
    m_exit->setGeometry(width() - 104, height() - 38, 88, 28);
    closesWithWindow({&m_list});
}

void PatientAppointmentsWindow::FormShow()
{
    m_firstName->setText(PatientFirstName);
    m_surname->setText(PatientSurname);
    Kit::guarded(this, [this] {
        const qint64 id = ReportRun::idText(PatientId).toLongLong();
        openConnection();
        const bool withTable
            = Schema::hasTable(m_connection, QLatin1String(Schema::kAppointmentLinksTable));
        reopen(m_list, AppointmentLinks::patientSql(id, now(), withTable));
        m_reminders->clear();
        for (const Reminders::Reminder &r : Reminders::patientReminders(m_connection, id)) {
            const QString when = Reminders::slotStart(r.day, r.slot)
                                     .toString(QStringLiteral("d/M/yyyy HH:mm"));
            const QString sent
                = r.sentAt.isValid()
                ? r.sentAt.toLocalTime().toString(QStringLiteral("d/M/yyyy HH:mm"))
                : QString();
            new QTreeWidgetItem(m_reminders,
                                {when,
                                 r.channel == Reminders::Channel::Email ? QStringLiteral("Email")
                                                                        : QStringLiteral("SMS"),
                                 r.address, Reminders::stateText(r.state), sent});
        }
    });
    m_count->setText(Kit::countText(m_list.rowCount(), kAppointments));
}
