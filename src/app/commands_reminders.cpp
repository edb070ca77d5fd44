#include "commands.h"

#include "connection.h"
#include "dberror.h"
#include "messageservice.h"
#include "program.h"
#include "remindersecrets.h"
#include "reminderssettingswindow.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

namespace {

// Sends the reminders that are due every few minutes while the program runs, on a thread of
// its own (a mail server may take its time); tells the person what needs them, once each.
class ReminderRuns : public QObject {
public:
    explicit ReminderRuns(MyData::SecretStore &secrets)
        : m_secrets(secrets)
    {
        connect(&m_timer, &QTimer::timeout, this, &ReminderRuns::start);
        m_timer.start(5 * 60 * 1000);
        QTimer::singleShot(60 * 1000, this, &ReminderRuns::start);
    }
    ~ReminderRuns() override
    {
        if (m_thread)
            m_thread->wait();
    }

private:
    void start()
    {
        if (m_thread)
            return;
        try {
            Connection c;
            c.setUp(Program::DbConnectionString, true);
            if (!Reminders::load(c).enabled)
                return;
        } catch (const DbError &) {
            return;
        }
        QPointer<ReminderRuns> self(this);
        Reminders::readSecrets(m_secrets, [self](const Reminders::Secrets &secrets, const QString &) {
            if (!self || self->m_thread)
                return;
            const QString text = Program::DbConnectionString;
            auto report = std::make_shared<Reminders::RunReport>();
            self->m_thread = QThread::create([text, secrets, report] {
                try {
                    Connection c;
                    c.setUp(text, true);
                    Reminders::RunOptions options;
                    options.sender = QSysInfo::machineHostName() + QLatin1Char('/')
                        + QString::number(QCoreApplication::applicationPid());
                    *report = Reminders::sendDue(c, secrets, QDateTime::currentDateTimeUtc(),
                                                 options);
                } catch (const DbError &) {
                    // The next run tries again; the queue says what happened.
                }
            });
            connect(self->m_thread, &QThread::finished, self, [self, report] {
                self->m_thread->deleteLater();
                self->m_thread = nullptr;
                for (const QString &notice : report->notices)
                    if (!self->m_told.contains(notice)) {
                        self->m_told << notice;
                        Messages::information(nullptr, notice);
                    }
            });
            self->m_thread->start();
        });
    }

    MyData::SecretStore &m_secrets;
    QTimer m_timer;
    QThread *m_thread = nullptr;
    QStringList m_told;
};

} // namespace

void AreaCommands::reminders(CommandTable &table)
{
    auto *secrets = new MyData::KeychainSecretStore(QLatin1String(Reminders::kSecretService));
    auto *runs = new ReminderRuns(*secrets);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [runs, secrets] {
        delete runs;
        delete secrets;
    });
    table[MenuCommand::RemindersSettings] = [secrets](QWidget *parent) {
        RemindersSettingsWindow window(*secrets, parent);
        window.showModal();
    };
}
