#include "ebooksservice.h"

#include "connection.h"
#include "dberror.h"
#include "mydatatexts.h"
#include "secretstore.h"

#include <QPointer>

namespace MyData {

namespace {

EbooksService *g_instance = nullptr;

} // namespace

EbooksService::EbooksService(SecretStore &secrets, QString connectionText, QString schemaFolder,
                             QString workstation, QObject *parent)
    : QObject(parent)
    , m_secrets(secrets)
    , m_connectionText(std::move(connectionText))
    , m_schemaFolder(std::move(schemaFolder))
    , m_workstation(std::move(workstation))
{
    m_retry.setInterval(kRetryMinutes * 60 * 1000);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (enabled())
            sendWaiting(false, [](const DrainResult &) {});
    });
}

EbooksService::~EbooksService()
{
    if (g_instance == this)
        g_instance = nullptr;
}

EbooksService *EbooksService::instance()
{
    return g_instance;
}

void EbooksService::setInstance(EbooksService *service)
{
    g_instance = service;
}

void EbooksService::reloadSettings()
{
    Connection c;
    c.setUp(m_connectionText, true);
    m_settings = EbooksSettings::read(c);
    // Made again with the new address and key, but only when the next job starts: a sending in
    // progress finishes with the sender it began with (destroyed now, it would leave the job
    // unfinished and nothing sent again until the program restarts).
    m_senderStale = true;
}

void EbooksService::startRetries()
{
    m_retry.start();
    if (enabled())
        sendWaiting(false, [](const DrainResult &) {});
}

void EbooksService::run(std::function<void(std::function<void()>)> job, bool first)
{
    if (first)
        m_jobs.push_front(std::move(job));
    else
        m_jobs.push_back(std::move(job));
    if (!m_running)
        next();
}

void EbooksService::next()
{
    if (m_jobs.empty()) {
        m_running = false;
        return;
    }
    m_running = true;
    auto job = std::move(m_jobs.front());
    m_jobs.pop_front();
    job([this] {
        emit changed();
        QMetaObject::invokeMethod(this, [this] { next(); }, Qt::QueuedConnection);
    });
}

// The sender with the key read from the keyring; a missing key or keyring gives no sender and
// the reason.
void EbooksService::withSender(std::function<void(Sender *, const QString &)> use)
{
    const QString name = keyName(m_settings.user);
    // The keyring may answer after the program began to close and this service is gone.
    QPointer<EbooksService> alive(this);
    m_secrets.read(name, [this, alive, use = std::move(use)](bool found, const QString &key,
                                                             const QString &error) {
        if (!alive)
            return;
        if (!found) {
            use(nullptr, error.isEmpty() ? MyDataTexts::kNoKey
                                         : MyDataTexts::kNoKey + QLatin1Char('\n') + error);
            return;
        }
        if (!m_sender || m_senderKey != key || m_senderStale) {
            m_senderStale = false;
            m_sender.reset();
            ServiceSettings s = m_settings.service(key);
            if (!m_urlOverride.isEmpty())
                s.baseUrl = m_urlOverride;
            s.timeoutMs = m_timeoutMs;
            try {
                m_sender = std::make_unique<Sender>(m_connectionText, m_schemaFolder, s,
                                                    m_workstation);
                m_senderKey = key;
            } catch (const DbError &e) {
                m_sender.reset();
                use(nullptr, e.message());
                return;
            }
        }
        use(m_sender.get(), QString());
    });
}

void EbooksService::sendReceipt(qint64 number, std::function<void(const Turn &)> done)
{
    run(
        [this, number, done = std::move(done)](std::function<void()> finished) {
            withSender([=](Sender *sender, const QString &why) {
                if (!sender) {
                    Turn t;
                    t.number = number;
                    t.outcome = Outcome::Waiting;
                    t.message = why;
                    done(t);
                    finished();
                    return;
                }
                sender->sendOne(number, [=](const Turn &t) {
                    done(t);
                    finished();
                });
            });
        },
        true);
}

void EbooksService::sendWaiting(bool withRejected, std::function<void(const DrainResult &)> done)
{
    run([this, withRejected, done = std::move(done)](std::function<void()> finished) {
        withSender([=](Sender *sender, const QString &why) {
            if (!sender) {
                DrainResult r;
                Turn t;
                t.outcome = Outcome::Waiting;
                t.message = why;
                r.turns << t;
                done(r);
                finished();
                return;
            }
            sender->drain(withRejected, [=](const DrainResult &r) {
                done(r);
                finished();
            });
        });
    });
}

} // namespace MyData
