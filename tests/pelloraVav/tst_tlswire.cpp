// The built client against a site that encrypts: Debian's stunnel4 in front
// of the simulator, with the configuration sites are given. Over TLS a whole
// print job works; against anything but a verified terminator not a byte
// reaches the Print Service, no printer script runs and the system log says
// why.

#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "LogSocket.h"
#include "SiteTerminator.h"
#include "TestCertificates.h"
#include "TestHttpResponder.h"
#include "WholeProgram.h"

#include <csignal>
#include <memory>
#include <vector>

namespace {

const QString AppDir = QStringLiteral(PELLORA_APP_DIR);
const QString ClientName = QStringLiteral("pelloraVav");
// The client's printer fetch gives up a TLS handshake after this.
constexpr int HandshakeBoundMs = 10000;

// What stands on the TLS ports: the site's terminator with one of the test
// certificates, the Print Service itself in plaintext, or a listener that
// accepts and says nothing.
enum Front { Terminator, Plaintext, Stalled };
enum CaFile { SiteCa, Missing, NotPem };

} // namespace

class TlsWireTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void onlyAVerifiedTerminatorReachesThePrintService_data();
    void onlyAVerifiedTerminatorReachesThePrintService();

private:
    QString path(const QString &name) const { return m_root->filePath(name); }
    Child *start(std::unique_ptr<Child> child);
    Child *startSimulator(const QString &name, int port, int httpPort);
    Child *startClient(const QString &display);
    QString systemLog();
    QByteArray reports() const;
    void printJob(Child *simulator, const QString &display, int registered);

    TestCertificates m_certificates;
    std::unique_ptr<QTemporaryDir> m_root;
    std::vector<std::unique_ptr<Child>> m_children;
    std::unique_ptr<LogSocket> m_log;
    QString m_logText;
};

void TlsWireTest::initTestCase()
{
    if (!haveTerminatorTools())
        QSKIP(NoTerminatorTools);
    QVERIFY2(QFileInfo(AppDir + QLatin1Char('/') + ClientName).isExecutable(), qPrintable(AppDir));
    QString why;
    QVERIFY2(m_certificates.make(&why), qPrintable(why));
    QVERIFY(
        writeFile(m_certificates.path(QStringLiteral("not-pem.crt")), "MIIBszCCAVmgAwIBAgIU\n"));

    // The administrators' guide shows the very configuration the terminator runs with.
    QFile readme(QStringLiteral(PELLORA_SOURCE_DIR "/docs/administration.md"));
    QFile configuration(QStringLiteral(PELLORA_SOURCE_DIR "/docs/stunnel-print-service.conf"));
    QVERIFY(readme.open(QIODevice::ReadOnly) && configuration.open(QIODevice::ReadOnly));
    QByteArray quoted;
    for (const QByteArray &line : configuration.readAll().split('\n'))
        quoted += (line.isEmpty() ? line : "    " + line) + '\n';
    QVERIFY2(readme.readAll().contains(quoted.trimmed()), "docs/administration.md quotes another configuration");
}

void TlsWireTest::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QVERIFY(makeProgramFolders(m_root->path(), AppDir + QLatin1Char('/') + ClientName));
    QVERIFY(writeFile(path(QStringLiteral("bin/lpstat")),
        "#!/bin/sh\necho 'system default destination: Lab_Laser'\n", true));
    QVERIFY(writeFile(path(QStringLiteral("bin/lpoptions")), "#!/bin/sh\nexit 0\n", true));
    m_log = std::make_unique<LogSocket>(path(QStringLiteral("log.sock")));
    QVERIFY(m_log->isBound());
    m_logText.clear();
}

void TlsWireTest::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote()
            << QString::fromUtf8(reports()) << "\nsystem log:\n"
            << m_logText << "\ntrace:\n"
            << readLines(path(QStringLiteral("trace.txt"))).join('\n').right(20000);
    // Clients first, the display last.
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        (*it)->stop();
    m_children.clear();
    m_log.reset();
    m_root.reset();
}

Child *TlsWireTest::start(std::unique_ptr<Child> child)
{
    Child *started = child.get();
    m_children.push_back(std::move(child));
    return started;
}

