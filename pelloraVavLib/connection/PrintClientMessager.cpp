#include "PrintClientMessager.h"

#include "ConnectionListenerInterface.h"
#include "MessageListenerInterface.h"
#include "PrinterConnectorInterface.h"
#include "Trace.h"
#include "TraceMask.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

const QString PrintClientMessager::ClassName = QStringLiteral("PrintClientMessager");

namespace {
// A reason may quote a certificate's names: one line, of a bounded length.
constexpr qsizetype MaxReasonLength = 500;

QString oneLine(const QString &text)
{
    QString line = text.left(MaxReasonLength);
    for (QChar &c : line) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return line;
}
} // namespace

PrintClientMessager::PrintClientMessager(UtilsLib::Observer *observer, QObject *parent)
    : QObject(parent)
    , m_reconnectTimer(new QTimer(this))
    , m_handshakeTimer(new QTimer(this))
    , m_site(SiteTls::current())
    , m_unterminatedTimer(new QTimer(this))
{
    addObserver(observer);
    createSocket(m_site.enabled);

    m_reconnectTimer->setSingleShot(true);
    m_reconnectTimer->setInterval(RECONNECT_DELAY_MILLIS);
    connect(m_reconnectTimer, &QTimer::timeout, this, &PrintClientMessager::reconnect);

    m_handshakeTimer->setSingleShot(true);
    m_handshakeTimer->setInterval(SiteTls::HandshakeTimeoutMs);
    connect(m_handshakeTimer, &QTimer::timeout, this, &PrintClientMessager::handshakeTimedOut);

    m_unterminatedTimer->setSingleShot(true);
    m_unterminatedTimer->setInterval(UNTERMINATED_TEXT_TIMEOUT_MILLIS);
    connect(
        m_unterminatedTimer, &QTimer::timeout, this, &PrintClientMessager::flushUnterminatedText);
}

// A plaintext site keeps the plain socket: not even the TLS library is loaded.
void PrintClientMessager::createSocket(bool encrypted)
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
    }
    m_socket = encrypted ? new QSslSocket(this) : new QTcpSocket(this);
    m_socket->setObjectName(QStringLiteral("socket"));

    connect(m_socket, &QTcpSocket::readyRead, this, &PrintClientMessager::dataAvailable);
    // readyRead() is not emitted again while a handler's dialog runs inside
    // the slot it called; channelReadyRead() is. What arrives meanwhile is
    // framed at once, so that the bound on waiting texts holds for it too.
    connect(m_socket, &QTcpSocket::channelReadyRead, this, [this] {
        if (m_delivering && m_messageListener && isConnected() && m_socket->bytesAvailable() > 0)
            frameReceivedBytes(readAvailableData());
    });
    if (auto *ssl = qobject_cast<QSslSocket *>(m_socket)) {
        connect(ssl, &QSslSocket::connected, this, &PrintClientMessager::socketConnected);
        connect(ssl, &QSslSocket::encrypted, this, &PrintClientMessager::socketEncrypted);
        connect(ssl, &QSslSocket::sslErrors, this, &PrintClientMessager::socketSslErrors);
        // A terminator whose Print Service went sends its close_notify and
        // may keep the TCP connection half open: the socket stays connected,
        // though nothing can come any more. That is the loss.
        connect(ssl, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            if (error != QAbstractSocket::RemoteHostClosedError)
                return;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (m_socket->state() == QAbstractSocket::ConnectedState)
                        m_socket->abort();
                },
                ::Qt::QueuedConnection);
        });
    } else {
        connect(
            m_socket, &QTcpSocket::connected, this, &PrintClientMessager::connectionEstablished);
    }
    // A peer close, any socket error of a connection and every failed attempt
    // end in UnconnectedState, once each: that is the one trigger, where
    // disconnected() and errorOccurred() would report one loss twice.
    connect(m_socket, &QTcpSocket::stateChanged, this, &PrintClientMessager::socketStateChanged);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &PrintClientMessager::writeCompleted);
}

