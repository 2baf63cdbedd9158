#include "HttpFetcher.h"
#include "HttpTransport.h"
#include "OutputCapture.h"
#include "TestEnvironment.h"
#include "TestHttpResponder.h"

#include <QTcpServer>
#include <QtTest>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <thread>

#include <netdb.h>

namespace {

struct Fetched
{
    int length = -1;
    QByteArray body; // as handed over, the terminating NUL included
    HttpFetcher::Error error;
    QString text;
};

Fetched fetchUrl(const QString &url)
{
    Fetched result;
    char *body = nullptr;
    result.length = http_fetch(url.toLatin1().constData(), &body);
    const std::unique_ptr<char, decltype(&std::free)> owner(body, &std::free);
    if (result.length >= 0 && body)
        result.body = QByteArray(body, result.length + 1);
    result.error = HttpFetcher::lastError();
    result.text = QString::fromUtf8(http_strerror());
    return result;
}

} // namespace

class tst_HttpFetcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void requestLine_data();
    void requestLine();
    void userAgentAndReferer();
    void redirects_data();
    void redirects();
    void failures_data();
    void failures();
    void bodies_data();
    void bodies();
    void bodyLimit();
    void timeouts_data();
    void timeouts();
    void connectionFailures();
    void nullUrl();
    void parseFilename_data();
    void parseFilename();
    void perrorWritesToStandardError();
    // Leaves the resolver thread busy for a while: keep it last.
    void lookupsAreBounded();

private:
    TestHttpResponder m_server;
};

void tst_HttpFetcher::initTestCase()
{
    QVERIFY(m_server.startListening());
}

void tst_HttpFetcher::init()
{
    m_server.clearRequests();
    http_setTimeout(30);
    http_setRedirects(3);
    http_setReferer(nullptr);
    http_setUserAgent(HttpFetcher::DefaultUserAgent);
}

void tst_HttpFetcher::requestLine_data()
{
    // clang-format off
    QTest::addColumn<QString>("url");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("host");

    const QString hostPort = QStringLiteral("127.0.0.1:%1").arg(m_server.port());
    const QByteArray address = "127.0.0.1";
    QTest::addRow("port and query")
        << QStringLiteral("http://%1/a/b?x=1").arg(hostPort) << QByteArray("/a/b?x=1") << address;
    QTest::addRow("no path") << QStringLiteral("http://%1").arg(hostPort) << QByteArray("/") << address;
    QTest::addRow("no scheme") << QStringLiteral("%1/c").arg(hostPort) << QByteArray("/c") << address;
    QTest::addRow("other scheme ignored")
        << QStringLiteral("xyz://%1/d").arg(hostPort) << QByteArray("/d") << address;
    QTest::addRow("name looked up")
        << QStringLiteral("http://localhost:%1/e").arg(m_server.port()) << QByteArray("/e")
        << QByteArray("localhost");
    // clang-format on
}

void tst_HttpFetcher::requestLine()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, host);
    m_server.setResponse(target, TestHttpResponder::reply(200, "ok"));

    const Fetched fetched = fetchUrl(url);
    QCOMPARE(fetched.length, 2);
    QCOMPARE(fetched.body, QByteArray("ok", 3));

    QCOMPARE(m_server.requestCount(), 1);
    const QByteArray expected = "GET " + target + " HTTP/1.0\r\nHost: " + host + ':'
        + QByteArray::number(m_server.port())
        + "\r\nUser-Agent: HTTP Fetcher/1\r\nConnection: Close\r\n\r\n";
    QCOMPARE(m_server.requests().first(), expected);
}