Child *TlsWireTest::startSimulator(const QString &name, int port, int httpPort)
{
    Child *simulator = start(std::make_unique<Child>(name));
    simulator->process.start(AppDir + QStringLiteral("/printservicesim"),
        {QStringLiteral("--port"), QString::number(port), QStringLiteral("--http-port"),
            QString::number(httpPort), QStringLiteral("--install-script"),
            QStringLiteral("echo installed >> ")
                + QString::fromUtf8(shellQuoted(path(QStringLiteral("install.log")))),
            QStringLiteral("--remove-script"),
            QStringLiteral("echo removed >> ")
                + QString::fromUtf8(shellQuoted(path(QStringLiteral("remove.log"))))});
    if (simulator->waitFor(QRegularExpression(QStringLiteral("^LISTEN http")), 0, StartTimeout) < 0)
        return nullptr;
    return simulator;
}

Child *TlsWireTest::startClient(const QString &display)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
    environment.insert(QStringLiteral("USER"), QStringLiteral("patron7"));
    environment.insert(QStringLiteral("PATH"),
        path(QStringLiteral("bin")) + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("PELLORA_LOG_SOCKET"), path(QStringLiteral("log.sock")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), display.isEmpty() ? "offscreen" : "xcb");
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (own.contains(QLatin1String(name)))
            environment.insert(QLatin1String(name), own.value(QLatin1String(name)));
    }
    Child *client = start(std::make_unique<Child>(QStringLiteral("client")));
    client->process.setProcessEnvironment(environment);
    client->process.setWorkingDirectory(path(QStringLiteral("home")));
    client->process.start(path(QStringLiteral("app/")) + ClientName,
        {QStringLiteral("-trace=") + path(QStringLiteral("trace.txt"))});
    return client->process.waitForStarted(StartTimeout) ? client : nullptr;
}

QString TlsWireTest::systemLog()
{
    for (const QByteArray &datagram : m_log->take())
        m_logText += QString::fromUtf8(datagram) + QLatin1Char('\n');
    return m_logText;
}

QByteArray TlsWireTest::reports() const
{
    QByteArray all;
    for (const auto &child : m_children)
        all += child->report() + '\n';
    return all;
}

