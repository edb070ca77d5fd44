#pragma once

#include "replyparser.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>


// The e-books service over HTTP: SendInvoices, CancelInvoice and RequestTransmittedDocs, each
// on a connection of its own that is never resent (SingleRequest), each answered through a
// callback on the thread's event loop, so the window that asked never waits. Every request has
// a time limit.
namespace MyData {

struct RawReply;

struct ServiceSettings {
    QUrl baseUrl;       // ends with "/": the calls are resolved against it
    QString user;       // aade-user-id
    QString key;        // Ocp-Apim-Subscription-Key
    int timeoutMs = 30000;
};

// The authority's two addresses (the practice's own "ERP" channel).
inline constexpr char kTestServiceUrl[] = "https://mydataapidev.aade.gr/";
inline constexpr char kProductionServiceUrl[] = "https://mydatapi.aade.gr/myDATA/";

// What became of one request.
struct Exchange {
    enum class Delivery {
        Answered,     // an HTTP reply came; `reply` says what it holds
        NotDelivered, // the request never reached the service (refused, no such host, TLS)
        Unknown,      // it may have reached the service: no reply in time, connection lost
    };
    Delivery delivery = Delivery::Unknown;
    Reply reply;
    QString networkError; // Qt's text of the failure, for the person and the log
};

class ServiceClient : public QObject {
    Q_OBJECT
public:
    explicit ServiceClient(ServiceSettings settings, QObject *parent = nullptr);
    ~ServiceClient() override;

    // An address the key may be sent to: https, or plain http to this computer only (the
    // stand-in service of the tests).
    static bool isAcceptableUrl(const QUrl &url);

    using Done = std::function<void(const Exchange &)>;
    void sendInvoices(const QByteArray &invoicesDoc, Done done);
    void cancelInvoice(qint64 mark, Done done);
    // What this user sent after the given MARK; a continuation token asks for the rest.
    void requestTransmittedDocs(qint64 afterMark, const QString &nextPartitionKey,
                                const QString &nextRowKey, Done done);

    // Requests still waiting for their reply.
    int pending() const { return m_pending; }

private:
    void start(const QString &method, const QString &call, const QList<QPair<QString, QString>> &query,
               const QByteArray &body, Done done);
    static Exchange exchange(const RawReply &raw);

    ServiceSettings m_settings;
    int m_pending = 0;
};

} // namespace MyData
