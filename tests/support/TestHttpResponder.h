#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QSslConfiguration>
#include <QString>
#include <QThread>

#include <atomic>

// An HTTP responder on 127.0.0.1 that runs in a thread of its own, so that a
// client blocking the test's thread can still be served. Every answer is sent
// byte for byte as given: status line, headers and body are the test's.
class TestHttpResponder : public QThread
{
public:
    enum Mode {
        Send, // send the bytes, then close
        Hang, // send nothing, keep the connection open
        SendAndHang, // send the bytes, keep the connection open
        Trickle, // send one byte every interval until the peer leaves, then close
    };
    struct Response
    {
        QByteArray raw;
        Mode mode = Send;
        int interval = 0; // milliseconds between two bytes of a Trickle
    };

    TestHttpResponder();
    ~TestHttpResponder() override;

    // Before startListening: speak TLS with this configuration, as a site's
    // terminator would. A request counts only once the handshake is done.
    void setTls(const QSslConfiguration &configuration);
    // Before startListening: send these bytes as soon as a peer connects,
    // whatever it sends, then close (a plaintext service on a TLS port).
    void setGreeting(const QByteArray &raw) { m_greeting = raw; }

    // Starts listening, on a free port unless one is given; false when the
    // port could not be had.
    bool startListening(quint16 port = 0);
    void stopListening();
    quint16 port() const { return m_port; }
    QString url(const QString &path) const;

    // Answers for an exact request target (path and query); others get 404.
    void setResponse(const QByteArray &target, const Response &response);
    void setResponse(
        const QByteArray &target, const QByteArray &raw, Mode mode = Send, int interval = 0)
    {
        setResponse(target, Response {raw, mode, interval});
    }
    QList<QByteArray> requests() const;
    int requestCount() const;
    void clearRequests();
    // Answers the next request for the target once, before the standing answer.
    void setResponseOnce(const QByteArray &target, const Response &response);

    static QByteArray reply(int status, const QByteArray &body,
        const QList<QByteArray> &headers = {}, bool contentLength = true);

protected:
    void run() override;

private:
    Response responseFor(const QByteArray &target);

    mutable QMutex m_mutex;
    QHash<QByteArray, Response> m_responses;
    QList<QByteArray> m_requests;
    QHash<QByteArray, QList<Response>> m_onceResponses;
    QSemaphore m_started;
    std::atomic<bool> m_stop {false};
    std::atomic<quint16> m_port {0};
    quint16 m_wantedPort = 0;
    QSslConfiguration m_tls;
    bool m_useTls = false;
    QByteArray m_greeting;
};
