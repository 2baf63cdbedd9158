// Fetches a 10 MB body from a loopback responder with TsHttpMac, TsHttp and
// curl, interleaved, and prints the median throughput of each.
#include "HttpFetcher.h"
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
        return 0;
    }
    const double curlRate = median(curlRates);
    std::printf("curl       %8.1f MB/s\n", curlRate);
    std::printf("TsHttpMac / curl = %.2f (target 0.80)\n", macRate / curlRate);
    std::printf("TsHttp / curl    = %.2f\n", qtRate / curlRate);
    return 0;
}
