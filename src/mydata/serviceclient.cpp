#include "serviceclient.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace MyData {

namespace {

// Failures that happen before a byte of the request reaches the service.
bool neverDelivered(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
        return true;
    default:
        return false;
    }
}

} // namespace

ServiceClient::ServiceClient(ServiceSettings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_network(new QNetworkAccessManager(this))
{
    // No proxy settings of the desktop are followed for the key's sake; TLS is Qt's default
    // (the system's certificate authorities, peer verified).
    m_network->setProxy(QNetworkProxy::NoProxy);
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

ServiceClient::~ServiceClient() = default;

bool ServiceClient::isAcceptableUrl(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == QLatin1String("https"))
        return true;
    const QHostAddress host(url.host());
    return url.scheme() == QLatin1String("http") && !host.isNull() && host.isLoopback();
}

void ServiceClient::sendInvoices(const QByteArray &invoicesDoc, Done done)
{
    start(QStringLiteral("POST"), QStringLiteral("SendInvoices"), {}, invoicesDoc,
          std::move(done));
}

void ServiceClient::cancelInvoice(qint64 mark, Done done)
{
    start(QStringLiteral("POST"), QStringLiteral("CancelInvoice"),
          {{QStringLiteral("mark"), QString::number(mark)}}, QByteArray(), std::move(done));
}

void ServiceClient::requestTransmittedDocs(qint64 afterMark, const QString &nextPartitionKey,
                                           const QString &nextRowKey, Done done)
{
    QList<QPair<QString, QString>> query = {{QStringLiteral("mark"), QString::number(afterMark)}};
    if (!nextPartitionKey.isEmpty())
        query.append({QStringLiteral("nextPartitionKey"), nextPartitionKey});
    if (!nextRowKey.isEmpty())
        query.append({QStringLiteral("nextRowKey"), nextRowKey});
    start(QStringLiteral("GET"), QStringLiteral("RequestTransmittedDocs"), query, QByteArray(),
          std::move(done));
}

void ServiceClient::start(const QString &method, const QString &call,
                          const QList<QPair<QString, QString>> &query, const QByteArray &body,
                          Done done)
{
    QUrl url = m_settings.baseUrl.resolved(QUrl(call));
    if (!isAcceptableUrl(m_settings.baseUrl)) {
        Exchange e;
        e.delivery = Exchange::Delivery::NotDelivered;
        e.networkError = QStringLiteral("not a secure address: %1")
                             .arg(m_settings.baseUrl.toDisplayString());
        done(e);
        return;
    }
    if (!query.isEmpty()) {
        QUrlQuery q;
        q.setQueryItems(query);
        url.setQuery(q);
    }
    QNetworkRequest request(url);
    request.setRawHeader("aade-user-id", m_settings.user.toUtf8());
    request.setRawHeader("Ocp-Apim-Subscription-Key", m_settings.key.toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/xml"));
    request.setTransferTimeout(m_settings.timeoutMs);
    QNetworkReply *reply = method == QLatin1String("GET")
        ? m_network->get(request)
        : m_network->post(request, body);
    ++m_pending;
    connect(reply, &QNetworkReply::finished, this, [this, reply, done = std::move(done)] {
        --m_pending;
        finish(reply, done);
    });
}

void ServiceClient::finish(QNetworkReply *reply, const Done &done)
{
    reply->deleteLater();
    Exchange e;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply->error();
    if (status.isValid()) {
        // An HTTP status came back: the service (or its gateway) answered, whatever Qt calls
        // the status (401 is "authentication required" to it).
        e.delivery = Exchange::Delivery::Answered;
        const QByteArray body = reply->readAll();
        e.reply = parseReply(status.toInt(), body);
        if (error != QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied
            && e.reply.kind != Reply::Kind::Responses && e.reply.kind != Reply::Kind::Transmitted)
            e.delivery = Exchange::Delivery::Unknown; // the reply broke off on the way
    } else {
        e.delivery = neverDelivered(error) ? Exchange::Delivery::NotDelivered
                                           : Exchange::Delivery::Unknown;
    }
    if (error != QNetworkReply::NoError)
        e.networkError = reply->errorString();
    done(e);
}

} // namespace MyData
