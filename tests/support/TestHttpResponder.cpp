#include "TestHttpResponder.h"

#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {

constexpr int PollMs = 20;

bool waitUntilWritten(QTcpSocket *socket, const std::atomic<bool> &stop)
{
    // A TLS socket encrypts its bytes only when flushed or in an event loop.
    socket->flush();
    while (socket->bytesToWrite() > 0 && !stop) {
        if (!socket->waitForBytesWritten(PollMs)
            && socket->state() != QAbstractSocket::ConnectedState)
            return false;
    }
    return true;
}

void trickle(QTcpSocket *socket, const QByteArray &raw, int interval, const std::atomic<bool> &stop)
{
    for (qsizetype i = 0; i < raw.size() && !stop; ++i) {
        socket->write(raw.constData() + i, 1);
        if (!waitUntilWritten(socket, stop))
            return;
        const QDeadlineTimer next(interval);
        while (!next.hasExpired() && !stop) {
            if (socket->state() != QAbstractSocket::ConnectedState)
                return;
            if (socket->waitForReadyRead(int(std::min<qint64>(PollMs, next.remainingTime()))))
                socket->readAll();
        }
    }
}

void waitUntilPeerCloses(QTcpSocket *socket, const std::atomic<bool> &stop)
{
    while (!stop && socket->state() == QAbstractSocket::ConnectedState) {
        if (socket->waitForReadyRead(PollMs))
            socket->readAll();
    }
}

// A terminator's side of TLS: the accepted socket starts its handshake at once.
class Server : public QTcpServer
{
public:
    const QSslConfiguration *tls = nullptr;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        if (!tls) {
            QTcpServer::incomingConnection(descriptor);
            return;
        }
        auto *socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setSslConfiguration(*tls);
        socket->startServerEncryption();
        addPendingConnection(socket);
    }
};

} // namespace

TestHttpResponder::TestHttpResponder() = default;

void TestHttpResponder::setTls(const QSslConfiguration &configuration)
{
    m_tls = configuration;
    m_useTls = true;
}

TestHttpResponder::~TestHttpResponder()
{
    stopListening();
}

bool TestHttpResponder::startListening(quint16 port)
{
    m_wantedPort = port;
    start();
    m_started.acquire();
    return m_port != 0;
}

void TestHttpResponder::stopListening()
{
    m_stop = true;
    wait();
}

QString TestHttpResponder::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

void TestHttpResponder::setResponse(const QByteArray &target, const Response &response)
{
    QMutexLocker locker(&m_mutex);
    m_responses.insert(target, response);
}

QList<QByteArray> TestHttpResponder::requests() const
{
    QMutexLocker locker(&m_mutex);
    return m_requests;
}

int TestHttpResponder::requestCount() const
{
    QMutexLocker locker(&m_mutex);
    return int(m_requests.size());
}

void TestHttpResponder::clearRequests()
{
    QMutexLocker locker(&m_mutex);
    m_requests.clear();
}

void TestHttpResponder::setResponseOnce(const QByteArray &target, const Response &response)
{
    QMutexLocker locker(&m_mutex);
    m_onceResponses[target].append(response);
}

QByteArray TestHttpResponder::reply(
    int status, const QByteArray &body, const QList<QByteArray> &headers, bool contentLength)
{
    QByteArray raw = "HTTP/1.0 " + QByteArray::number(status) + " Test\r\n";
    for (const QByteArray &header : headers)
        raw += header + "\r\n";
    if (contentLength)
        raw += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    raw += "\r\n" + body;
    return raw;
}

TestHttpResponder::Response TestHttpResponder::responseFor(const QByteArray &target)
{
    QMutexLocker locker(&m_mutex);
    if (auto once = m_onceResponses.find(target); once != m_onceResponses.end() && !once->isEmpty())
        return once->takeFirst();
    return m_responses.value(target, Response {reply(404, "Not Found"), Send});
}

void TestHttpResponder::run()
{
    Server server;
    if (m_useTls)
        server.tls = &m_tls;
    if (server.listen(QHostAddress::LocalHost, m_wantedPort))
        m_port = server.serverPort();
    m_started.release();
    if (m_port == 0)
        return;

    while (!m_stop) {
        if (!server.waitForNewConnection(PollMs))
            continue;
        std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
        if (!socket)
            continue;
        if (!m_greeting.isEmpty()) {
            socket->write(m_greeting);
            waitUntilWritten(socket.get(), m_stop);
            socket->disconnectFromHost();
            continue;
        }
        // A client that refuses the certificate sends no request.
        if (auto *tls = qobject_cast<QSslSocket *>(socket.get());
            tls && !tls->waitForEncrypted(5000)) {
            continue;
        }

        QByteArray request;
        const QDeadlineTimer deadline(10000);
        while (!request.contains("\r\n\r\n") && !m_stop && !deadline.hasExpired()
            && socket->state() == QAbstractSocket::ConnectedState) {
            // TLS may have decrypted the request along with the handshake.
            if (socket->bytesAvailable() > 0 || socket->waitForReadyRead(PollMs))
                request += socket->readAll();
        }
        {
            QMutexLocker locker(&m_mutex);
            m_requests.append(request);
        }
        const QByteArray requestLine = request.left(request.indexOf("\r\n"));
        const QList<QByteArray> parts = requestLine.split(' ');
        const Response response = responseFor(parts.size() > 1 ? parts.at(1) : QByteArray());

        if (response.mode == Trickle) {
            trickle(socket.get(), response.raw, response.interval, m_stop);
        } else if (response.mode != Hang) {
            socket->write(response.raw);
        }
        if (response.mode == Hang || response.mode == SendAndHang) {
            waitUntilPeerCloses(socket.get(), m_stop);
        } else {
            socket->disconnectFromHost();
            if (socket->state() != QAbstractSocket::UnconnectedState)
                socket->waitForDisconnected(1000);
        }
    }
}
