#include "ConnectionListenerInterface.h"
#include "EventRecorder.h"
#include "FakeConnector.h"
#include "MessageListenerInterface.h"
#include "MessagerListeners.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "PrintClientMessager.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace {

QByteArray readUntilNuls(QTcpSocket *socket, int nulCount)
{
    QByteArray bytes;
    (void)QTest::qWaitFor(
        [&] {
            bytes += socket->readAll();
            return bytes.count('\0') >= nulCount;
        },
        10000);
    return bytes;
}

// A socket that takes all but the last byte.
class ShortWritingMessager : public PrintClientMessager
{
public:
    using PrintClientMessager::PrintClientMessager;
    qint64 writeData(const QByteArray &data) override { return data.size() - 1; }
};

// The calling thread in a network namespace of its own while this lives:
// what the test does to its loopback reaches no other process.
class PrivateNetwork
{
public:
    PrivateNetwork()
        : m_original(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC))
    {
        m_entered = m_original >= 0 && ::unshare(CLONE_NEWNET) == 0;
    }
    ~PrivateNetwork()
    {
        if (m_entered)
            ::setns(m_original, CLONE_NEWNET);
        if (m_original >= 0)
            ::close(m_original);
    }
    PrivateNetwork(const PrivateNetwork &) = delete;
    PrivateNetwork &operator=(const PrivateNetwork &) = delete;

    bool entered() const { return m_entered; }

    // Down, the loopback carries nothing and reports nothing: to either end
    // the other has vanished without a close.
    static bool setLoopbackUp(bool up)
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        ifreq request {};
        std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
        const bool read = fd >= 0 && ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
        request.ifr_flags = short(up ? request.ifr_flags | IFF_UP : request.ifr_flags & ~IFF_UP);
        const bool done = read && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }

private:
    int m_original;
    bool m_entered = false;
};

} // namespace

class tst_PrintClientMessager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void registrationIsFirstOnEveryConnection();
    void refusedAttemptWaitsThenRetries();
    void sendWritesUtf8AndOneNul_data();
    void sendWritesUtf8AndOneNul();
    void sendWhileDisconnectedFailsAndSchedulesReconnect();
    void shortSendFailsAndSchedulesReconnect();
    void receivedBytesAreFramedAtNul_data();
    void receivedBytesAreFramedAtNul();
    void bytesWithoutListenerAreDropped();
    void textArrivingInsideHandlerWaitsForIt();
    void traceLines();
    void endlessTextDropsTheConnection();
    void floodBehindOpenDialogDropsTheConnection_data();
    void floodBehindOpenDialogDropsTheConnection();
    void keepAliveOnTheConnectedSocket();
    void silentlyVanishedPeerIsNoticed();

private:
    QTcpSocket *connectClient();
    QTcpSocket *acceptNext();
    QTcpSocket *acceptRegistration();

    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<FakeConnector> m_connector;
    std::unique_ptr<PrintClientMessager> m_messager;
    std::unique_ptr<RegisteringListener> m_registration;
    std::unique_ptr<RecordingListener> m_listener;
};

void tst_PrintClientMessager::init()
{
    m_server = std::make_unique<QTcpServer>();
    QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
    m_connector = std::make_unique<FakeConnector>();
    m_messager = std::make_unique<PrintClientMessager>(nullptr);
    m_messager->setPrinterConnector(m_connector.get());
    m_messager->setPrintServicePort(m_server->serverPort());
    m_messager->setReconnectDelay(20);
    m_messager->setUnterminatedTextTimeout(60000);
    m_registration = std::make_unique<RegisteringListener>(m_messager.get());
    m_messager->addConnectionListener(m_registration.get());
    m_listener = std::make_unique<RecordingListener>();
    m_messager->setMessageListener(m_listener.get());
}

void tst_PrintClientMessager::cleanup()
{
    m_messager.reset();
    m_registration.reset();
    m_listener.reset();
    m_connector.reset();
    m_server.reset();
}

QTcpSocket *tst_PrintClientMessager::acceptNext()
{
    if (!QTest::qWaitFor([&] { return m_server->hasPendingConnections(); }, 10000))
        return nullptr;
    return m_server->nextPendingConnection();
}

