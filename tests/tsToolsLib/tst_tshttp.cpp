#include "HttpFetcher.h"
#include "OutputCapture.h"
#include "SiteTerminator.h"
#include "SiteTls.h"
#include "TestCertificates.h"
#include "TestHttpResponder.h"
#include "TsHttp.h"
#include "TsHttpFactory.h"
#include "TsHttpMac.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

// Terminators of the TLS table besides the certificates.
enum { Plaintext = 100, Stalled, RedirectOff, HttpsElsewhere };

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

// The transport's account of a failure, the same words from both clients.
QString transportText(TsHttpInterface *http)
{
    if (auto *qt = qobject_cast<TsHttp *>(http))
        return qt->lastErrorDetail();
    return static_cast<TsHttpMac *>(http)->lastErrorText();
}

std::unique_ptr<TsHttpInterface> client(bool qt)
{
    if (qt)
        return std::make_unique<TsHttp>();
    return std::make_unique<TsHttpMac>();
}

QByteArray randomBytes(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(4711);
    for (char &c : data)
        c = char(generator.bounded(256));
    return data;
}

} // namespace

class tst_TsHttp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void macGetWritesBodyAndNul();
    void macEmptyBodyIsFailure();
    void macTimeoutPerInstance_data();
    void macTimeoutPerInstance();
    void macTimeoutIsItsOwn();
    void macDiagnosticLineIsPrintedWhole();
    void factoryCreatesFetcherClient();
    void qtGet();
    void qtTimeout();
    void qtStatusTexts_data();
    void qtStatusTexts();
    void qtAbortSlot();
    void realServerServesBothClients();
    void hostileServer_data();
    void hostileServer();
    void siteTls_data();
    void siteTls();
    void throughSiteTerminator_data();
    void throughSiteTerminator();
    // Leaves the application's event loops for good: keep it last.
    void qtAbortsWhenApplicationQuits();

private:
    TestHttpResponder m_server;
    TestCertificates m_certificates;
};

void tst_TsHttp::initTestCase()
{
    QVERIFY(m_server.startListening());
    QString why;
    QVERIFY2(m_certificates.make(&why), qPrintable(why));
}

void tst_TsHttp::init()
{
    m_server.clearRequests();
    http_setTimeout(30);
}

void tst_TsHttp::macGetWritesBodyAndNul()
{
    const QByteArray body("line one\nline two\0tail", 22);
    m_server.setResponse("/doc", TestHttpResponder::reply(200, body));
    TsHttpMac http;
    QByteArray data("stale content that must go away");
    QBuffer buffer(&data);
    QVERIFY(http.get(m_server.url(QStringLiteral("/doc")), &buffer));
    QVERIFY(!buffer.isOpen());
    QCOMPARE(data, body + '\0');
}

void tst_TsHttp::macEmptyBodyIsFailure()
{
    m_server.setResponse("/empty", TestHttpResponder::reply(200, ""));
    TsHttpMac http;
    QByteArray data;
    QBuffer buffer(&data);
    OutputCapture capture(1);
    QVERIFY(!http.get(m_server.url(QStringLiteral("/empty")), &buffer));
    // Nothing failed, so nothing is reported.
    QCOMPARE(capture.take(), QByteArray());
    QCOMPARE(data, QByteArray(1, '\0'));
    QVERIFY(!buffer.isOpen());
}

void tst_TsHttp::macTimeoutPerInstance_data()
{
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<int>("seconds");
    QTest::addRow("45000") << 45000 << 45;
    QTest::addRow("500") << 500 << 0;
}

void tst_TsHttp::macTimeoutPerInstance()
{
    QFETCH(int, milliseconds);
    QFETCH(int, seconds);
    TsHttpMac http;
    QCOMPARE(http.timeoutSeconds(), 30);
    QVERIFY(http.setTimeout(milliseconds));
    QCOMPARE(http.timeoutSeconds(), seconds);
}