void PrintClientMessager::setSiteTls(const SiteTls &site)
{
    Trace trace(this, ClassName, "setSiteTls");
    m_site = site;
    if (m_site.enabled != bool(qobject_cast<QSslSocket *>(m_socket))) {
        m_handshakeTimer->stop();
        m_handshaking = false;
        createSocket(m_site.enabled);
    }
}

PrintClientMessager::~PrintClientMessager()
{
    Trace trace(this, ClassName, "~PrintClientMessager");
    // Closing the socket must not reach listeners or timers of a messager
    // that is going away.
    m_socket->disconnect(this);
    m_socket->abort();
}

void PrintClientMessager::setMessageListener(MessageListenerInterface *listener)
{
    Trace trace(this, ClassName, "setMessageListener");
    m_messageListener = listener;
    if (!listener)
        dropReceivedTexts();
}

void PrintClientMessager::setPrinterConnector(PrinterConnectorInterface *connector)
{
    Trace trace(this, ClassName, "setPrinterConnector");
    m_printerConnector = connector;
}

void PrintClientMessager::addConnectionListener(ConnectionListenerInterface *listener)
{
    Trace trace(this, ClassName, "addConnectionListener");
    if (listener)
        m_connectionListeners.append(listener);
}

void PrintClientMessager::setReconnectDelay(int millis)
{
    m_reconnectTimer->setInterval(millis);
}

int PrintClientMessager::reconnectDelay() const
{
    return m_reconnectTimer->interval();
}

void PrintClientMessager::setUnterminatedTextTimeout(int millis)
{
    m_unterminatedTimer->setInterval(millis);
}

int PrintClientMessager::unterminatedTextTimeout() const
{
    return m_unterminatedTimer->interval();
}

void PrintClientMessager::setHandshakeTimeout(int millis)
{
    m_handshakeTimer->setInterval(millis);
}

int PrintClientMessager::handshakeTimeout() const
{
    return m_handshakeTimer->interval();
}

void PrintClientMessager::setKeepAlive(int idleSecs, int intervalSecs, int probes)
{
    m_keepAliveIdle = idleSecs;
    m_keepAliveInterval = intervalSecs;
    m_keepAliveProbes = probes;
}

qintptr PrintClientMessager::socketDescriptor() const
{
    return isConnected() ? m_socket->socketDescriptor() : -1;
}

bool PrintClientMessager::isConnected() const
{
    // An encrypted connection is made once its handshake is: until then the
    // terminator is not known to be the site's.
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return false;
    const auto *ssl = qobject_cast<const QSslSocket *>(m_socket);
    return !ssl || ssl->isEncrypted();
}

bool PrintClientMessager::isReconnectScheduled() const
{
    return m_reconnectTimer->isActive();
}

bool PrintClientMessager::sendMessage(const QString &text)
{
    Trace trace(this, ClassName, "sendMessage");
    if (!m_answering.isEmpty() && m_answering.constLast() != m_connectionNumber) {
        // The connection the text came on was lost while it was handled: the
        // Print Service of the new connection never asked for this answer.
        Trace::log(this, ClassName, "sendMessage", Trace::Warning, Trace::WarningCode,
            QStringLiteral("Answer to a text of a lost connection not sent"));
        return false;
    }
    QByteArray bytes = text.toUtf8();
    bytes.append('\0');
    if (writeData(bytes) == bytes.size())
        return true;
    delayedReconnect();
    return false;
}

