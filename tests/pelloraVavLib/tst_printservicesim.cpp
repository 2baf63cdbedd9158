#include "ConnectionListenerInterface.h"
#include "FakeConnector.h"
#include "HexEncrypt.h"
#include "MessageListenerInterface.h"
#include "PrintClientMessager.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

class Registration : public ConnectionListenerInterface
{
public:
    explicit Registration(MessageClientInterface *client)
        : m_client(client)
    { }
    void connectionEstablished() override
    {
        m_client->sendMessage(QStringLiteral("register:jo:lab-07"));
    }
    void connectionLost() override { }

private:
    MessageClientInterface *m_client;
};

// Answers every text with "ack:" and the text.
class Acknowledger : public MessageListenerInterface
{
public:
    explicit Acknowledger(MessageClientInterface *client)
        : m_client(client)
    { }
    void messageReceived(const QString &text) override
    {
        m_client->sendMessage(QLatin1String("ack:") + text);
    }

private:
    MessageClientInterface *m_client;
};

} // namespace

class tst_PrintServiceSim : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void drivesTheMessagerThroughAScenario();
    void servesPrinterScriptsAndLanguages();

private:
    bool startSimulator(const QStringList &arguments);
    QByteArray httpGet(const QByteArray &path);

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_simulator;
    QStringList m_output;
    quint16 m_port = 0;
    quint16 m_httpPort = 0;
};

void tst_PrintServiceSim::init()
{
    QVERIFY(m_dir.isValid());
    m_output.clear();
    m_port = m_httpPort = 0;
}

void tst_PrintServiceSim::cleanup()
{
    if (m_simulator && m_simulator->state() != QProcess::NotRunning) {
        m_simulator->kill();
        m_simulator->waitForFinished(5000);
    }
    m_simulator.reset();
}

bool tst_PrintServiceSim::startSimulator(const QStringList &arguments)
{
    m_simulator = std::make_unique<QProcess>();
    m_simulator->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(m_simulator.get(), &QProcess::readyReadStandardOutput, this, [this] {
        while (m_simulator->canReadLine())
            m_output.append(QString::fromUtf8(m_simulator->readLine()).chopped(1));
    });
    m_simulator->start(QStringLiteral(PRINT_SERVICE_SIMULATOR),
        QStringList {"--port", "0", "--http-port", "0", "--no-stdin"} + arguments);
    static const QRegularExpression listen(QStringLiteral("^LISTEN (tcp|http) \\S+ (\\d+)$"));
    const bool up = QTest::qWaitFor(
        [&] {
            for (const QString &line : std::as_const(m_output)) {
                const auto match = listen.match(line);
                if (match.hasMatch())
                    (match.captured(1) == QLatin1String("tcp") ? m_port : m_httpPort)
                        = quint16(match.captured(2).toUInt());
            }
            return m_port && m_httpPort;
        },
        20000);
    return up;
}

QByteArray tst_PrintServiceSim::httpGet(const QByteArray &path)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_httpPort);
    if (!socket.waitForConnected(10000))
        return {};
    socket.write("GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray response;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(10000))
        response += socket.readAll();
    return response + socket.readAll();
}

void tst_PrintServiceSim::drivesTheMessagerThroughAScenario()
{
    QFile scenario(m_dir.filePath(QStringLiteral("scenario.txt")));
    QVERIFY(scenario.open(QIODevice::WriteOnly));
    scenario.write("# two texts in one write, then a dropped connection\n"
                   "wait-register\n"
                   "send-raw 4|{ts}|A2\\06|{ts}|B7\\0\n"
                   "expect ack:4\\|\\d{14}\\|A2\n"
                   "expect ack:6\\|\\d{14}\\|B7\n"
                   "close\n"
                   "wait-register\n"
                   "quit\n");
    scenario.close();
    QVERIFY(startSimulator({"--scenario", scenario.fileName(), "--timeout", "20000"}));

    PrintClientMessager messager(nullptr);
    FakeConnector connector;
    Registration registration(&messager);
    Acknowledger acknowledger(&messager);
    messager.setPrinterConnector(&connector);
    messager.setPrintServicePort(m_port);
    messager.setReconnectDelay(50);
    messager.addConnectionListener(&registration);
    messager.setMessageListener(&acknowledger);
    messager.reconnect();

    QTRY_COMPARE_WITH_TIMEOUT(m_simulator->state(), QProcess::NotRunning, 30000);
    QCOMPARE(m_simulator->exitCode(), 0);
    QCOMPARE(
        m_output.filter(QRegularExpression(QStringLiteral("^RECV register:jo:lab-07$"))).size(), 2);
    QCOMPARE(m_output.filter(QRegularExpression(QStringLiteral("^OK expect ack:"))).size(), 2);
    QVERIFY(m_output.contains(QStringLiteral("QUIT 0")));
}

void tst_PrintServiceSim::servesPrinterScriptsAndLanguages()
{
    QFile translation(m_dir.filePath(QStringLiteral("FR_CA_OVERRIDE.qm")));
    QVERIFY(translation.open(QIODevice::WriteOnly));
    translation.write("qm bytes\n");
    translation.close();
    const QString install = QStringLiteral("echo 'install \u00e9'; true");
    const QString removal = QStringLiteral("echo remove");
    QVERIFY(startSimulator({"--install-script", install, "--remove-script", removal, "--languages",
        m_dir.path(), "--fail-printers", "1"}));

    QVERIFY(httpGet("/printers/").startsWith("HTTP/1.0 503"));

    const QByteArray printers = httpGet("/printers/");
    QVERIFY(printers.startsWith("HTTP/1.0 200"));
    const QList<QByteArray> lines = printers.mid(printers.indexOf("\r\n\r\n") + 4).split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(2).isEmpty());
    QCOMPARE(UtilsLib::HexEncrypt::decryptData(QString::fromLatin1(lines.at(0))), install);
    QCOMPARE(UtilsLib::HexEncrypt::decryptData(QString::fromLatin1(lines.at(1))), removal);

    const QByteArray language = httpGet("/languages/FR_CA_OVERRIDE.qm");
    QVERIFY(language.startsWith("HTTP/1.0 200"));
    QVERIFY(language.endsWith("\r\n\r\nqm bytes\n"));
    QVERIFY(httpGet("/languages/DE_DE_OVERRIDE.qm").startsWith("HTTP/1.0 404"));
    QVERIFY(httpGet("/languages/../FR_CA_OVERRIDE.qm").startsWith("HTTP/1.0 404"));
    QTRY_VERIFY(m_output.contains(QStringLiteral("HTTP GET /languages/DE_DE_OVERRIDE.qm 404")));
}

QTEST_GUILESS_MAIN(tst_PrintServiceSim)
#include "tst_printservicesim.moc"