void tst_HttpFetcher::userAgentAndReferer()
{
    m_server.setResponse("/ua", TestHttpResponder::reply(200, "x"));
    QCOMPARE(http_setUserAgent("Probe/2"), 0);
    QCOMPARE(http_setReferer("http://127.0.0.1/from\r\nInjected: 1"), 0);
    QCOMPARE(fetchUrl(m_server.url(QStringLiteral("/ua"))).length, 1);

    QCOMPARE(http_setUserAgent(nullptr), 0);
    QCOMPARE(http_setReferer(nullptr), 0);
    QCOMPARE(fetchUrl(m_server.url(QStringLiteral("/ua"))).length, 1);

    const QList<QByteArray> requests = m_server.requests();
    QCOMPARE(requests.size(), 2);
    QVERIFY(requests[0].contains("\r\nUser-Agent: Probe/2\r\n"));
    QVERIFY(requests[0].contains("\r\nReferer: http://127.0.0.1/fromInjected: 1\r\n"));
    QVERIFY(!requests[0].contains("\r\nInjected"));
    QVERIFY(!requests[1].contains("User-Agent"));
    QVERIFY(!requests[1].contains("Referer"));
}

void tst_HttpFetcher::redirects_data()
{
    // clang-format off
    QTest::addColumn<int>("hops");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("expectedLength");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QString>("expectedText");

    QTest::addRow("one 302 followed") << 1 << 3 << 4 << 0 << "Success";
    QTest::addRow("three followed") << 3 << 3 << 4 << 0 << "Success";
    QTest::addRow("fourth fails")
        << 4 << 3 << -1 << 11 << "Followed the maximum number of redirects (3)";
    QTest::addRow("limit 0")
        << 1 << 0 << -1 << 11 << "Followed the maximum number of redirects (0)";
    QTest::addRow("no limit") << 6 << -1 << 4 << 0 << "Success";
    // clang-format on
}

void tst_HttpFetcher::redirects()
{
    QFETCH(int, hops);
    QFETCH(int, limit);
    QFETCH(int, expectedLength);
    QFETCH(int, expectedError);
    QFETCH(QString, expectedText);

    // /hop0 -> /hop1 -> ... -> /final; the statuses cycle through the redirect range.
    const int statuses[] = {302, 301, 307, 303};
    for (int i = 0; i < hops; ++i) {
        const QByteArray next
            = i + 1 == hops ? QByteArray("/final") : "/hop" + QByteArray::number(i + 1);
        const QByteArray location
            = i % 2 ? next : "Location: " + m_server.url(QString::fromLatin1(next)).toLatin1();
        m_server.setResponse("/hop" + QByteArray::number(i),
            TestHttpResponder::reply(
                statuses[i % 4], "moved", {i % 2 ? "Location:\t" + location : location}));
    }
    m_server.setResponse("/final", TestHttpResponder::reply(200, "done"));
    http_setRedirects(limit);

    const Fetched fetched = fetchUrl(m_server.url(QStringLiteral("/hop0")));
    QCOMPARE(fetched.length, expectedLength);
    QCOMPARE(fetched.error.number, expectedError);
    QCOMPARE(fetched.text, expectedText);
    if (expectedLength >= 0)
        QCOMPARE(fetched.body, QByteArray("done", 5));
}