void tst_TsHttp::macTimeoutIsItsOwn()
{
    http_setTimeout(7);
    TsHttpMac first;
    first.setTimeout(1000);
    // Neither a second client nor its setting touches the first one's timeout,
    // nor the process-wide default of the fetcher functions.
    TsHttpMac second;
    second.setTimeout(60000);
    QCOMPARE(HttpFetcher::processSettings().timeoutSeconds, 7);
    QCOMPARE(first.timeoutSeconds(), 1);

    m_server.setResponse("/hang", QByteArray(), TestHttpResponder::Hang);
    QByteArray data;
    QBuffer buffer(&data);
    QVERIFY(!first.get(m_server.url(QStringLiteral("/hang")), &buffer));
    // The transfer as a whole ends with the wait.
    QCOMPARE(first.lastError().number, int(HttpFetcher::DeadlinePassed));
    QCOMPARE(first.lastErrorText(),
        QStringLiteral("Timed out, transfer not done within 1000 milliseconds"));
}

void tst_TsHttp::macDiagnosticLineIsPrintedWhole()
{
    m_server.setResponse("/garbage", QByteArray("it's not HTTP'; touch pwned; echo '\r\n\r\n"));
    TsHttpMac http;
    QByteArray data;
    QBuffer buffer(&data);
    OutputCapture capture(1);
    QVERIFY(!http.get(m_server.url(QStringLiteral("/garbage")), &buffer));
    QCOMPARE(capture.take(), QByteArray("tsHttpMac: Couldn't find return code in HTTP response\n"));
    QVERIFY(!buffer.isOpen());
}

void tst_TsHttp::factoryCreatesFetcherClient()
{
    OutputCapture capture(1);
    const std::unique_ptr<TsHttpInterface> first = TsHttpFactory().createHttpInstance();
    const std::unique_ptr<TsHttpInterface> second = TsHttpFactory().createHttpInstance();
    QCOMPARE(capture.take(),
        QByteArray("tsToolsLib/tsHttpFactory: using http_fetcher TsHttp instance\n").repeated(2));
    QVERIFY(qobject_cast<TsHttpMac *>(first.get()));
    QVERIFY(first != second);
}

void tst_TsHttp::qtGet()
{
    const QByteArray body = randomBytes(100 * 1024);
    m_server.setResponse("/bin?x=1", TestHttpResponder::reply(200, body, {}, false));
    TsHttp http;
    QCOMPARE(http.timeout(), 30000);
    QByteArray data;
    QBuffer buffer(&data);
    QVERIFY(http.get(m_server.url(QStringLiteral("/bin?x=1")), &buffer));
    QCOMPARE(http.lastError(), int(TsHttp::NoError));
    QVERIFY(!buffer.isOpen());
    QCOMPARE(data, body);
    QVERIFY(m_server.requests().first().startsWith("GET /bin?x=1 HTTP/1.0\r\n"));
}

void tst_TsHttp::qtTimeout()
{
    m_server.setResponse("/hang", QByteArray(), TestHttpResponder::Hang);
    TsHttp http;
    QVERIFY(http.setTimeout(200));
    QCOMPARE(http.timeout(), 200);
    QByteArray data;
    QBuffer buffer(&data);
    OutputCapture capture(1);
    QVERIFY(!http.get(m_server.url(QStringLiteral("/hang")), &buffer));
    QCOMPARE(capture.take(),
        QByteArray("tsHttp: http get status: The request was aborted with "
                   "abort().\n"));
    QCOMPARE(http.lastError(), int(TsHttp::Aborted));
    QVERIFY(!buffer.isOpen());

    // The client is usable again after a timeout.
    m_server.setResponse("/after", TestHttpResponder::reply(200, "fine"));
    QVERIFY(http.setTimeout(0));
    QVERIFY(http.get(m_server.url(QStringLiteral("/after")), &buffer));
    QCOMPARE(data, QByteArray("fine"));
}

void tst_TsHttp::qtStatusTexts_data()
{
    // clang-format off
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("expectedCode");
    QTest::addColumn<QString>("expectedText");

    QTest::addRow("refused")
        << QString() << QByteArray() << int(TsHttp::ConnectionRefused)
        << "The server refused the connection.";
    QTest::addRow("closed without answer")
        << QStringLiteral("/closed") << QByteArray() << int(TsHttp::UnexpectedClose)
        << "The server closed the connection unexpectedly.";
    QTest::addRow("404")
        << QStringLiteral("/missing") << TestHttpResponder::reply(404, "no")
        << int(TsHttp::UnknownError) << "An error other than those specified above occurred.";
    // clang-format on
}

