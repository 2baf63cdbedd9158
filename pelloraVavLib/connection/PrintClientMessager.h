#pragma once

#include "MessageClientInterface.h"
#include "Observable.h"
#include "SiteTls.h"
#include "TextFramer.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QSslError>
#include <QString>

class ConnectionListenerInterface;
class MessageListenerInterface;
class PrinterConnectorInterface;
class QTcpSocket;
class QTimer;

namespace UtilsLib {
class Observer;
}

// The one TCP connection to the Print Service. Reconnects after every loss,
// frames received bytes into NUL-terminated texts and hands them, one at a
// time and in arrival order, to the message listener. Where the site
// encrypts the connection it goes through the site's TLS terminator, and the
// connection counts as made only once the terminator's certificate is
// verified.
class PrintClientMessager : public QObject,
                            public MessageClientInterface,
                            public UtilsLib::Observable
{
    Q_OBJECT

public:
    static const QString ClassName;
    static constexpr int PRINT_SERVICE_PORT = 21326;
    static constexpr int RECONNECT_DELAY_MILLIS = 1000;
    static constexpr int UNTERMINATED_TEXT_TIMEOUT_MILLIS = 1000;
    // Far above the largest real text; a longer one drops the connection.
    static constexpr qsizetype MAX_TEXT_BYTES = 1024 * 1024;
    // Texts waiting behind an open dialog: far above what a Print Service that
    // waits for its answers ever sends; more drops the connection.
    static constexpr qsizetype MAX_QUEUED_TEXTS = 64;
    static constexpr qsizetype MAX_QUEUED_BYTES = 4 * 1024 * 1024;
    static constexpr int KEEPALIVE_IDLE_SECS = 60;
    static constexpr int KEEPALIVE_INTERVAL_SECS = 10;
    static constexpr int KEEPALIVE_PROBES = 6;

    // Takes the site's TLS settings in force (SiteTls::current()).
    explicit PrintClientMessager(UtilsLib::Observer *observer, QObject *parent = nullptr);
    ~PrintClientMessager() override;

    // Takes effect on the next connection; the host is always the printer
    // connector's address of the moment.
    void setSiteTls(const SiteTls &site);
    SiteTls siteTls() const { return m_site; }
    // Why the last attempt failed, in words; empty once a connection is made.
    // A plaintext attempt's reason is the socket's error in words.
    QString lastFailure() const { return m_lastFailure; }

    void setMessageListener(MessageListenerInterface *listener);
    void setPrinterConnector(PrinterConnectorInterface *connector);
    void addConnectionListener(ConnectionListenerInterface *listener);

    // The port and the delays are fixed in production; tests shorten them.
    void setPrintServicePort(int port) { m_port = port; }
    int printServicePort() const { return m_port; }
    void setReconnectDelay(int millis);
    int reconnectDelay() const;
    void setUnterminatedTextTimeout(int millis);
    int unterminatedTextTimeout() const;
    void setHandshakeTimeout(int millis);
    int handshakeTimeout() const;
    // Takes effect on the next connection.
    void setKeepAlive(int idleSecs, int intervalSecs, int probes);

    bool isConnected() const;
    bool isReconnectScheduled() const;
    // Bytes of a text whose terminating NUL has not arrived yet.
    int pendingByteCount() const { return int(m_framer.pendingSize()); }
    // Texts received and not yet handed to the listener.
    qsizetype queuedTextCount() const { return m_received.size(); }
    qsizetype queuedByteCount() const;

    // The connected socket's descriptor, -1 without a connection.
    qintptr socketDescriptor() const;

    bool sendMessage(const QString &text) override;
    // Puts every answer still held by the socket on the wire, waiting at
    // most the given time; for a client about to go.
    void flushWrites(int timeoutMillis);
    virtual void connectToServer(const QString &host, int port);
    virtual QByteArray readAvailableData();
    virtual qint64 writeData(const QByteArray &data);

public slots:
    void dataAvailable();
    void connectionEstablished();
    void delayedReconnect();
    void reconnect();
    void writeCompleted(qint64 count);

private:
    void createSocket(bool encrypted);
    void socketConnected();
    void socketEncrypted();
    void socketSslErrors(const QList<QSslError> &errors);
    void socketError(QAbstractSocket::SocketError error);
    void handshakeTimedOut();
    // Names the failure of this attempt; logged once per change of reason.
    void noteFailure(const QString &reason);
    void socketStateChanged(QAbstractSocket::SocketState state);
    void frameReceivedBytes(const QByteArray &data);
    void dropConnection();
    void flushUnterminatedText();
    void deliverQueuedTexts();
    void dropReceivedTexts();
    void enableKeepAlive();

    QList<ConnectionListenerInterface *> m_connectionListeners;
    MessageListenerInterface *m_messageListener = nullptr;
    QTcpSocket *m_socket = nullptr;
    PrinterConnectorInterface *m_printerConnector = nullptr;

    QTimer *m_reconnectTimer = nullptr;
    QTimer *m_handshakeTimer = nullptr;
    SiteTls m_site;
    // The attempt under way: host and port, and whether this attempt already
    // has its reason (a certificate refused, the deadline passed).
    QString m_attemptHost;
    int m_attemptPort = 0;
    bool m_attemptFailed = false;
    bool m_handshaking = false;
    bool m_tcpConnected = false;
    QString m_lastFailure;
    QString m_loggedFailure;
    QTimer *m_unterminatedTimer = nullptr;
    int m_port = PRINT_SERVICE_PORT;
    int m_keepAliveIdle = KEEPALIVE_IDLE_SECS;
    int m_keepAliveInterval = KEEPALIVE_INTERVAL_SECS;
    int m_keepAliveProbes = KEEPALIVE_PROBES;
    TextFramer m_framer {MAX_TEXT_BYTES};
    QQueue<QString> m_received;
    bool m_delivering = false;
    // Counts connections; m_answering holds, innermost last, the connection
    // whose text (or coming up) is being answered, so that an answer never
    // reaches a later connection than its text came on.
    quint64 m_connectionNumber = 0;
    QList<quint64> m_answering;
};