// The server side of the next connection, once its first text, the registration, is in.
QTcpSocket *tst_PrintClientMessager::acceptRegistration()
{
    QTcpSocket *peer = acceptNext();
    if (!peer || readUntilNuls(peer, 1) != QByteArray("register:jo:lab-07", 19))
        return nullptr;
    return m_messager->isConnected() ? peer : nullptr;
}

QTcpSocket *tst_PrintClientMessager::connectClient()
{
    m_messager->reconnect();
    return acceptRegistration();
}

void tst_PrintClientMessager::registrationIsFirstOnEveryConnection()
{
    QTcpSocket *peer = connectClient();
    QVERIFY(peer);
    QCOMPARE(m_registration->established, 1);
    QVERIFY(m_messager->sendMessage(QStringLiteral("after")));
    QCOMPARE(readUntilNuls(peer, 1), QByteArray("after", 6));

    // The Print Service drops the connection: one loss, then a new attempt
    // whose first text is the registration again.
    m_messager->setReconnectDelay(60000);
    peer->close();
    QTRY_COMPARE(m_registration->lost, 1);
    QVERIFY(m_messager->isReconnectScheduled());
    QCOMPARE(m_connector->asked, 1);

    m_messager->setReconnectDelay(20); // restarts the waiting timer
    QVERIFY(acceptRegistration());
    QTRY_COMPARE(m_registration->established, 2);
    QCOMPARE(m_connector->asked, 2);
    QCOMPARE(m_registration->lost, 1);
}

void tst_PrintClientMessager::refusedAttemptWaitsThenRetries()
{
    const int closed = closedLoopbackPort();
    m_messager->setPrintServicePort(closed);
    m_messager->setReconnectDelay(60000);
    m_messager->reconnect();
    QTRY_COMPARE(m_registration->lost, 1);
    // Named for the patron's waiting line by the time the loss is told.
    QCOMPARE(m_messager->lastFailure(),
        QStringLiteral("no connection to 127.0.0.1:%1: Connection refused").arg(closed));
    // Waiting, not hammering: the next attempt is only scheduled.
    QVERIFY(m_messager->isReconnectScheduled());
    QCOMPARE(m_connector->asked, 1);

    m_messager->setReconnectDelay(20);
    QTRY_VERIFY(m_connector->asked >= 3);
    QTRY_VERIFY(m_registration->lost >= 3);
    QCOMPARE(m_registration->established, 0);

    // The reason goes with the first connection.
    m_messager->setPrintServicePort(m_server->serverPort());
    QVERIFY(acceptRegistration());
    QVERIFY(m_messager->lastFailure().isEmpty());
}

void tst_PrintClientMessager::sendWritesUtf8AndOneNul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("ascii") << QStringLiteral("abc") << QByteArray("abc\0", 4);
    QTest::addRow("two-byte character") << QStringLiteral("\u00e9") << QByteArray("\xc3\xa9\0", 3);
    QTest::addRow("empty answer") << QString() << QByteArray("\0", 1);
}

void tst_PrintClientMessager::sendWritesUtf8AndOneNul()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QTcpSocket *peer = connectClient();
    QVERIFY(peer);
    QVERIFY(m_messager->sendMessage(text));
    QCOMPARE(readUntilNuls(peer, 1), bytes);
}

void tst_PrintClientMessager::sendWhileDisconnectedFailsAndSchedulesReconnect()
{
    m_messager->setReconnectDelay(60000);
    QVERIFY(!m_messager->sendMessage(QStringLiteral("lost")));
    QVERIFY(m_messager->isReconnectScheduled());
    QCOMPARE(m_registration->lost, 1);

    m_messager->setReconnectDelay(20);
    QTcpSocket *peer = acceptNext();
    QVERIFY(peer);
    QTRY_VERIFY(m_messager->isConnected());
    QVERIFY(m_messager->sendMessage(QStringLiteral("next")));
    // The refused text is gone for good.
    QCOMPARE(readUntilNuls(peer, 2), QByteArray("register:jo:lab-07\0next\0", 24));
}

void tst_PrintClientMessager::shortSendFailsAndSchedulesReconnect()
{
    ShortWritingMessager messager(nullptr);
    RegisteringListener listener(&messager);
    messager.addConnectionListener(&listener);
    messager.setReconnectDelay(60000);
    QVERIFY(!messager.sendMessage(QStringLiteral("abc")));
    QCOMPARE(listener.lost, 1);
    QVERIFY(messager.isReconnectScheduled());
}