void tst_TsHttp::qtStatusTexts()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, raw);
    QFETCH(int, expectedCode);
    QFETCH(QString, expectedText);

    QString url = QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort());
    if (!path.isEmpty()) {
        m_server.setResponse(path.toLatin1(), raw);
        url = m_server.url(path);
    }
    TsHttp http;
    QByteArray data;
    QBuffer buffer(&data);
    OutputCapture capture(1);
    QVERIFY(!http.get(url, &buffer));
    QCOMPARE(capture.take(), "tsHttp: http get status: " + expectedText.toUtf8() + '\n');
    QCOMPARE(http.lastError(), expectedCode);
    QCOMPARE(TsHttp::errorText(expectedCode), expectedText);
}

void tst_TsHttp::qtAbortSlot()
{
    m_server.setResponse("/hang", QByteArray(), TestHttpResponder::Hang);
    TsHttp http;
    QTimer::singleShot(50, &http, &TsHttp::abort);
    QByteArray data;
    QBuffer buffer(&data);
    QVERIFY(!http.get(m_server.url(QStringLiteral("/hang")), &buffer));
    QCOMPARE(http.lastError(), int(TsHttp::Aborted));
}

void tst_TsHttp::realServerServesBothClients()
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo::exists(python))
        QSKIP("Debian's python3 is not installed");

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QByteArray content = randomBytes(512 * 1024 + 17);
    QFile file(root.filePath(QStringLiteral("payload.bin")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(content.size()));
    file.close();

    const quint16 port = closedPort();
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(python,
        {QStringLiteral("-m"), QStringLiteral("http.server"), QString::number(port),
            QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--directory"),
            root.path()});
    QVERIFY(server.waitForStarted());
    const auto stopServer = qScopeGuard([&server] {
        server.terminate();
        if (!server.waitForFinished(5000))
            server.kill();
    });
    QVERIFY(QTest::qWaitFor(
        [port] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            return probe.waitForConnected(200);
        },
        10000));

    const QString url = QStringLiteral("http://127.0.0.1:%1/payload.bin").arg(port);
    TsHttpMac mac;
    QByteArray macData;
    QBuffer macBuffer(&macData);
    QVERIFY(mac.get(url, &macBuffer));
    QCOMPARE(macData.size(), content.size() + 1);
    QCOMPARE(macData, content + '\0');

    TsHttp qt;
    QByteArray qtData;
    QBuffer qtBuffer(&qtData);
    QVERIFY(qt.get(url, &qtBuffer));
    QCOMPARE(qtData, content);

    QByteArray missing;
    QBuffer missingBuffer(&missing);
    QVERIFY(!mac.get(QStringLiteral("http://127.0.0.1:%1/nothing.here").arg(port), &missingBuffer));
    QCOMPARE(mac.lastErrorText(), QStringLiteral("Request returned a status code of 404"));
}