void tst_HttpFetcher::failures_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QString>("expectedText");

    QTest::addRow("404")
        << TestHttpResponder::reply(404, "gone") << 7 << "Request returned a status code of 404";
    QTest::addRow("199")
        << TestHttpResponder::reply(199, "") << 7 << "Request returned a status code of 199";
    QTest::addRow("308")
        << TestHttpResponder::reply(308, "", {"Location: /x"}) << 7
        << "Request returned a status code of 308";
    QTest::addRow("redirect without Location")
        << TestHttpResponder::reply(302, "") << 10 << "Status code of 302 but no Location: field";
    QTest::addRow("empty Location")
        << TestHttpResponder::reply(301, "", {"Location:   "}) << 10
        << "Status code of 301 but no Location: field";
    QTest::addRow("no status line")
        << QByteArray("hello\r\n\r\nbody") << 5 << "Couldn't find return code in HTTP response";
    QTest::addRow("closed before any byte")
        << QByteArray() << 5 << "Couldn't find return code in HTTP response";
    QTest::addRow("status not a number")
        << QByteArray("HTTP/1.0 abc\r\n\r\n") << 6
        << "Couldn't convert return code in HTTP response";
    QTest::addRow("status beyond int")
        << QByteArray("HTTP/1.0 99999999999 OK\r\n\r\n") << 6
        << "Couldn't convert return code in HTTP response";
    QTest::addRow("status line without blank")
        << QByteArray("HTTP/1.0\r\n\r\n") << 6 << "Couldn't convert return code in HTTP response";
    QTest::addRow("negative length")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nbody") << 8
        << "Couldn't convert Content-Length to integer";
    QTest::addRow("huge length")
        << QByteArray( "HTTP/1.0 200 OK\r\nContent-Length: 99999999999\r\n\r\nbody") << 8
        << "Couldn't convert Content-Length to integer";
    QTest::addRow("length not a number")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-length: many\r\n\r\nbody") << 8
        << "Couldn't convert Content-Length to integer";
    QTest::addRow("announced length far above the body")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 2000000000\r\n\r\nabc") << 15
        << "Body shorter than its Content-Length of 2000000000 bytes";
    QTest::addRow("body past the announced length")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nabcdef") << 19
        << "Body longer than its Content-Length of 2 bytes";
    QTest::addRow("header line over 1024 bytes")
        << "HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(2000, 'h') + "\r\n\r\nbody" << 16
        << "Header line longer than 1024 bytes";
    QByteArray endless = "HTTP/1.0 200 OK\r\n";
    while (endless.size() < 20000)
        endless += "X-More: " + QByteArray(100, 'm') + "\r\n";
    QTest::addRow("header over its bound") << endless << 17 << "Header longer than 16384 bytes";
    QTest::addRow("Location only inside Content-Location")
        << QByteArray("HTTP/1.0 301 Moved\r\nContent-Location: /x\r\n\r\n") << 10
        << "Status code of 301 but no Location: field";
    QTest::addRow("length at the very end")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Length:") << 8
        << "Couldn't convert Content-Length to integer";
    // clang-format on
}

void tst_HttpFetcher::failures()
{
    QFETCH(QByteArray, raw);
    QFETCH(int, expectedError);
    QFETCH(QString, expectedText);
    m_server.setResponse("/fail", raw);

    const Fetched fetched = fetchUrl(m_server.url(QStringLiteral("/fail")));
    QCOMPARE(fetched.length, -1);
    QCOMPARE(fetched.error.source, int(HttpFetcher::FetcherSource));
    QCOMPARE(fetched.error.number, expectedError);
    QCOMPARE(fetched.text, expectedText);
}

void tst_HttpFetcher::bodies_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("expectedBody");

    QByteArray large(300 * 1024, Qt::Uninitialized);
    for (int i = 0; i < large.size(); ++i)
        large[i] = char('a' + i % 26);
    QTest::addRow("300 KB without Content-Length")
        << TestHttpResponder::reply(200, large, {}, false) << large;
    QTest::addRow("300 KB with Content-Length") << TestHttpResponder::reply(200, large) << large;
    const QByteArray withNul("a\0b\0\0c", 6);
    QTest::addRow("NUL bytes in the body") << TestHttpResponder::reply(200, withNul) << withNul;
    QTest::addRow("lowercase length name")
        << QByteArray("HTTP/1.1 201 Created\r\nContent-length: 3\r\n\r\nxyz") << QByteArray("xyz");
    QTest::addRow("LF line ends")
        << QByteArray("HTTP/1.0 200 OK\nA: b\n\nbody") << QByteArray("body");
    QTest::addRow("dropped inside the header")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-") << QByteArray();
    QTest::addRow("empty body") << TestHttpResponder::reply(204, "") << QByteArray();

    QByteArray manyFields = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < 40; ++i)
        manyFields += "X-Field-" + QByteArray::number(i) + ": " + QByteArray(60, 'v') + "\r\n";
    QTest::addRow("header over 1024 bytes in short lines")
        << manyFields + "Content-Length: 4\r\n\r\nbody" << QByteArray("body");
    // clang-format on
}

void tst_HttpFetcher::bodies()
{
    QFETCH(QByteArray, raw);
    QFETCH(QByteArray, expectedBody);
    m_server.setResponse("/body", raw);

    const Fetched fetched = fetchUrl(m_server.url(QStringLiteral("/body")));
    QCOMPARE(fetched.error.number, 0);
    QCOMPARE(fetched.length, int(expectedBody.size()));
    QCOMPARE(fetched.body, expectedBody + '\0');
}

