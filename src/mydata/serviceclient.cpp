#include "serviceclient.h"

#include "singlerequest.h"

#include <QHostAddress>
#include <QUrlQuery>

namespace MyData {


ServiceClient::ServiceClient(ServiceSettings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
{
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
    // Each request on a connection of its own that nothing resends (see SingleRequest); TLS is
    // Qt's default (the system's certificate authorities, peer verified). Redirects are not
    // followed.
    const SingleRequest::Headers headers = {
        {"aade-user-id", m_settings.user.toUtf8()},
        {"Ocp-Apim-Subscription-Key", m_settings.key.toUtf8()},
        {"Content-Type", "application/xml"},
    };
    ++m_pending;
    new SingleRequest(url, method.toLatin1(), headers, body, m_settings.timeoutMs,
                      [this, done = std::move(done)](const RawReply &raw) {
                          --m_pending;
                          done(exchange(raw));
                      },
                      this);
}

Exchange ServiceClient::exchange(const RawReply &raw)
{
    Exchange e;
    switch (raw.fate) {
    case RawReply::Fate::Complete:
        // An HTTP status came back: the service (or its gateway) answered.
        e.delivery = Exchange::Delivery::Answered;
        e.reply = parseReply(raw.status, raw.body);
        break;
    case RawReply::Fate::NotDelivered:
        e.delivery = Exchange::Delivery::NotDelivered;
        e.networkError = raw.error;
        break;
    case RawReply::Fate::Unknown:
        e.delivery = Exchange::Delivery::Unknown;
        e.networkError = raw.error;
        break;
    }
    return e;
}

} // namespace MyData
