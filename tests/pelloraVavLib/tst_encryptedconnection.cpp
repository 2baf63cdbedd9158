#include "ConnectionListenerInterface.h"
#include "EventRecorder.h"
#include "FakeConnector.h"
#include "MessageListenerInterface.h"
#include "MessagerListeners.h"
#include "PrintClientMessager.h"
#include "TestCertificates.h"

#include <QSslCertificate>
#include <QSslSocket>
#include <QTcpServer>
#include <QTest>

#include <memory>
#include <vector>

namespace {

enum Terminator { Plaintext = 100, Stalled };

// The site's terminator as the client meets it: TLS with one certificate, a
// plaintext server that answers whatever comes, or a listener that never
// says a word. Keeps what arrives in plaintext or after decryption.
class TestTerminator : public QTcpServer
{
public:
    TestTerminator(int kind, const QSslConfiguration &tls)
        : m_kind(kind)
        , m_tls(tls)
    { }

    void sendToAll(const QByteArray &bytes)
    {
        for (QTcpSocket *socket : m_sockets)
            socket->write(bytes);
    }

    int connections = 0;
    QByteArray received;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        ++connections;
        QTcpSocket *socket = m_kind >= Plaintext ? new QTcpSocket(this) : new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        m_sockets.push_back(socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            received += socket->readAll();
            if (m_kind == Plaintext)
                socket->write("HTTP/1.1 400 Bad Request\r\n\r\n");
        });
        if (auto *ssl = qobject_cast<QSslSocket *>(socket)) {
            ssl->setSslConfiguration(m_tls);
            ssl->startServerEncryption();
        }
    }

private:
    int m_kind;
    QSslConfiguration m_tls;
    std::vector<QTcpSocket *> m_sockets;
};

} // namespace

class tst_EncryptedConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void onlyAVerifiedTerminatorGetsAByte_data();
    void onlyAVerifiedTerminatorGetsAByte();

private:
    TestCertificates m_certificates;
};

void tst_EncryptedConnection::initTestCase()
{
    QString why;
    QVERIFY2(m_certificates.make(&why), qPrintable(why));
}

void tst_EncryptedConnection::onlyAVerifiedTerminatorGetsAByte_data()
{
    QTest::addColumn<int>("terminator"); // a certificate, or Plaintext / Stalled
    QTest::addColumn<QString>("caFile");
    QTest::addColumn<QString>("reason"); // empty: the connection is made

    const QString site = m_certificates.caFile();
    const QString missing = m_certificates.path(QStringLiteral("missing.pem"));
    const QString notPem = m_certificates.path(QStringLiteral("local.ext"));
    const QString expiry = m_certificates.expiredOn();
    // clang-format off
    QTest::addRow("verified") << int(TestCertificates::Good) << site << QString();
    QTest::addRow("self-signed") << int(TestCertificates::SelfSigned) << site
        << "certificate for 127.0.0.1 is not trusted: self-signed, not in " + site;
    QTest::addRow("another CA") << int(TestCertificates::OtherCa) << site
        << "certificate for 127.0.0.1 is not trusted: issued by Somebody Else's CA, not in " + site;
    QTest::addRow("expired") << int(TestCertificates::Expired) << site
        << "certificate for 127.0.0.1 has expired (not after " + expiry + ")";
    QTest::addRow("another name") << int(TestCertificates::OtherName) << site
        << "certificate for 127.0.0.1 names other.example.org, not 127.0.0.1";
    QTest::addRow("plaintext server") << int(Plaintext) << site
        << "no TLS handshake from 127.0.0.1:{port}: the server does not speak TLS";
    QTest::addRow("stalled handshake") << int(Stalled) << site
        << "no TLS handshake from 127.0.0.1:{port} within 1 s";
    QTest::addRow("CA file missing") << int(TestCertificates::Good) << missing
        << "CA file " + missing + " does not exist";
    QTest::addRow("CA file not PEM") << int(TestCertificates::Good) << notPem
        << "CA file " + notPem + " holds no PEM certificate";
    // clang-format on
}

// Nothing the client says reaches a terminator it has not verified, nor one
// that is still in its handshake; a failure is named once however often the
// client tries again on its usual schedule.
void tst_EncryptedConnection::onlyAVerifiedTerminatorGetsAByte()
{
    QFETCH(int, terminator);
    QFETCH(QString, caFile);
    QFETCH(QString, reason);

    TestTerminator server(terminator,
        terminator < Plaintext
            ? m_certificates.serverConfiguration(TestCertificates::Server(terminator))
            : QSslConfiguration());
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    reason.replace(QLatin1String("{port}"), QString::number(server.serverPort()));

    SiteTls site;
    site.enabled = true;
    site.tlsPort = server.serverPort();
    site.caFile = caFile;
    FakeConnector connector;
    connector.host = QStringLiteral("127.0.0.1");
    EventRecorder trace;
    PrintClientMessager messager(&trace);
    messager.setSiteTls(site);
    messager.setPrinterConnector(&connector);
    // Never the plaintext port, even when it is open.
    QTcpServer plaintext;
    QVERIFY(plaintext.listen(QHostAddress::LocalHost, 0));
    messager.setPrintServicePort(plaintext.serverPort());
    messager.setReconnectDelay(50);
    messager.setHandshakeTimeout(300);
    RegisteringListener registration(&messager);
    messager.addConnectionListener(&registration);
    RecordingListener listener;
    messager.setMessageListener(&listener);

    messager.reconnect();
    // A send during the handshake is refused as one without a connection.
    if (caFile == m_certificates.caFile()) {
        QTRY_VERIFY(server.connections > 0);
        QVERIFY(!messager.sendMessage(QStringLiteral("early")));
    }

    if (reason.isEmpty()) {
        QTRY_COMPARE(server.received, QByteArray("register:jo:lab-07", 19));
        QCOMPARE(registration.established, 1);
        QVERIFY(messager.isConnected());
        QVERIFY(messager.lastFailure().isEmpty());
        QVERIFY(messager.sendMessage(QStringLiteral("after")));
        QTRY_COMPARE(server.received, QByteArray("register:jo:lab-07\0after", 25));
        server.sendToAll(QByteArray("54|20261209101500|0", 20));
        QTRY_COMPARE(listener.texts, QStringList {QStringLiteral("54|20261209101500|0")});
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(registration.lost >= 3, 10000);
        QCOMPARE(registration.established, 0);
        QVERIFY(!messager.isConnected());
        QCOMPARE(messager.lastFailure(), reason);
        QCOMPARE(trace.count(QStringLiteral("Warning No encrypted connection to the Print "
                                            "Service: ")
                     + reason),
            1);
        if (terminator >= Plaintext)
            QVERIFY2(!server.received.contains("register"), server.received.constData());
        else
            QVERIFY2(server.received.isEmpty(), server.received.constData());
        if (caFile != m_certificates.caFile())
            QCOMPARE(server.connections, 0);
    }
    QVERIFY(!plaintext.hasPendingConnections());
}

QTEST_MAIN(tst_EncryptedConnection)
#include "tst_encryptedconnection.moc"
