#include "singlerequest.h"

#include <QNetworkProxy>
#include <QSslSocket>

#include <atomic>

namespace MyData {

namespace {

std::atomic<int> g_connections {0};

// The body of a chunked reply, when all of it is there.
std::optional<QByteArray> unchunk(const QByteArray &data)
{
    QByteArray out;
    qsizetype at = 0;
    for (;;) {
        const qsizetype eol = data.indexOf("\r\n", at);
        if (eol < 0)
            return std::nullopt;
        QByteArray sizeText = data.mid(at, eol - at);
        if (const qsizetype semi = sizeText.indexOf(';'); semi >= 0)
            sizeText.truncate(semi);
        bool ok = false;
        const qsizetype size = sizeText.trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0)
            return std::nullopt;
        if (size == 0)
            return out;
        if (data.size() < eol + 2 + size + 2)
            return std::nullopt;
        out += data.mid(eol + 2, size);
        at = eol + 2 + size + 2;
    }
}

} // namespace

int SingleRequest::connectionsOpened()
{
    return g_connections.load();
}

SingleRequest::SingleRequest(const QUrl &url, const QByteArray &method, const Headers &headers,
                             const QByteArray &body, int timeoutMs, Done done, QObject *parent)
    : QObject(parent)
    , m_socket(new QSslSocket(this))
    , m_callback(std::move(done))
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    const bool tls = url.scheme() == QLatin1String("https");
    const int port = url.port(tls ? 443 : 80);
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (url.port() > 0)
        host += ':' + QByteArray::number(port);
    m_request = method + ' ' + target + " HTTP/1.1\r\nHost: " + host + "\r\n";
    for (const auto &[name, value] : headers)
        m_request += name + ": " + value + "\r\n";
    if (method != "GET" || !body.isEmpty())
        m_request += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    m_request += "Connection: close\r\n\r\n" + body;

    // No proxy settings of the desktop are followed, for the key's sake.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("no reply in time")); });
    connect(m_socket, &QSslSocket::readyRead, this, &SingleRequest::read);
    connect(m_socket, &QSslSocket::disconnected, this, [this] {
        if (m_done)
            return;
        m_in += m_socket->readAll();
        if (parse(true))
            finish(m_reply);
        else
            fail(QStringLiteral("the connection closed before a whole reply"));
    });
    connect(m_socket, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            return; // "disconnected" decides whether the reply is whole
        fail(m_socket->errorString());
    });
    if (tls) {
        connect(m_socket, &QSslSocket::encrypted, this, &SingleRequest::writeRequest);
        m_socket->connectToHostEncrypted(url.host(), quint16(port));
    } else {
        connect(m_socket, &QSslSocket::connected, this, &SingleRequest::writeRequest);
        m_socket->connectToHost(url.host(), quint16(port));
    }
    ++g_connections;
    m_timer.start(timeoutMs);
}

SingleRequest::~SingleRequest()
{
    m_done = true;
    m_socket->abort();
}

void SingleRequest::writeRequest()
{
    if (m_done)
        return;
    m_written = true;
    m_socket->write(m_request);
}

void SingleRequest::read()
{
    if (m_done)
        return;
    m_in += m_socket->readAll();
    if (parse(false))
        finish(m_reply);
}

bool SingleRequest::parse(bool atClose)
{
    for (;;) {
        const qsizetype end = m_in.indexOf("\r\n\r\n");
        if (end < 0)
            return false;
        const QList<QByteArray> lines = m_in.left(end).split('\n');
        const QList<QByteArray> status = lines.first().trimmed().split(' ');
        if (status.size() < 2 || !status[0].startsWith("HTTP/1."))
            return false;
        const int code = status[1].toInt();
        const QByteArray rest = m_in.mid(end + 4);
        if (code >= 100 && code < 200) { // "100 Continue" and the like come before the reply
            m_in = rest;
            continue;
        }
        qsizetype length = -1;
        bool chunked = false;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon < 0)
                continue;
            const QByteArray name = lines[i].left(colon).trimmed().toLower();
            const QByteArray value = lines[i].mid(colon + 1).trimmed();
            if (name == "content-length")
                length = value.toLongLong();
            else if (name == "transfer-encoding" && value.toLower().contains("chunked"))
                chunked = true;
        }
        m_reply.status = code;
        if (chunked) {
            const std::optional<QByteArray> body = unchunk(rest);
            if (!body)
                return false;
            m_reply.body = *body;
        } else if (length >= 0) {
            if (rest.size() < length)
                return false;
            m_reply.body = rest.left(length);
        } else {
            if (!atClose)
                return false;
            m_reply.body = rest;
        }
        m_reply.fate = RawReply::Fate::Complete;
        return true;
    }
}

void SingleRequest::fail(const QString &why)
{
    RawReply r;
    r.fate = m_written ? RawReply::Fate::Unknown : RawReply::Fate::NotDelivered;
    r.error = why;
    finish(r);
}

void SingleRequest::finish(RawReply reply)
{
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    m_socket->abort();
    // Called from the event loop rather than from within the socket's signal, so that the
    // callback may delete whatever it likes, this request's owner included.
    QMetaObject::invokeMethod(
        this,
        [this, reply = std::move(reply)] {
            deleteLater();
            Done done = std::move(m_callback);
            done(reply);
        },
        Qt::QueuedConnection);
}

} // namespace MyData
