// The built client against a Print Service played by this program: the round
// trip of a text answered without a dialog, compared with a minimal socket
// client in the same run; the time from process start to the registration
// text; memory, CPU time and wake-ups of an idle connected client.
//
// Usage: bench_client [--round-trips N] [--starts N] [--idle-seconds N]
// (bench_client --raw-client is the minimal client it starts itself.)

#include "ClientBench.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace ClientBench;

namespace {

const char *const RAW_CLIENT_ARG = "--raw-client";

// What the client answers to a text it has no message for.
QByteArray notHandled(const QByteArray &text)
{
    return "Message Not Handled: " + text;
}

// The smallest event-driven client that speaks the protocol: registers on
// connect and answers every text as the real client answers an unknown one.
int runRawClient(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTcpSocket socket;
    QByteArray pending;
    QObject::connect(&socket, &QTcpSocket::connected, &socket,
        [&] { socket.write("register:raw:" + QHostInfo::localHostName().toUtf8() + '\0'); });
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&] {
        pending += socket.readAll();
        for (const QByteArray &text : takeTerminated(&pending, '\0'))
            socket.write((text == "No Response" ? text : notHandled(text)) + '\0');
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, &app, &QCoreApplication::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &app, &QCoreApplication::quit);
    socket.connectToHost(QStringLiteral("127.0.0.1"), MESSAGE_PORT);
    return app.exec();
}

double micros(qint64 nanos)
{
    return double(nanos) / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], RAW_CLIENT_ARG) == 0)
        return runRawClient(argc, argv);

    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int roundTripCount = intOption(arguments, QStringLiteral("--round-trips"), 2000);
    const int startCount = intOption(arguments, QStringLiteral("--starts"), 7);
    const int idleSeconds = intOption(arguments, QStringLiteral("--idle-seconds"), 60);

    ClientSandbox sandbox;
    FakePrintService service;
    if (!setUp(&sandbox, &service, QStringLiteral(PELLORA_APP_DIR "/pelloraVav")))
        return 1;
    const auto startProcess = [&](QProcess &process, bool raw) {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        if (raw) {
            process.start(QCoreApplication::applicationFilePath(), {QLatin1String(RAW_CLIENT_ARG)});
        } else {
            process.setProcessEnvironment(sandbox.environment());
            process.start(sandbox.program(), {});
        }
    };

    // (b) From process start to the registration text.
    std::printf("Start to registration, %d starts each (ms):\n", startCount);
    for (const bool raw : {false, true}) {
        const QByteArray user = raw ? "raw" : "bench";
        std::vector<qint64> starts;
        for (int i = 0; i < startCount; ++i) {
            service.forget(user);
            QProcess process;
            const qint64 startedAt = service.nowNanos();
            startProcess(process, raw);
            if (!waitUntil([&] { return service.peer(user) != nullptr; })) {
                std::fprintf(stderr, "no registration from the %s client\n", user.constData());
                endProcess(process);
                return 1;
            }
            starts.push_back(service.peer(user)->registeredAtNanos - startedAt);
            endProcess(process);
        }
        std::printf("  %-14s median %8.1f  min %8.1f  max %8.1f\n",
            raw ? "minimal client" : "pelloraVav", micros(percentile(starts, 0.5)) / 1000.0,
            micros(*std::min_element(starts.begin(), starts.end())) / 1000.0,
            micros(*std::max_element(starts.begin(), starts.end())) / 1000.0);
    }

    // (a) Round trips, in alternating blocks so that both clients see the same load.
    service.forget("bench");
    service.forget("raw");
    QProcess client;
    QProcess rawClient;
    startProcess(client, false);
    startProcess(rawClient, true);
    if (!waitUntil([&] { return service.peer("bench") && service.peer("raw"); })) {
        std::fprintf(stderr, "the clients did not register\n");
        return 1;
    }
    FakePrintService::Peer *clientPeer = service.peer("bench");
    FakePrintService::Peer *rawPeer = service.peer("raw");
    bool ok = true;
    service.roundTrips(clientPeer, 200, &ok);
    service.roundTrips(rawPeer, 200, &ok);
    const int blocks = 8;
    std::vector<qint64> clientTimes;
    std::vector<qint64> rawTimes;
    for (int block = 0; ok && block < blocks; ++block) {
        const int count = roundTripCount / blocks;
        for (qint64 time : service.roundTrips(clientPeer, count, &ok))
            clientTimes.push_back(time);
        for (qint64 time : service.roundTrips(rawPeer, count, &ok))
            rawTimes.push_back(time);
    }
    if (!ok) {
        std::fprintf(stderr, "a round trip failed\n");
        return 1;
    }
    const double p50 = micros(percentile(clientTimes, 0.5));
    const double p99 = micros(percentile(clientTimes, 0.99));
    const double rawP50 = micros(percentile(rawTimes, 0.5));
    const double rawP99 = micros(percentile(rawTimes, 0.99));
    std::printf("Round trip of an unhandled text, %zu each (us):\n", clientTimes.size());
    std::printf("  %-14s p50 %8.1f  p99 %8.1f\n", "pelloraVav", p50, p99);
    std::printf("  %-14s p50 %8.1f  p99 %8.1f\n", "minimal client", rawP50, rawP99);
    std::printf("  ratio          p50 %8.2f  p99 %8.2f  (targets 1.5, 2.0: %s)\n", p50 / rawP50,
        p99 / rawP99, p50 <= 1.5 * rawP50 && p99 <= 2.0 * rawP99 ? "met" : "MISSED");

    // (c) Idle and connected.
    pause(2000);
    const ProcessFigures before = measure(client.processId());
    const ProcessFigures rawBefore = measure(rawClient.processId());
    pause(idleSeconds * 1000);
    const ProcessFigures after = measure(client.processId());
    const ProcessFigures rawAfter = measure(rawClient.processId());
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    std::printf("Idle and connected for %d s:\n", idleSeconds);
    for (const bool raw : {false, true}) {
        const ProcessFigures &start = raw ? rawBefore : before;
        const ProcessFigures &end = raw ? rawAfter : after;
        std::printf("  %-14s VmRSS %6.1f MB  CPU %5.0f ms  voluntary switches %lld, involuntary "
                    "%lld (%d threads)\n",
            raw ? "minimal client" : "pelloraVav", double(end.rssKb) / 1024.0,
            double(end.cpuTicks - start.cpuTicks) * 1000.0 / double(ticksPerSecond),
            end.voluntarySwitches - start.voluntarySwitches,
            end.involuntarySwitches - start.involuntarySwitches, end.threads);
    }
    // A timer as slow as one a minute would show up as several switches here.
    const qint64 wakeUps = after.voluntarySwitches - before.voluntarySwitches;
    std::printf("  target: under 45 MB, no periodic wake-ups: %s\n",
        after.rssKb < 45 * 1024 && wakeUps <= 2 ? "met" : "MISSED");

    const bool ended = endProcess(client) && client.exitCode() == 0;
    endProcess(rawClient);
    if (!ended)
        std::fprintf(stderr, "the client did not end cleanly on SIGTERM\n");
    return ended ? 0 : 1;
}