void PrintClientMessager::connectToServer(const QString &host, int port)
{
    Trace trace(this, ClassName, "connectToServer");
    Trace::logf(this, ClassName, "connectToServer", Trace::Info, Trace::InfoCode,
        "Attempting to connect to print service at %1 on port %2", host, QString::number(port));
    // An attempt already under way, or a live connection, settles itself; a
    // second one would only be refused by the socket.
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        return;
    m_framer.clear();
    if (m_socket->bytesAvailable() > 0)
        m_socket->readAll(); // what a lost connection left unread
    auto *ssl = qobject_cast<QSslSocket *>(m_socket);
    if (!ssl) {
        m_attemptHost = host;
        m_attemptPort = port;
        m_tcpConnected = false;
        m_socket->connectToHost(host, quint16(port));
        return;
    }
    SiteTls site = m_site;
    site.host = host;
    QSslConfiguration configuration;
    QString reason;
    if (!site.configuration(&configuration, &reason)) {
        // Not a byte to a terminator that cannot be verified.
        noteFailure(reason);
        delayedReconnect();
        return;
    }
    m_attemptHost = host;
    m_attemptPort = port;
    m_attemptFailed = false;
    m_tcpConnected = false;
    m_handshaking = true;
    ssl->setSslConfiguration(configuration);
    ssl->setPeerVerifyName(host);
    ssl->connectToHostEncrypted(host, quint16(port));
}

void PrintClientMessager::socketConnected()
{
    // A listener that accepts and never answers the handshake would hold the
    // client for ever.
    m_tcpConnected = true;
    m_handshakeTimer->start();
}

void PrintClientMessager::socketEncrypted()
{
    Trace trace(this, ClassName, "socketEncrypted");
    m_handshakeTimer->stop();
    m_handshaking = false;
    if (!m_loggedFailure.isEmpty())
        Trace::logf(this, ClassName, "connectToServer", Trace::Info, Trace::InfoCode,
            "Encrypted connection to %1:%2 made", m_attemptHost, QString::number(m_attemptPort));
    m_lastFailure.clear();
    m_loggedFailure.clear();
    connectionEstablished();
}

void PrintClientMessager::socketSslErrors(const QList<QSslError> &errors)
{
    // Never ignored: the socket ends the handshake once this returns.
    SiteTls site = m_site;
    site.host = m_attemptHost;
    m_attemptFailed = true;
    noteFailure(site.describe(errors));
}

void PrintClientMessager::handshakeTimedOut()
{
    SiteTls site = m_site;
    site.host = m_attemptHost;
    m_attemptFailed = true;
    noteFailure(site.describeHandshakeTimeout(m_attemptPort, m_handshakeTimer->interval()));
    m_socket->abort();
}

// The reason of an attempt that ended before its handshake did, unless a
// certificate or the deadline already gave one.
void PrintClientMessager::socketError(QAbstractSocket::SocketError error)
{
    if (m_attemptFailed)
        return;
    SiteTls site = m_site;
    site.host = m_attemptHost;
    const QString where = QStringLiteral("%1:%2").arg(m_attemptHost).arg(m_attemptPort);
    if (!m_tcpConnected) {
        noteFailure(QCoreApplication::translate("PrintClientMessager", "no connection to %1: %2")
                        .arg(where, m_socket->errorString()));
    } else if (error == QAbstractSocket::SslHandshakeFailedError
        || error == QAbstractSocket::RemoteHostClosedError) {
        noteFailure(site.describeNotTls(m_attemptPort));
    } else {
        noteFailure(QCoreApplication::translate(
            "PrintClientMessager", "connection to %1 lost during the TLS handshake: %2")
                        .arg(where, m_socket->errorString()));
    }
}

void PrintClientMessager::noteFailure(const QString &reason)
{
    m_lastFailure = oneLine(reason);
    if (m_lastFailure == m_loggedFailure)
        return;
    m_loggedFailure = m_lastFailure;
    Trace::log(this, ClassName, "connectToServer", Trace::Warning, Trace::WarningCode,
        QStringLiteral("No encrypted connection to the Print Service: ") + m_lastFailure);
}

QByteArray PrintClientMessager::readAvailableData()
{
    Trace trace(this, ClassName, "readAvailableData");
    return m_socket->readAll();
}

