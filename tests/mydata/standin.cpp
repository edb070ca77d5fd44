#include "standin.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QThread>

namespace {

// One request to the stand-in's own control calls, waited for.
QByteArray control(const QUrl &url, const QByteArray &body, bool post)
{
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setTransferTimeout(5000);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("text/plain"));
    QNetworkReply *reply = post ? network.post(request, body) : network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray out = reply->readAll();
    delete reply;
    return out;
}

} // namespace

StandIn::StandIn(const QString &schemaFolder, int port, const QStringList &options)
{
    QStringList args = {QStringLiteral(STANDIN_SCRIPT), QStringLiteral("--user"),
                        QLatin1String(kUser), QStringLiteral("--key"), QLatin1String(kKey)};
    if (!schemaFolder.isEmpty())
        args << QStringLiteral("--xsd") << schemaFolder;
    if (port > 0)
        args << QStringLiteral("--port") << QString::number(port);
    args << options;
    m_tls = options.contains(QStringLiteral("--tls"));
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("python3"), args);
    if (!m_process.waitForStarted(5000))
        return;
    // A port just given up may take a moment to be free again.
    QElapsedTimer clock;
    clock.start();
    while (!m_process.canReadLine() && clock.elapsed() < 5000
           && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(100);
    m_port = m_process.readLine().trimmed().toInt();
}

StandIn::~StandIn()
{
    stop();
}

QUrl StandIn::baseUrl() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(m_port));
}

void StandIn::next(const QStringList &modes)
{
    control(baseUrl().resolved(QUrl(QStringLiteral("_next"))), modes.join('\n').toUtf8(), true);
}

QJsonArray StandIn::log()
{
    return QJsonDocument::fromJson(
               control(baseUrl().resolved(QUrl(QStringLiteral("_log"))), {}, false))
        .array();
}

QJsonObject StandIn::held()
{
    return QJsonDocument::fromJson(
               control(baseUrl().resolved(QUrl(QStringLiteral("_held"))), {}, false))
        .object();
}

int StandIn::calls(const QString &call)
{
    int n = 0;
    for (const QJsonValue &v : log())
        n += v.toObject().value("call").toString() == call;
    return n;
}

void StandIn::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    m_port = 0;
}

bool waitUntil(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}