void tst_TsHttp::hostileServer_data()
{
    QTest::addColumn<bool>("qt");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("timeout");
    QTest::addColumn<int>("quitAfter"); // milliseconds; negative: no quit request
    QTest::addColumn<QString>("expected"); // the transport's error text

    const QByteArray body(100, 'b');
    const QByteArray elsewhere = m_server.url(QStringLiteral("/elsewhere")).toLatin1();
    struct Attack
    {
        const char *name;
        QByteArray raw;
        TestHttpResponder::Mode mode;
        int interval;
        int timeout;
        int quitAfter;
        const char *expected;
    };
    const QByteArray ok = "HTTP/1.0 200 OK\r\n";
    // clang-format off
    const Attack attacks[] = {
        {"trickle", TestHttpResponder::reply(200, body), TestHttpResponder::Trickle, 300, 1000, -1,
            "Timed out, transfer not done within 1000 milliseconds"},
        {"body shorter than Content-Length", ok + "Content-Length: 100\r\n\r\nabc",
            TestHttpResponder::Send, 0, 5000, -1, "Body shorter than its Content-Length of 100 bytes"},
        {"body longer than Content-Length", ok + "Content-Length: 2\r\n\r\nabcdef",
            TestHttpResponder::Send, 0, 5000, -1, "Body longer than its Content-Length of 2 bytes"},
        {"Content-Length with letters", ok + "Content-Length: 12abc\r\n\r\n123456789012",
            TestHttpResponder::Send, 0, 5000, -1, "Couldn't convert Content-Length to integer"},
        {"two Content-Lengths", ok + "Content-Length: 3\r\nContent-Length: 12\r\n\r\nabcdefghijkl",
            TestHttpResponder::Send, 0, 5000, -1, "Content-Length given twice with different values"},
        {"chunked body cut", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc",
            TestHttpResponder::Send, 0, 5000, -1, "Transfer-Encoding not supported by HTTP/1.0"},
        {"overlong header line",
            TestHttpResponder::reply(200, body, {"X-Long: " + QByteArray(64 * 1024, 'h')}),
            TestHttpResponder::Send, 0, 5000, -1, "Header line longer than 1024 bytes"},
        {"Content-Location without Location",
            TestHttpResponder::reply(302, "", {"Content-Location: " + elsewhere}),
            TestHttpResponder::Send, 0, 5000, -1, "Status code of 302 but no Location: field"},
        {"redirect loop",
            TestHttpResponder::reply(302, "", {"Location: " + m_server.url(QStringLiteral("/attack")).toLatin1()}),
            TestHttpResponder::Send, 0, 5000, -1, "Followed the maximum number of redirects (3)"},
        {"oversized body", TestHttpResponder::reply(200, QByteArray(1024 * 1024, 'o'), {}, false),
            TestHttpResponder::Send, 0, 5000, -1, "Body larger than the limit of 65536 bytes"},
        {"quit during a silent fetch", QByteArray(), TestHttpResponder::Hang, 0, 30000, 200,
            "Transfer aborted"},
    };
    // clang-format on
    for (const bool qt : {false, true}) {
        for (const Attack &attack : attacks) {
            QTest::addRow("%s: %s", qt ? "TsHttp" : "TsHttpMac", attack.name)
                << qt << attack.raw << int(attack.mode) << attack.interval << attack.timeout
                << attack.quitAfter << QString::fromLatin1(attack.expected);
        }
    }
}

// Each attack ends the fetch with its own failure, by its deadline at the latest.
void tst_TsHttp::hostileServer()
{
    QFETCH(bool, qt);
    QFETCH(QByteArray, raw);
    QFETCH(int, mode);
    QFETCH(int, interval);
    QFETCH(int, timeout);
    QFETCH(int, quitAfter);
    QFETCH(QString, expected);
    m_server.setResponse("/attack", raw, TestHttpResponder::Mode(mode), interval);
    m_server.setResponse("/elsewhere", TestHttpResponder::reply(200, "not the document"));

    const std::unique_ptr<TsHttpInterface> http = client(qt);
    QVERIFY(http->setTimeout(timeout));
    http->setMaxBodySize(64 * 1024);
    std::atomic<bool> quit {false};
    TsHttpInterface::setAbortCheck([&quit] { return quit.load(); });
    const auto noAbortCheck = qScopeGuard([] { TsHttpInterface::setAbortCheck(nullptr); });
    std::thread signaller;
    if (quitAfter >= 0) {
        signaller = std::thread([&quit, quitAfter] {
            std::this_thread::sleep_for(std::chrono::milliseconds(quitAfter));
            quit = true;
        });
    }

    QByteArray data;
    QBuffer buffer(&data);
    OutputCapture capture(1);
    QElapsedTimer clock;
    clock.start();
    const bool ok = http->get(m_server.url(QStringLiteral("/attack")), &buffer);
    const qint64 elapsed = clock.elapsed();
    if (signaller.joinable())
        signaller.join();
    capture.take();

    QVERIFY(!ok);
    QCOMPARE(transportText(http.get()), expected);
    // Well before the time a trickle or a silent server would hold it without a deadline.
    QVERIFY2(elapsed < 10000, "the fetch outlived its deadline");
    QVERIFY2(m_server.requestCount() < 10, QByteArray::number(m_server.requestCount()));
}