void PrintClientMessager::flushWrites(int timeoutMillis)
{
    if (!isConnected())
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    while (m_socket->bytesToWrite() > 0 && elapsed.elapsed() < timeoutMillis) {
        if (!m_socket->waitForBytesWritten(int(timeoutMillis - elapsed.elapsed())))
            break;
    }
}

qint64 PrintClientMessager::writeData(const QByteArray &data)
{
    Trace trace(this, ClassName, "writeData");
    // C-string view: the trace shows the text up to its terminator.
    Trace::logf(this, ClassName, "writeData", Trace::Info, Trace::InfoCode, "Sending: %1",
        Tessaly::Core::TraceMask::wireText(QString::fromUtf8(data.constData())));
    // Only a live connection takes bytes; a connecting socket would buffer
    // them and send them ahead of the registration text.
    qint64 written = -1;
    if (isConnected())
        written = m_socket->write(data);
    Trace::logf(
        this, ClassName, "writeData", Trace::Info, Trace::InfoCode, "Sent %1 bytes", written);
    return written;
}

void PrintClientMessager::dataAvailable()
{
    Trace trace(this, ClassName, "dataAvailable");
    const QByteArray data = readAvailableData();
    // Qt reports a closed peer through disconnected(); an empty read is only a
    // notification whose bytes an earlier, nested read already took.
    if (data.isEmpty())
        return;
    if (!m_messageListener) {
        dropReceivedTexts();
        return;
    }

    frameReceivedBytes(data);
    deliverQueuedTexts();
}

void PrintClientMessager::frameReceivedBytes(const QByteArray &data)
{
    if (!m_framer.append(data, &m_received)) {
        Trace::logf(this, ClassName, "dataAvailable", Trace::Warning, Trace::WarningCode,
            "Text of more than %1 bytes without terminating NUL; dropping the connection",
            QString::number(MAX_TEXT_BYTES));
        dropConnection();
        return;
    }
    if (m_received.size() > MAX_QUEUED_TEXTS || queuedByteCount() > MAX_QUEUED_BYTES) {
        Trace::logf(this, ClassName, "dataAvailable", Trace::Warning, Trace::WarningCode,
            "More than %1 texts or %2 bytes wait for an answer; dropping the connection",
            QString::number(MAX_QUEUED_TEXTS), QString::number(MAX_QUEUED_BYTES));
        dropConnection();
        return;
    }
    if (m_framer.pendingSize() == 0)
        m_unterminatedTimer->stop();
    else
        m_unterminatedTimer->start();
}

// The loss then takes the usual way: the queue is dropped and the client
// reconnects after the delay.
void PrintClientMessager::dropConnection()
{
    m_unterminatedTimer->stop();
    m_socket->abort();
}

qsizetype PrintClientMessager::queuedByteCount() const
{
    qsizetype bytes = 0;
    for (const QString &text : m_received)
        bytes += text.size() * qsizetype(sizeof(QChar));
    return bytes;
}

void PrintClientMessager::connectionEstablished()
{
    Trace trace(this, ClassName, "connectionEstablished");
    m_tcpConnected = true;
    m_lastFailure.clear();
    m_framer.clear();
    ++m_connectionNumber;
    enableKeepAlive();
    m_answering.append(m_connectionNumber);
    const auto listeners = m_connectionListeners;
    for (ConnectionListenerInterface *listener : listeners)
        listener->connectionEstablished();
    m_answering.removeLast();
}

void PrintClientMessager::enableKeepAlive()
{
    // A Print Service that vanished without a close (a cable pulled, a NAT
    // entry dropped) is noticed after idle + interval * count seconds.
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const int fd = int(m_socket->socketDescriptor());
    if (fd < 0)
        return;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &m_keepAliveIdle, sizeof m_keepAliveIdle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &m_keepAliveInterval, sizeof m_keepAliveInterval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &m_keepAliveProbes, sizeof m_keepAliveProbes);
}

