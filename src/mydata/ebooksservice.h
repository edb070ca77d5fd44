#pragma once

#include "ebookssettings.h"
#include "sender.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

// The program's one way to the e-books, for the whole run: it reads the settings and the key,
// sends a receipt just issued, tries the waiting ones again at start-up and every few minutes,
// and sends the cancellations. Everything runs one step at a time on the event loop, so two
// windows never send the same receipt at once.
namespace MyData {

class SecretStore;

class EbooksService : public QObject {
    Q_OBJECT
public:
    // The practice's connection text and schema folder, and a name of this workstation.
    EbooksService(SecretStore &secrets, QString connectionText, QString schemaFolder,
                  QString workstation, QObject *parent = nullptr);
    ~EbooksService() override;

    // The service the program runs with; null until set (and in tests that need none).
    static EbooksService *instance();
    static void setInstance(EbooksService *service);

    // How often the waiting receipts are tried again while the program runs.
    static constexpr int kRetryMinutes = 5;

    // Reads the settings again (after the settings window saved them); a sending in progress
    // ends first with the old ones. Throws DbError.
    void reloadSettings();
    const EbooksSettings &settings() const { return m_settings; }
    bool enabled() const { return m_settings.enabled; }

    // Test seams: the address instead of the settings' one (the stand-in service), and the
    // time limit of each request.
    void setServiceUrl(const QUrl &url) { m_urlOverride = url; }
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

    // Sends one receipt ahead of the waiting ones.
    void sendReceipt(qint64 number, std::function<void(const Turn &)> done);
    // Sends what waits, rejected ones too when a person asks.
    void sendWaiting(bool withRejected, std::function<void(const DrainResult &)> done);
    // Starts the retries: one now, then every kRetryMinutes.
    void startRetries();
    QTimer &retryTimer() { return m_retry; }

signals:
    // A receipt's state changed (the register shows it, the count follows).
    void changed();

private:
    void run(std::function<void(std::function<void()>)> job, bool first = false);
    void next();
    void withSender(std::function<void(Sender *, const QString &)> use);

    SecretStore &m_secrets;
    QString m_connectionText;
    QString m_schemaFolder;
    QString m_workstation;
    EbooksSettings m_settings;
    QUrl m_urlOverride;
    int m_timeoutMs = 30000;
    std::unique_ptr<Sender> m_sender;
    QString m_senderKey;
    bool m_senderStale = false;
    std::deque<std::function<void(std::function<void()>)>> m_jobs;
    bool m_running = false;
    QTimer m_retry;
};

} // namespace MyData