void tst_HttpFetcher::bodyLimit()
{
    const QByteArray body(3 * 1024 * 1024, 'z');
    m_server.setResponse("/big", TestHttpResponder::reply(200, body, {}, false));
    http_setMaxBodySize(1024 * 1024);
    const Fetched tooLarge = fetchUrl(m_server.url(QStringLiteral("/big")));
    http_setMaxBodySize(HttpFetcher::Settings().maxBodySize);
    QCOMPARE(tooLarge.length, -1);
    QCOMPARE(tooLarge.error.number, int(HttpFetcher::BodyTooLarge));
    QCOMPARE(tooLarge.text, QStringLiteral("Body larger than the limit of 1048576 bytes"));

    const Fetched whole = fetchUrl(m_server.url(QStringLiteral("/big")));
    QCOMPARE(whole.length, int(body.size()));
}

void tst_HttpFetcher::timeouts_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("expectedError");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("seconds");

    QTest::addRow("no header byte")
        << QByteArray() << int(TestHttpResponder::Hang) << 3
        << "Timed out, no metadata for 1 seconds" << 1;
    QTest::addRow("header cut short")
        << QByteArray("HTTP/1.0 200 OK\r\n") << int(TestHttpResponder::SendAndHang) << 3
        << "Timed out, no metadata for 1 seconds" << 1;
    QTest::addRow("no body byte")
        << QByteArray("HTTP/1.0 200 OK\r\n\r\n") << int(TestHttpResponder::SendAndHang) << 4
        << "Timed out, no data for 1 seconds" << 1;
    QTest::addRow("body stalls")
        << QByteArray("HTTP/1.0 200 OK\r\n\r\npartial") << int(TestHttpResponder::SendAndHang) << 4
        << "Timed out, no data for 1 seconds" << 1;
    // As for a connect: a wait of 0 s leaves the fetch to its deadline.
    QTest::addRow("0 s waits for the deadline")
        << QByteArray("HTTP/1.0 200 OK\r\n") << int(TestHttpResponder::SendAndHang) << 13
        << "Timed out, transfer not done within 3000 milliseconds" << 0;
    // clang-format on
}

void tst_HttpFetcher::timeouts()
{
    QFETCH(QByteArray, raw);
    QFETCH(int, mode);
    QFETCH(int, expectedError);
    QFETCH(QString, expectedText);
    QFETCH(int, seconds);
    m_server.setResponse("/slow", raw, TestHttpResponder::Mode(mode));
    http_setTimeout(seconds);
    http_setDeadline(3000);
    const auto unbounded
        = qScopeGuard([] { http_setDeadline(HttpFetcher::Settings().deadlineMilliseconds); });

    const Fetched fetched = fetchUrl(m_server.url(QStringLiteral("/slow")));
    QCOMPARE(fetched.length, -1);
    QCOMPARE(fetched.error.number, expectedError);
    QCOMPARE(fetched.text, expectedText);
}

void tst_HttpFetcher::connectionFailures()
{
    const Fetched refused
        = fetchUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(closedLoopbackPort()));
    QCOMPARE(refused.length, -1);
    QCOMPARE(refused.error.source, int(HttpFetcher::SystemSource));
    QCOMPARE(refused.text, QString::fromLocal8Bit(strerror(ECONNREFUSED)));

    const Fetched badPort = fetchUrl(QStringLiteral("http://127.0.0.1:99999/x"));
    QCOMPARE(badPort.length, -1);
    QCOMPARE(badPort.error.source, int(HttpFetcher::LookupSource));
    QCOMPARE(badPort.text, QStringLiteral("Network error (description unavailable)"));
}

void tst_HttpFetcher::nullUrl()
{
    char *body = reinterpret_cast<char *>(&body);
    QCOMPARE(http_fetch(nullptr, &body), -1);
    QCOMPARE(body, nullptr);
    QCOMPARE(HttpFetcher::lastError().number, int(HttpFetcher::NullUrl));
    QCOMPARE(QString::fromUtf8(http_strerror()), QStringLiteral("Got NULL url"));
}

