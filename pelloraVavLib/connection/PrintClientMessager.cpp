#include "PrintClientMessager.h"

#include "ConnectionListenerInterface.h"
#include "MessageListenerInterface.h"
#include "PrinterConnectorInterface.h"
#include "Trace.h"
#include "TraceMask.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

const QString PrintClientMessager::ClassName = QStringLiteral("PrintClientMessager");

PrintClientMessager::PrintClientMessager(UtilsLib::Observer *observer, QObject *parent)
    : QObject(parent)
    , m_socket(new QTcpSocket(this))
    , m_reconnectTimer(new QTimer(this))
    , m_unterminatedTimer(new QTimer(this))
{
    addObserver(observer);
    m_socket->setObjectName(QStringLiteral("socket"));

    m_reconnectTimer->setSingleShot(true);
    m_reconnectTimer->setInterval(RECONNECT_DELAY_MILLIS);
    connect(m_reconnectTimer, &QTimer::timeout, this, &PrintClientMessager::reconnect);

    m_unterminatedTimer->setSingleShot(true);
    m_unterminatedTimer->setInterval(UNTERMINATED_TEXT_TIMEOUT_MILLIS);
    connect(
        m_unterminatedTimer, &QTimer::timeout, this, &PrintClientMessager::flushUnterminatedText);

    connect(m_socket, &QTcpSocket::readyRead, this, &PrintClientMessager::dataAvailable);
    // readyRead() is not emitted again while a handler's dialog runs inside
    // the slot it called; channelReadyRead() is. What arrives meanwhile is
    // framed at once, so that the bound on waiting texts holds for it too.
    connect(m_socket, &QTcpSocket::channelReadyRead, this, [this] {
        if (m_delivering && m_messageListener && m_socket->bytesAvailable() > 0)
            frameReceivedBytes(readAvailableData());
    });
    connect(m_socket, &QTcpSocket::connected, this, &PrintClientMessager::connectionEstablished);
    // A peer close, any socket error of a connection and every failed attempt
    // end in UnconnectedState, once each: that is the one trigger, where
    // disconnected() and errorOccurred() would report one loss twice.
    connect(m_socket, &QTcpSocket::stateChanged, this, &PrintClientMessager::socketStateChanged);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &PrintClientMessager::writeCompleted);
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
    return m_socket->state() == QAbstractSocket::ConnectedState;
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
    m_socket->connectToHost(host, quint16(port));
}

QByteArray PrintClientMessager::readAvailableData()
{
    Trace trace(this, ClassName, "readAvailableData");
    return m_socket->readAll();
}

void PrintClientMessager::flushWrites(int timeoutMillis)
{
    if (m_socket->state() != QAbstractSocket::ConnectedState)
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
    if (m_socket->state() == QAbstractSocket::ConnectedState)
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
    if (m_socket->state() != QAbstractSocket::ConnectedState)
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
    Trace::logf(this, ClassName, "reconnect", Trace::Info, Trace::InfoCode,
        "Attempting to reconnect to print service at %1 on port %2", host, QString::number(m_port));
    connectToServer(host, m_port);
}

void PrintClientMessager::writeCompleted(qint64 count)
{
    Trace trace(this, ClassName, "writeCompleted");
    Trace::logf(this, ClassName, "writeCompleted", Trace::Verbose, Trace::VerboseCode,
        "%1 bytes successfully written to socket", count);
}

void PrintClientMessager::socketStateChanged(QAbstractSocket::SocketState state)
{
    if (state == QAbstractSocket::UnconnectedState)
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