// Identification, the job's cost and its confirmation, each answered.
void TlsWireTest::printJob(Child *simulator, const QString &display, int registered)
{
    const auto texts = [&] {
        QStringList received;
        for (int i = registered + 1; i < simulator->lines.size(); ++i) {
            if (simulator->lines.at(i).startsWith(QLatin1String("RECV ")))
                received << unescapeSimulatorText(simulator->lines.at(i).mid(5));
        }
        return received;
    };
    const auto answer = [&](const QString &text, const QString &title, const QStringList &keys) {
        const int before = int(texts().size());
        simulator->process.write(QStringLiteral("send %1\n").arg(text).toUtf8());
        // xdotool blocks without an event loop to send it.
        simulator->process.waitForBytesWritten(AnswerTimeout);
        const QString window = xdotool(display,
            {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--name"), title})
                                   .section(QLatin1Char('\n'), 0, 0);
        if (window.isEmpty())
            return QString();
        runXdotool(display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        for (const QString &key : keys) {
            if (key.startsWith(QLatin1Char('=')))
                runXdotool(display,
                    {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                        key.mid(1)});
            else
                runXdotool(display, {QStringLiteral("key"), key});
        }
        (void)QTest::qWaitFor([&] { return texts().size() > before; }, AnswerTimeout);
        return texts().value(before).section(QLatin1Char('|'), 0, 0);
    };
    QCOMPARE(answer(QStringLiteral("54|{ts}|0"), QStringLiteral("^User Identification$"),
                 {QStringLiteral("=jo"), QStringLiteral("Tab"), QStringLiteral("=1234"),
                     QStringLiteral("Return")}),
        QStringLiteral("55"));
    QCOMPARE(answer(QStringLiteral("4|{ts}|A3|B$0.10|C0|E$0.30|H0|I1"),
                 QStringLiteral("^Print this job\\?$"), {QStringLiteral("Return")}),
        QStringLiteral("5"));
    QCOMPARE(answer(QStringLiteral("6|{ts}|1|J1234|T2026-12-09T17:30:00|LDesk 1"),
                 QStringLiteral("^Print Complete$"), {QStringLiteral("Return")}),
        QStringLiteral("86"));
}

void TlsWireTest::onlyAVerifiedTerminatorReachesThePrintService_data()
{
    QTest::addColumn<int>("front");
    QTest::addColumn<int>("certificate");
    QTest::addColumn<int>("caFile");
    QTest::addColumn<QString>("reason"); // a pattern; empty: the print job goes through

    const QString site = QRegularExpression::escape(m_certificates.caFile());
    const QString expiry = m_certificates.expiredOn();
    const QString notPem
        = QRegularExpression::escape(m_certificates.path(QStringLiteral("not-pem.crt")));
    const QString missing
        = QRegularExpression::escape(m_certificates.path(QStringLiteral("missing.crt")));
    // clang-format off
    QTest::addRow("print job over TLS") << int(Terminator) << int(TestCertificates::Good)
        << int(SiteCa) << QString();
    QTest::addRow("self-signed") << int(Terminator) << int(TestCertificates::SelfSigned)
        << int(SiteCa) << "certificate for 127\\.0\\.0\\.1 is not trusted: self-signed, not in " + site;
    QTest::addRow("another CA") << int(Terminator) << int(TestCertificates::OtherCa)
        << int(SiteCa) << "certificate for 127\\.0\\.0\\.1 is not trusted: issued by Somebody Else's CA, not in " + site;
    QTest::addRow("expired") << int(Terminator) << int(TestCertificates::Expired)
        << int(SiteCa) << "certificate for 127\\.0\\.0\\.1 has expired \\(not after " + expiry + "\\)";
    QTest::addRow("another name") << int(Terminator) << int(TestCertificates::OtherName)
        << int(SiteCa) << QString("certificate for 127\\.0\\.0\\.1 names other\\.example\\.org, not 127\\.0\\.0\\.1");
    QTest::addRow("plaintext on the TLS ports") << int(Plaintext) << int(TestCertificates::Good)
        << int(SiteCa) << QString("no TLS handshake from 127\\.0\\.0\\.1:(21327|30045): the server does not speak TLS");
    QTest::addRow("stalled handshake") << int(Stalled) << int(TestCertificates::Good)
        << int(SiteCa) << QString("no TLS handshake from 127\\.0\\.0\\.1:(21327|30045) within \\d+ s");
    QTest::addRow("CA file missing") << int(Terminator) << int(TestCertificates::Good)
        << int(Missing) << "CA file " + missing + " does not exist";
    QTest::addRow("CA file not PEM") << int(Terminator) << int(TestCertificates::Good)
        << int(NotPem) << "CA file " + notPem + " holds no PEM certificate";
    // clang-format on
}

void TlsWireTest::onlyAVerifiedTerminatorReachesThePrintService()
{
    QFETCH(int, front);
    QFETCH(int, certificate);
    QFETCH(int, caFile);
    QFETCH(QString, reason);
    const bool succeeds = reason.isEmpty();
    if (succeeds && !haveDisplayTools())
        QSKIP(NoDisplayTools);

    const QString ca = caFile == SiteCa ? m_certificates.caFile()
        : caFile == Missing             ? m_certificates.path(QStringLiteral("missing.crt"))
                                        : m_certificates.path(QStringLiteral("not-pem.crt"));
    const TerminatorPorts ports;
    QVERIFY(writeFile(path(QStringLiteral("app/printClient.tsp")),
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n<version>1.1</version>\n"
        "<type>Mac Printer Connector</type>\n"
        "<entry name='Print Service Address'>127.0.0.1</entry>\n"
        "<entry name='Print Service TLS'>1</entry>\n"
        "<entry name='Print Service CA File'>"
            + ca.toUtf8() + "</entry>\n</Settings>\n"));

    // The Print Service, in plaintext behind the terminator.
    Child *service = startSimulator(QStringLiteral("printservicesim"), ports.messages, ports.http);
    QVERIFY2(service, reports().constData());
    Child *terminator = nullptr;
    Child *impostor = nullptr;
    QTcpServer silentTls;
    QTcpServer silentHttps;
    TestHttpResponder plainHttp;
    if (front == Terminator) {
        QString why;
        std::unique_ptr<Child> stunnel = startSiteTerminator(m_root->path(),
            m_certificates.certificateFile(TestCertificates::Server(certificate)),
            m_certificates.keyFile(), ports, &why);
        QVERIFY2(stunnel, qPrintable(why));
        terminator = start(std::move(stunnel));
    } else if (front == Plaintext) {
        // A plaintext Print Service on the message port, a web server that
        // answers at once on the HTTPS port.
        impostor = startSimulator(QStringLiteral("plaintext"), ports.tls, 0);
        QVERIFY2(impostor, reports().constData());
        plainHttp.setGreeting(TestHttpResponder::reply(200, "plaintext"));
        QVERIFY(plainHttp.startListening(quint16(ports.https)));
    } else {
        QVERIFY(silentTls.listen(QHostAddress::LocalHost, quint16(ports.tls)));
        QVERIFY(silentHttps.listen(QHostAddress::LocalHost, quint16(ports.https)));
    }

    QString display;
    if (succeeds) {
        m_children.insert(m_children.begin(), startXvfb(&display));
        QVERIFY2(!display.isEmpty(), reports().constData());
    }
    Child *client = startClient(display);
    QVERIFY2(client, reports().constData());

    if (succeeds) {
        const int registered = service->waitFor(
            QRegularExpression(QStringLiteral("^RECV register:")), 0, StartTimeout);
        QVERIFY2(registered >= 0, reports().constData());
        QVERIFY(service->find(exactly(QStringLiteral("HTTP GET /printers/ 200"))) >= 0);
        QCOMPARE(readLines(path(QStringLiteral("install.log"))), QStringList {"installed"});
        // Both went through the terminator.
        for (const char *name : {"print-service-messages", "print-service-https"})
            QVERIFY2(terminator->find(
                         QRegularExpression(QStringLiteral("Service \\[%1\\] accepted connection")
                                                .arg(QLatin1String(name))))
                    >= 0,
                name);
        printJob(service, display, registered);
        // The Print Service drops the connection: the terminator passes its
        // close on, and the client registers again on a new one.
        const int beforeClose = int(service->lines.size());
        service->process.write("close\n");
        QVERIFY2(service->waitFor(QRegularExpression(QStringLiteral("^RECV register:")),
                     beforeClose, StartTimeout)
                >= 0,
            reports().constData());
        QVERIFY(!systemLog().contains(QLatin1String("No encrypted connection")));
        QVERIFY2(client->endsOn(SIGTERM), reports().constData());
        return;
    }

    const QRegularExpression named(reason);
    QVERIFY2(QTest::qWaitFor([&] { return named.match(systemLog()).hasMatch(); },
                 StartTimeout + HandshakeBoundMs),
        qPrintable(reason));
    // The client tries again meanwhile: still nothing gets through.
    QTest::qWait(3000);
    QVERIFY2(client->isRunning(), reports().constData());
    for (const QString &line : service->lines) {
        QVERIFY2(!line.startsWith(QLatin1String("CONNECTED"))
                && !line.startsWith(QLatin1String("RECV"))
                && !line.startsWith(QLatin1String("HTTP")),
            qPrintable(line));
    }
    if (impostor) {
        // The impostors get the handshake's first bytes, never a text or a request.
        QCOMPARE(impostor->find(QRegularExpression(QStringLiteral("^RECV register:"))), -1);
        for (const QByteArray &request : plainHttp.requests())
            QVERIFY2(!request.contains("GET "), request.constData());
    }
    // A CA file that cannot be used stops the client before its first connection.
    if (terminator && caFile != SiteCa)
        QCOMPARE(terminator->find(QRegularExpression(QStringLiteral("accepted connection"))), -1);
    QVERIFY(!QFile::exists(path(QStringLiteral("install.log"))));
    QVERIFY2(client->endsOn(SIGTERM), reports().constData());
    QVERIFY(!QFile::exists(path(QStringLiteral("remove.log"))));
}

QTEST_MAIN(TlsWireTest)
#include "tst_tlswire.moc"