void tst_PrintClientMessager::receivedBytesAreFramedAtNul_data()
{
    // clang-format off
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<int>("flushMillis");
    QTest::addColumn<QStringList>("texts");

    QTest::addRow("one text")
        << QList<QByteArray> {QByteArray("54|20261208203000\0", 18)} << 60000
        << QStringList {"54|20261208203000"};
    QTest::addRow("text in two pieces")
        << QList<QByteArray> {"54|2026120820", QByteArray("3000|A1\0", 8)} << 60000
        << QStringList {"54|20261208203000|A1"};
    QTest::addRow("two texts in one write")
        << QList<QByteArray> {QByteArray("4|x\0" "6|y\0", 8)} << 60000
        << QStringList {"4|x", "6|y"};
    QTest::addRow("text and the start of the next")
        << QList<QByteArray> {QByteArray("4|x\0" "6|", 6), QByteArray("y\0", 2)} << 60000
        << QStringList {"4|x", "6|y"};
    QTest::addRow("character split between reads")
        << QList<QByteArray> {"caf\xc3", QByteArray("\xa9\0", 2)} << 60000
        << QStringList {QStringLiteral("caf\u00e9")};
    QTest::addRow("empty text")
        << QList<QByteArray> {QByteArray("\0", 1)} << 60000 << QStringList {QString()};
    QTest::addRow("unterminated text")
        << QList<QByteArray> {"58|20261208203000|A1"} << 20 << QStringList {"58|20261208203000|A1"};
    // clang-format on
}

void tst_PrintClientMessager::receivedBytesAreFramedAtNul()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(int, flushMillis);
    QFETCH(QStringList, texts);
    m_messager->setUnterminatedTextTimeout(flushMillis);

    QTcpSocket *peer = connectClient();
    QVERIFY(peer);
    const auto consumed = [this] {
        qsizetype bytes = m_messager->pendingByteCount();
        for (const QString &text : std::as_const(m_listener->texts))
            bytes += text.toUtf8().size() + 1;
        return bytes;
    };
    qsizetype written = 0;
    for (const QByteArray &write : writes) {
        peer->write(write);
        written += write.size();
        // Each write must be read on its own before the next goes out.
        QTRY_COMPARE(consumed(), written);
    }
    QTRY_COMPARE(m_listener->texts, texts);
    QCOMPARE(m_messager->pendingByteCount(), 0);
}

void tst_PrintClientMessager::bytesWithoutListenerAreDropped()
{
    m_messager->setMessageListener(nullptr);
    QTcpSocket *peer = connectClient();
    QVERIFY(peer);
    auto *socket = m_messager->findChild<QTcpSocket *>(QStringLiteral("socket"));
    QVERIFY(socket);
    int reads = 0;
    connect(socket, &QTcpSocket::readyRead, this, [&] { ++reads; });

    peer->write(QByteArray("4|dropped\0"
                           "6|half",
        16));
    QTRY_VERIFY(reads >= 1);
    QCOMPARE(socket->bytesAvailable(), 0);
    QCOMPARE(m_messager->pendingByteCount(), 0);

    m_messager->setMessageListener(m_listener.get());
    peer->write(QByteArray("4|kept\0", 7));
    QTRY_COMPARE(m_listener->texts, QStringList {"4|kept"});
    QVERIFY(m_messager->isConnected());
}

void tst_PrintClientMessager::textArrivingInsideHandlerWaitsForIt()
{
    QTcpSocket *peer = connectClient();
    QVERIFY(peer);
    auto *socket = m_messager->findChild<QTcpSocket *>(QStringLiteral("socket"));
    QVERIFY(socket);

    QStringList seenInsideFirst;
    bool secondArrived = false;
    m_listener->onMessage = [&](const QString &text) {
        if (text != QLatin1String("54|first"))
            return;
        // A modal dialog runs a nested event loop; the next text comes in
        // while it is open.
        peer->write(QByteArray("4|second\0", 9));
        QEventLoop dialog;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &dialog, [&] {
            if (socket->bytesAvailable() > 0 || m_messager->pendingByteCount() > 0
                || m_messager->queuedTextCount() > 0) {
                secondArrived = true;
                dialog.quit();
            }
        });
        poll.start(5);
        QTimer::singleShot(10000, &dialog, &QEventLoop::quit);
        dialog.exec();
        seenInsideFirst = m_listener->texts;
    };

    peer->write(QByteArray("54|first\0", 9));
    QTRY_COMPARE(m_listener->texts.size(), 2);
    QVERIFY(secondArrived);
    QCOMPARE(seenInsideFirst, QStringList {"54|first"});
    QCOMPARE(m_listener->texts, (QStringList {"54|first", "4|second"}));
    QCOMPARE(m_listener->maxDepth, 1);
}

