#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

// The project's stand-in for the e-books service (standin.py), started for a test on
// 127.0.0.1 and stopped when the object goes.
class StandIn {
public:
    static constexpr char kUser[] = "practice";
    static constexpr char kKey[] = "secret-key";

    // On a port of its own choosing, or on the given one (a service that comes back); more
    // options of standin.py may follow.
    explicit StandIn(const QString &schemaFolder, int port = 0,
                     const QStringList &options = {});
    ~StandIn();
    StandIn(const StandIn &) = delete;
    StandIn &operator=(const StandIn &) = delete;

    bool isRunning() const { return m_port > 0; }
    int port() const { return m_port; }
    QUrl baseUrl() const;
    // The answers to the next requests, one mode each (see standin.py).
    void next(const QStringList &modes);
    // Every request it took, oldest first.
    QJsonArray log();
    // The documents it holds: their uid and MARK.
    QJsonObject held();
    // How many requests of a call it took ("SendInvoices", "RequestTransmittedDocs" ...).
    int calls(const QString &call);
    void stop();

private:
    QProcess m_process;
    int m_port = 0;
    bool m_tls = false; // "--tls CERT KEY" among the options: https
};

// Runs the event loop until the condition holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()> &condition, int milliseconds = 10000);