void tst_HttpFetcher::parseFilename_data()
{
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<int>("expectedResult");
    QTest::addColumn<QByteArray>("expectedName");

    QTest::addRow("file") << QByteArray("http://h/a/install.sh") << 0 << QByteArray("install.sh");
    QTest::addRow("trailing slash") << QByteArray("http://h/a/") << 1 << QByteArray();
    QTest::addRow("no slash") << QByteArray("plain") << 1 << QByteArray("plain");
}

void tst_HttpFetcher::parseFilename()
{
    QFETCH(QByteArray, url);
    QFETCH(int, expectedResult);
    QFETCH(QByteArray, expectedName);

    char *name = nullptr;
    QCOMPARE(http_parseFilename(url.constData(), &name), expectedResult);
    QVERIFY(name);
    QCOMPARE(QByteArray(name), expectedName);
    std::free(name);

    QCOMPARE(http_parseFilename(nullptr, &name), -1);
    QCOMPARE(HttpFetcher::lastError().number, int(HttpFetcher::NullUrl));
}

void tst_HttpFetcher::perrorWritesToStandardError()
{
    m_server.setResponse("/missing", TestHttpResponder::reply(404, ""));
    QCOMPARE(fetchUrl(m_server.url(QStringLiteral("/missing"))).length, -1);
    OutputCapture capture(2);
    http_perror("fetch");
    QCOMPARE(capture.take(), QByteArray("fetch: Request returned a status code of 404\n"));
}

namespace {

QStringList threadIds()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

// A lookup that never answers in time: it ends by a bound even without a
// deadline, retries leave no thread behind, and the quit signals never land
// on the thread stuck in it.
void tst_HttpFetcher::lookupsAreBounded()
{
    HttpTransport::setLookupFunction([](const char *, const char *, const addrinfo *, addrinfo **) {
        std::this_thread::sleep_for(std::chrono::seconds(4));
        return EAI_AGAIN;
    });
    const auto realLookups = qScopeGuard([] { HttpTransport::setLookupFunction(nullptr); });
    const QString url = QStringLiteral("http://print.invalid/printers/");

    HttpFetcher::Settings settings = HttpFetcher::processSettings();
    settings.deadlineMilliseconds = -1;
    settings.timeoutSeconds = 1;
    HttpFetcher::Error error;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(HttpFetcher::fetch(
                 url.toLatin1().constData(), static_cast<char **>(nullptr), settings, &error),
        -1);
    QCOMPARE(error.source, int(HttpFetcher::LookupSource));
    QVERIFY2(clock.elapsed() < 3000, QByteArray::number(clock.elapsed()));

    const QStringList before = threadIds();
    settings.deadlineMilliseconds = 100;
    for (int retry = 0; retry < 5; ++retry) {
        QCOMPARE(HttpFetcher::fetch(
                     url.toLatin1().constData(), static_cast<char **>(nullptr), settings, &error),
            -1);
        QCOMPARE(error.number, int(HttpFetcher::DeadlinePassed));
    }
    QCOMPARE(threadIds().size(), before.size());

    // SigBlk of every thread but this one: the lookup's thread blocks the quit signals.
    constexpr quint64 QuitSignals
        = (1u << (SIGTERM - 1)) | (1u << (SIGINT - 1)) | (1u << (SIGHUP - 1));
    bool found = false;
    for (const QString &id : before) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(id));
        QFile name(QStringLiteral("/proc/self/task/%1/comm").arg(id));
        if (!status.open(QIODevice::ReadOnly) || !name.open(QIODevice::ReadOnly)
            || name.readAll().trimmed() != "http-resolver")
            continue;
        found = true;
        const QByteArray text = status.readAll();
        const qsizetype at = text.indexOf("SigBlk:");
        QVERIFY(at >= 0);
        const quint64 blocked
            = text.mid(at + 7, text.indexOf('\n', at) - at - 7).trimmed().toULongLong(nullptr, 16);
        QCOMPARE(blocked & QuitSignals, QuitSignals);
    }
    QVERIFY(found);
}

QTEST_GUILESS_MAIN(tst_HttpFetcher)
#include "tst_httpfetcher.moc"