void tst_TsHttp::siteTls_data()
{
    QTest::addColumn<bool>("qt");
    QTest::addColumn<int>("server"); // a certificate, or Plaintext / Stalled
    QTest::addColumn<QString>("caFile");
    QTest::addColumn<QString>("expected"); // empty: the fetch succeeds over TLS

    const QString site = m_certificates.caFile();
    const QString missing = m_certificates.keyFile() + QStringLiteral(".missing");
    const QString expired = m_certificates.expiredOn();
    struct Row
    {
        const char *name;
        int server;
        QString caFile;
        QString expected;
    };
    // clang-format off
    const Row rows[] = {
        {"whole fetch", TestCertificates::Good, site, QString()},
        {"redirect to plaintext", RedirectOff, site,
            "redirect from 127.0.0.1 to a plaintext address refused: localhost:{plain}"},
        {"self-signed", TestCertificates::SelfSigned, site,
            "certificate for 127.0.0.1 is not trusted: self-signed, not in " + site},
        {"another CA", TestCertificates::OtherCa, site,
            "certificate for 127.0.0.1 is not trusted: issued by Somebody Else's CA, not in " + site},
        {"expired", TestCertificates::Expired, site,
            "certificate for 127.0.0.1 has expired (not after " + expired + ")"},
        {"another name", TestCertificates::OtherName, site,
            "certificate for 127.0.0.1 names other.example.org, not 127.0.0.1"},
        {"plaintext on the TLS port", Plaintext, site,
            "no TLS handshake from 127.0.0.1:{tls}: the server does not speak TLS"},
        {"stalled handshake", Stalled, site, "no TLS handshake from 127.0.0.1:{tls} within 1 s"},
        {"https URL, TLS off", HttpsElsewhere, site,
            "certificate for 127.0.0.1 is not trusted: issued by Test Site CA, not in the system's CA store"},
        {"CA file missing", TestCertificates::Good, missing, "CA file " + missing + " does not exist"},
        {"CA file not PEM", TestCertificates::Good, m_certificates.path(QStringLiteral("local.ext")),
            "CA file " + m_certificates.path(QStringLiteral("local.ext")) + " holds no PEM certificate"},
    };
    // clang-format on
    for (const bool qt : {false, true}) {
        for (const Row &row : rows) {
            QTest::addRow("%s: %s", qt ? "TsHttp" : "TsHttpMac", row.name)
                << qt << row.server << row.caFile << row.expected;
        }
    }
}

// A fetch from the site's host goes to its TLS port whatever port the URL
// names, verified; on any failure no request reaches either port.
void tst_TsHttp::siteTls()
{
    QFETCH(bool, qt);
    QFETCH(int, server);
    QFETCH(QString, caFile);
    QFETCH(QString, expected);

    TestHttpResponder terminator;
    if (server == Plaintext)
        terminator.setGreeting(TestHttpResponder::reply(200, "plaintext"));
    else if (server != Stalled)
        terminator.setTls(m_certificates.serverConfiguration(
            server >= RedirectOff ? TestCertificates::Good : TestCertificates::Server(server)));
    QVERIFY(terminator.startListening());
    const QByteArray offTls
        = "Location: http://localhost:" + QByteArray::number(m_server.port()) + "/doc";
    terminator.setResponse("/doc",
        server == RedirectOff ? TestHttpResponder::reply(302, "", {offTls})
                              : TestHttpResponder::reply(200, "over TLS"));
    m_server.setResponse("/doc", TestHttpResponder::reply(200, "in plaintext"));

    SiteTls site;
    // Another host's https URL is verified against the system's CAs.
    site.enabled = server != HttpsElsewhere;
    site.host = QStringLiteral("127.0.0.1");
    site.httpsPort = terminator.port();
    site.caFile = caFile;
    SiteTls::setCurrent(site);
    const auto plaintextAgain = qScopeGuard([] { SiteTls::setCurrent(SiteTls()); });

    const std::unique_ptr<TsHttpInterface> http = client(qt);
    QVERIFY(http->setTimeout(1000));
    QByteArray data;
    QBuffer buffer(&data);
    OutputCapture capture(1);
    const QString url = server == HttpsElsewhere
        ? QStringLiteral("https://127.0.0.1:%1/doc").arg(terminator.port())
        : m_server.url(QStringLiteral("/doc"));
    const bool ok = http->get(url, &buffer);
    const QByteArray console = capture.take();

    QCOMPARE(m_server.requestCount(), 0);
    if (expected.isEmpty()) {
        QVERIFY2(ok, qPrintable(transportText(http.get())));
        QCOMPARE(data, qt ? QByteArray("over TLS") : QByteArray("over TLS", 9));
        QCOMPARE(terminator.requestCount(), 1);
        return;
    }
    QVERIFY(!ok);
    const QString reason = QString(expected)
                               .replace(QLatin1String("{tls}"), QString::number(terminator.port()))
                               .replace(QLatin1String("{plain}"), QString::number(m_server.port()));
    QCOMPARE(transportText(http.get()), reason);
    // The caller's console line carries the reason too.
    QVERIFY2(console.contains(reason.toUtf8()), console.constData());
    // A stalled terminator sees the handshake's first bytes, never a request.
    if (server != RedirectOff) {
        for (const QByteArray &request : terminator.requests())
            QVERIFY2(!request.contains("GET "), request.constData());
    }
}