void tst_PrintClientMessager::traceLines()
{
    EventRecorder observer;
    m_messager->addObserver(&observer);
    const QString port = QString::number(m_server->serverPort());

    QTcpSocket *peer = connectClient();
    QVERIFY(peer);
    QVERIFY(m_messager->sendMessage(QStringLiteral("abc")));
    QCOMPARE(readUntilNuls(peer, 1), QByteArray("abc", 4));
    QTRY_VERIFY(observer.count(QStringLiteral("Verbose 4 bytes successfully written")) == 1);

    const QStringList expected {
        "Info Attempting to reconnect to print service at 127.0.0.1 on port " + port,
        "Info Attempting to connect to print service at 127.0.0.1 on port " + port,
        "Info Sending: register:jo:lab-07",
        "Info Sent 19 bytes",
        "Verbose 19 bytes successfully written to socket",
        "Info Sending: abc",
        "Info Sent 4 bytes",
        "Verbose 4 bytes successfully written to socket",
    };
    m_messager->removeObserver(&observer);
    QCOMPARE(observer.lines(), expected);
}

// A sender that never ends its text costs the client at most the bound: the
// connection goes, the client comes back and answers the next text as usual.
void tst_PrintClientMessager::endlessTextDropsTheConnection()
{
    EventRecorder recorder;
    m_messager->addObserver(&recorder);
    QTcpSocket *peer = connectClient();
    QVERIFY(peer);

    const QByteArray chunk(64 * 1024, 'x');
    qsizetype sent = 0;
    while (sent <= PrintClientMessager::MAX_TEXT_BYTES && m_registration->lost == 0) {
        peer->write(chunk);
        sent += chunk.size();
        QTRY_VERIFY(m_messager->pendingByteCount() == sent || m_registration->lost == 1);
    }
    QTRY_COMPARE(m_registration->lost, 1);
    QCOMPARE(m_messager->pendingByteCount(), 0);
    QVERIFY(m_listener->texts.isEmpty());
    QCOMPARE(recorder.count(QStringLiteral("Warning Text of more than 1048576 bytes")), 1);

    QTcpSocket *second = acceptRegistration();
    QVERIFY(second);
    second->write(QByteArray("54|20260304050607|0", 20));
    QTRY_COMPARE(m_listener->texts, QStringList {QStringLiteral("54|20260304050607|0")});
    m_messager->removeObserver(&recorder);
}

void tst_PrintClientMessager::floodBehindOpenDialogDropsTheConnection_data()
{
    QTest::addColumn<QByteArray>("flood");
    const QByteArray small = QByteArray(1024, 's') + '\0';
    const QByteArray large = QByteArray(900 * 1024, 'l') + '\0';
    QTest::addRow("many small texts") << small.repeated(1000);
    QTest::addRow("few large texts") << large.repeated(8);
    QTest::addRow("empty texts in one write") << QByteArray(100000, '\0');
}