void PrintClientMessager::delayedReconnect()
{
    Trace trace(this, ClassName, "delayedReconnect");
    // Texts of a lost connection can no longer be answered on it.
    if (!isConnected())
        dropReceivedTexts();
    const auto listeners = m_connectionListeners;
    for (ConnectionListenerInterface *listener : listeners)
        listener->connectionLost();
    // One pending attempt at a time: several triggers of one loss (or failed
    // sends while waiting) must not start parallel chains of attempts.
    if (!m_reconnectTimer->isActive())
        m_reconnectTimer->start();
}

void PrintClientMessager::reconnect()
{
    Trace trace(this, ClassName, "reconnect");
    if (!m_printerConnector) {
        Trace::log(this, ClassName, "reconnect", Trace::Error, Trace::ErrorCode,
            QStringLiteral("No printer connector to ask for the print service address"));
        return;
    }
    const QString host = m_printerConnector->getPrintServiceForPelloraPrinter();
    // Never the plaintext port once the site encrypts, not even after a failure.
    const int port = m_site.enabled ? m_site.tlsPort : m_port;
    Trace::logf(this, ClassName, "reconnect", Trace::Info, Trace::InfoCode,
        "Attempting to reconnect to print service at %1 on port %2", host, QString::number(port));
    connectToServer(host, port);
}

void PrintClientMessager::writeCompleted(qint64 count)
{
    Trace trace(this, ClassName, "writeCompleted");
    Trace::logf(this, ClassName, "writeCompleted", Trace::Verbose, Trace::VerboseCode,
        "%1 bytes successfully written to socket", count);
}

void PrintClientMessager::socketStateChanged(QAbstractSocket::SocketState state)
{
    if (state != QAbstractSocket::UnconnectedState)
        return;
    if (m_handshaking) {
        // Named here, before the listeners hear of the loss, whatever order
        // the socket reports its error and its state in.
        m_handshaking = false;
        m_handshakeTimer->stop();
        socketError(m_socket->error());
    } else if (!qobject_cast<QSslSocket *>(m_socket) && !m_tcpConnected
        && !m_attemptHost.isEmpty()) {
        // A plaintext attempt that never connected: refused, unreachable or
        // unanswered, as the socket words it. Not logged: the attempt is.
        m_lastFailure
            = oneLine(QCoreApplication::translate("PrintClientMessager", "no connection to %1: %2")
                          .arg(QStringLiteral("%1:%2").arg(m_attemptHost).arg(m_attemptPort),
                              m_socket->errorString()));
    }
    delayedReconnect();
}

void PrintClientMessager::flushUnterminatedText()
{
    if (m_framer.pendingSize() == 0 || !m_messageListener)
        return;
    // A sender that does not terminate its texts still gets each one read as
    // a whole once nothing more arrives.
    Trace::log(this, ClassName, "dataAvailable", Trace::Warning, Trace::WarningCode,
        QStringLiteral("Text without terminating NUL taken as complete"));
    m_received.enqueue(m_framer.takePending());
    deliverQueuedTexts();
}

void PrintClientMessager::deliverQueuedTexts()
{
    // A handler's modal dialog runs a nested event loop inside
    // messageReceived; texts arriving meanwhile wait here so that each one is
    // answered after the previous one, in arrival order.
    if (m_delivering)
        return;
    m_delivering = true;
    for (;;) {
        while (!m_received.isEmpty() && m_messageListener) {
            m_answering.append(m_connectionNumber);
            m_messageListener->messageReceived(m_received.dequeue());
            m_answering.removeLast();
        }
        // The socket does not repeat readyRead() for bytes that arrived while
        // a handler was inside our readyRead() slot; take them now.
        if (!m_messageListener || !isConnected() || m_socket->bytesAvailable() <= 0)
            break;
        frameReceivedBytes(readAvailableData());
        if (m_received.isEmpty())
            break;
    }
    m_delivering = false;
    if (!m_messageListener)
        m_received.clear();
}

void PrintClientMessager::dropReceivedTexts()
{
    m_framer.clear();
    m_received.clear();
    m_unterminatedTimer->stop();
}
