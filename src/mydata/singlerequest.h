#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTimer>
#include <QUrl>

#include <functional>

class QSslSocket;

// One HTTP/1.1 request on a connection of its own, closed after the reply. It never sends the
// request a second time, whatever the connection does: Qt's own HTTP client resends a request
// (a POST too) whose connection closed before the reply began, and for a document sent to the
// tax authority that is a second document. Plain http only to this computer, else TLS with the
// peer verified (the caller checks the address).
namespace MyData {

struct RawReply {
    enum class Fate {
        Complete,     // a whole HTTP reply came
        NotDelivered, // no byte of the request was written: it never reached the service
        Unknown,      // written, but no whole reply: the service may have acted on it
    };
    Fate fate = Fate::Unknown;
    int status = 0;
    QByteArray body;
    QString error; // why it is not complete
};

class SingleRequest : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const RawReply &)>;
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    // Starts at once; `done` is called once, from the event loop, unless this object is
    // deleted first (the connection then goes with it). The object deletes itself after.
    SingleRequest(const QUrl &url, const QByteArray &method, const Headers &headers,
                  const QByteArray &body, int timeoutMs, Done done, QObject *parent = nullptr);
    ~SingleRequest() override;

    // How many connections the requests of this process opened (tests count them).
    static int connectionsOpened();

private:
    void writeRequest();
    void read();
    // True when m_in holds a whole reply (atClose: the connection has ended).
    bool parse(bool atClose);
    void fail(const QString &why);
    void finish(RawReply reply);

    QSslSocket *m_socket;
    QTimer m_timer;
    QByteArray m_request;
    QByteArray m_in;
    RawReply m_reply;
    bool m_written = false;
    bool m_done = false;
    Done m_callback;
};

} // namespace MyData