// While a dialog is open, a peer that floods the client costs it at most the
// bound: the connection goes, the answers given before stay as they were, the
// open dialog's answer does not reach the new connection, and the client
// answers there as usual.
void tst_PrintClientMessager::floodBehindOpenDialogDropsTheConnection()
{
    QFETCH(QByteArray, flood);
    EventRecorder recorder;
    m_messager->addObserver(&recorder);
    const auto detach = qScopeGuard([&] { m_messager->removeObserver(&recorder); });
    QTcpSocket *peer = connectClient();
    QVERIFY(peer);

    qsizetype maxTexts = 0;
    qsizetype maxBytes = 0;
    m_listener->onMessage = [&](const QString &text) {
        if (text == QLatin1String("54|dialog")) {
            peer->write(flood);
            // The dialog stays open until the client is back on a new connection.
            QEventLoop dialog;
            QTimer poll;
            connect(&poll, &QTimer::timeout, &dialog, [&] {
                maxTexts = qMax(maxTexts, m_messager->queuedTextCount());
                maxBytes = qMax(maxBytes, m_messager->queuedByteCount());
                if (m_registration->established >= 2)
                    dialog.quit();
            });
            poll.start(1);
            QTimer::singleShot(20000, &dialog, &QEventLoop::quit);
            dialog.exec();
        }
        m_messager->sendMessage(QStringLiteral("ack:") + text);
    };

    peer->write(QByteArray("4|a\0", 4));
    QCOMPARE(readUntilNuls(peer, 1), QByteArray("ack:4|a", 8));
    peer->write(QByteArray("4|b\0", 4));
    QCOMPARE(readUntilNuls(peer, 1), QByteArray("ack:4|b", 8));
    peer->write(QByteArray("54|dialog\0", 10));
    QTRY_COMPARE_WITH_TIMEOUT(m_listener->texts.size(), 3, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_listener->depth, 0, 30000);

    QCOMPARE(m_registration->lost, 1);
    QCOMPARE(m_registration->established, 2);
    QVERIFY(maxTexts <= PrintClientMessager::MAX_QUEUED_TEXTS);
    QVERIFY(maxBytes <= PrintClientMessager::MAX_QUEUED_BYTES);
    QCOMPARE(recorder.count(QStringLiteral("Warning More than 64 texts or 4194304 bytes")), 1);
    QCOMPARE(recorder.count(QStringLiteral("Warning Answer to a text of a lost connection")), 1);
    // Nothing more came on the dropped connection.
    QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(peer->readAll(), QByteArray());

    QTcpSocket *second = acceptRegistration();
    QVERIFY(second);
    second->write(QByteArray("4|next\0", 7));
    QCOMPARE(readUntilNuls(second, 1), QByteArray("ack:4|next", 11));
    QCOMPARE(m_listener->texts, (QStringList {"4|a", "4|b", "54|dialog", "4|next"}));
}

void tst_PrintClientMessager::keepAliveOnTheConnectedSocket()
{
    QCOMPARE(m_messager->socketDescriptor(), qintptr(-1));
    QVERIFY(connectClient());
    const int fd = int(m_messager->socketDescriptor());
    QVERIFY(fd >= 0);
    const auto option = [fd](int level, int name) {
        int value = -1;
        socklen_t size = sizeof value;
        return ::getsockopt(fd, level, name, &value, &size) == 0 ? value : -1;
    };
    QCOMPARE(option(SOL_SOCKET, SO_KEEPALIVE), 1);
    QCOMPARE(option(IPPROTO_TCP, TCP_KEEPIDLE), PrintClientMessager::KEEPALIVE_IDLE_SECS);
    QCOMPARE(option(IPPROTO_TCP, TCP_KEEPINTVL), PrintClientMessager::KEEPALIVE_INTERVAL_SECS);
    QCOMPARE(option(IPPROTO_TCP, TCP_KEEPCNT), PrintClientMessager::KEEPALIVE_PROBES);
}

void tst_PrintClientMessager::silentlyVanishedPeerIsNoticed()
{
    PrivateNetwork network;
    if (!network.entered())
        QSKIP("No network namespace of the test's own here (unshare needs CAP_SYS_ADMIN)");
    QVERIFY(PrivateNetwork::setLoopbackUp(true));
    // The Print Service inside the private network.
    m_server = std::make_unique<QTcpServer>();
    QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
    m_messager->setPrintServicePort(m_server->serverPort());
    // Seconds instead of minutes: idle 1 s, then two unanswered probes 1 s apart.
    m_messager->setKeepAlive(1, 1, 2);
    QVERIFY(connectClient());

    QElapsedTimer silence;
    silence.start();
    QVERIFY(PrivateNetwork::setLoopbackUp(false));
    QTRY_VERIFY_WITH_TIMEOUT(m_registration->lost >= 1, 30000);
    // Not the link going down itself: only the unanswered probes end the connection.
    QVERIFY2(silence.elapsed() >= 1500, qPrintable(QString::number(silence.elapsed())));

    QVERIFY(PrivateNetwork::setLoopbackUp(true));
    QVERIFY(acceptRegistration());
}

QTEST_MAIN(tst_PrintClientMessager)
#include "tst_printclientmessager.moc"