void tst_TsHttp::throughSiteTerminator_data()
{
    QTest::addColumn<bool>("qt");
    QTest::newRow("TsHttpMac") << false;
    QTest::newRow("TsHttp") << true;
}

// stunnel answers the end of a body with a close_notify in a record of its
// own and holds the TCP connection until the client answers it: the fetch
// must end on the alert, not wait for a close that does not come.
void tst_TsHttp::throughSiteTerminator()
{
    QFETCH(bool, qt);
    if (!haveTerminatorTools())
        QSKIP(NoTerminatorTools);
    const auto freePort = [] {
        QTcpServer probe;
        return probe.listen(QHostAddress::LocalHost) ? int(probe.serverPort()) : 0;
    };
    TerminatorPorts ports {freePort(), freePort(), freePort(), int(m_server.port())};
    QTemporaryDir folder;
    QString why;
    const std::unique_ptr<Child> terminator
        = startSiteTerminator(folder.path(), m_certificates.certificateFile(TestCertificates::Good),
            m_certificates.keyFile(), ports, &why);
    QVERIFY2(terminator, qPrintable(why));
    const QByteArray body("trickled through the terminator");
    m_server.setResponse(
        "/doc", TestHttpResponder::reply(200, body), TestHttpResponder::Trickle, 5);

    SiteTls site;
    site.enabled = true;
    site.host = QStringLiteral("127.0.0.1");
    site.httpsPort = ports.https;
    site.caFile = m_certificates.caFile();
    SiteTls::setCurrent(site);
    const auto plaintextAgain = qScopeGuard([] { SiteTls::setCurrent(SiteTls()); });

    const std::unique_ptr<TsHttpInterface> http = client(qt);
    QVERIFY(http->setTimeout(3000));
    QByteArray data;
    QBuffer buffer(&data);
    QVERIFY2(http->get(m_server.url(QStringLiteral("/doc")), &buffer),
        qPrintable(transportText(http.get())));
    QCOMPARE(data.left(body.size()), body);
}

void tst_TsHttp::qtAbortsWhenApplicationQuits()
{
    m_server.setResponse("/hang", QByteArray(), TestHttpResponder::Hang);
    TsHttp http;
    QVERIFY(http.setTimeout(0));
    QByteArray data;
    QBuffer buffer(&data);
    bool returned = false;
    bool result = true;
    // As in the running client: the request runs inside the application's
    // event loop when the application is told to quit.
    QTimer::singleShot(0, &http, [&] {
        result = http.get(m_server.url(QStringLiteral("/hang")), &buffer);
        returned = true;
    });
    QTimer::singleShot(100, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    QVERIFY(returned);
    QVERIFY(!result);
    QCOMPARE(http.lastError(), int(TsHttp::Aborted));
}

QTEST_GUILESS_MAIN(tst_TsHttp)
#include "tst_tshttp.moc"
