// Fetches a 10 MB body from a loopback responder with TsHttpMac, TsHttp and
// curl, interleaved, and prints the median throughput of each; then small
// fetches in plaintext and over TLS to the site's host, p50 and p99.
#include "HttpFetcher.h"
#include "SiteTls.h"
#include "TestCertificates.h"
#include "TestHttpResponder.h"
#include "TsHttp.h"
#include "TsHttpMac.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int BodySize = 10 * 1024 * 1024;
constexpr int Rounds = 12;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.empty()
        ? 0.0
        : values[std::min(values.size() - 1, size_t(double(values.size()) * fraction))];
}

double megabytesPerSecond(qint64 bytes, double seconds)
{
    return seconds > 0 ? double(bytes) / (1024.0 * 1024.0) / seconds : 0.0;
}

// Seconds for one fetch, or a negative value when it failed.
double timeClient(TsHttpInterface *http, const QString &url, qsizetype expected)
{
    QByteArray data;
    data.reserve(expected + 1);
    QBuffer buffer(&data);
    QElapsedTimer timer;
    timer.start();
    const bool ok = http->get(url, &buffer);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    return ok && data.size() >= expected ? seconds : -1.0;
}

double timeFetcher(const QString &url)
{
    const QByteArray latin1 = url.toLatin1();
    char *body = nullptr;
    QElapsedTimer timer;
    timer.start();
    const int length = http_fetch(latin1.constData(), &body);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::free(body);
    return length == BodySize ? seconds : -1.0;
}

// curl's own measure of the transfer, process start-up left out.
double timeCurl(const QString &curl, const QString &url)
{
    QProcess process;
    process.start(curl,
        {QStringLiteral("-s"), QStringLiteral("--noproxy"), QStringLiteral("*"),
            QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("-w"),
            QStringLiteral("%{time_total} %{size_download}"), url});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return -1.0;
    const QList<QByteArray> fields = process.readAllStandardOutput().split(' ');
    if (fields.size() != 2 || fields[1].toLongLong() != BodySize)
        return -1.0;
    return fields[0].toDouble();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    TestHttpResponder server;
    if (!server.startListening()) {
        std::fprintf(stderr, "no loopback port\n");
        return 1;
    }
    QByteArray body(BodySize, Qt::Uninitialized);
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(i * 31 + 7);
    server.setResponse("/ten", TestHttpResponder::reply(200, body));
    const QString url = server.url(QStringLiteral("/ten"));
    const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));

    TsHttpMac mac;
    TsHttp qt;
    std::vector<double> fetcherRates;
    std::vector<double> macRates;
    std::vector<double> qtRates;
    std::vector<double> curlRates;
    // Each round runs the four in a rotated order, so that none always
    // inherits the same heap and cache state from the one before.
    const std::function<double()> runs[] = {
        [&] { return timeFetcher(url); },
        [&] { return timeClient(&mac, url, BodySize); },
        [&] { return timeClient(&qt, url, BodySize); },
        [&] { return curl.isEmpty() ? 0.0 : timeCurl(curl, url); },
    };
    std::vector<double> *rates[] = {&fetcherRates, &macRates, &qtRates, &curlRates};
    for (int round = 0; round < Rounds; ++round) {
        for (int i = 0; i < 4; ++i) {
            const int which = (round + i) % 4;
            const double seconds = runs[which]();
            if (seconds < 0) {
                std::fprintf(stderr, "fetch %d failed in round %d\n", which, round);
                return 1;
            }
            if (seconds > 0)
                rates[which]->push_back(megabytesPerSecond(BodySize, seconds));
        }
    }

    const double macRate = median(macRates);
    const double qtRate = median(qtRates);
    std::printf("10 MB body over loopback, median of %d rounds\n", Rounds);
    std::printf("http_fetch %8.1f MB/s (the fetcher alone, no device)\n", median(fetcherRates));
    std::printf("TsHttpMac  %8.1f MB/s\n", macRate);
    std::printf("TsHttp     %8.1f MB/s\n", qtRate);
    if (curlRates.empty()) {
        std::printf("curl       not available\n");
    } else {
        const double curlRate = median(curlRates);
        std::printf("curl       %8.1f MB/s\n", curlRate);
        std::printf("TsHttpMac / curl = %.2f (target 0.80)\n", macRate / curlRate);
        std::printf("TsHttp / curl    = %.2f\n", qtRate / curlRate);
    }

    // The same small document from the same host, alternately in plaintext
    // and through a TLS terminator; every TLS fetch makes its own handshake.
    TestCertificates certificates;
    QString why;
    TestHttpResponder terminator;
    if (!certificates.make(&why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    terminator.setTls(certificates.serverConfiguration(TestCertificates::Good));
    if (!terminator.startListening())
        return 1;
    const QByteArray small = TestHttpResponder::reply(200, QByteArray(2048, 's'));
    server.setResponse("/small", small);
    terminator.setResponse("/small", small);
    SiteTls site;
    site.host = QStringLiteral("127.0.0.1");
    site.httpsPort = terminator.port();
    site.caFile = certificates.caFile();
    const QString smallUrl = server.url(QStringLiteral("/small"));
    std::vector<double> plain;
    std::vector<double> tls;
    constexpr int SmallRounds = 200;
    for (int round = 0; round < SmallRounds; ++round) {
        for (const bool encrypted : {round % 2 == 0, round % 2 != 0}) {
            site.enabled = encrypted;
            SiteTls::setCurrent(site);
            const double seconds = timeClient(&mac, smallUrl, 2048);
            if (seconds < 0) {
                std::fprintf(stderr, "small fetch failed (%s)\n", encrypted ? "TLS" : "plaintext");
                return 1;
            }
            (encrypted ? tls : plain).push_back(seconds * 1000.0);
        }
    }
    std::printf("2 KB fetch, %d each   p50 %6.2f ms  p99 %6.2f ms (plaintext)\n", SmallRounds,
        percentile(plain, 0.5), percentile(plain, 0.99));
    std::printf("                       p50 %6.2f ms  p99 %6.2f ms (TLS)\n", percentile(tls, 0.5),
        percentile(tls, 0.99));
    return 0;
}
