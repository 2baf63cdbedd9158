// The built client over TLS (through stunnel4 with the administrators' guide's
// configuration) against the same client in plaintext, both talking to one
// Print Service played by this program on loopback: the round trip of a
// text, the time from a dropped connection to the registration on the new
// one, and from process start to the registration text.
//
// Usage: bench_tls [--round-trips N] [--drops N] [--starts N]
// Run it in a network namespace of its own: unshare -n sh -c 'ip link set lo up && bench_tls'

#include "ClientBench.h"
#include "SiteTerminator.h"
#include "TestCertificates.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ClientBench;

namespace {

double millis(qint64 nanos)
{
    return double(nanos) / 1e6;
}

struct Client
{
    Client(const char *clientName, const QByteArray &clientUser)
        : name(clientName)
        , user(clientUser)
    { }

    const char *name;
    QByteArray user;
    ClientSandbox sandbox;
    QProcess process;

    void start()
    {
        QProcessEnvironment environment = sandbox.environment();
        environment.insert(QStringLiteral("USER"), QString::fromLatin1(user));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(sandbox.program(), {});
    }
};

bool encrypt(Client *client, const QString &caFile)
{
    QFile file(
        QFileInfo(client->sandbox.program()).absolutePath() + QStringLiteral("/printClient.tsp"));
    const QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n"
                            "<version>1.1</version>\n<type>Mac Printer Connector</type>\n"
                            "<entry name='Print Service Address'>127.0.0.1</entry>\n"
                            "<entry name='Print Service TLS'>1</entry>\n"
                            "<entry name='Print Service CA File'>"
        + caFile.toUtf8() + "</entry>\n</Settings>\n";
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList arguments = app.arguments();
    const int roundTripCount = intOption(arguments, QStringLiteral("--round-trips"), 2000);
    const int dropCount = intOption(arguments, QStringLiteral("--drops"), 7);
    const int startCount = intOption(arguments, QStringLiteral("--starts"), 7);

    TestCertificates certificates;
    QString why;
    if (!haveTerminatorTools() || !certificates.make(&why)) {
        std::fprintf(stderr, "%s %s\n", NoTerminatorTools, qPrintable(why));
        return 1;
    }
    FakePrintService service;
    Client plain("plaintext", "plain");
    Client tls("TLS", "tls");
    const QString program = QStringLiteral(PELLORA_APP_DIR "/pelloraVav");
    if (!setUp(&plain.sandbox, &service, program) || !tls.sandbox.prepare(program)
        || !encrypt(&tls, certificates.caFile()))
        return 1;
    QTemporaryDir terminatorFolder;
    const std::unique_ptr<Child> terminator = startSiteTerminator(terminatorFolder.path(),
        certificates.certificateFile(TestCertificates::Good), certificates.keyFile(),
        TerminatorPorts(), &why);
    if (!terminator) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    Client *const clients[] = {&plain, &tls};

    // From process start to the registration text (the printer scripts
    // fetched first, over HTTPS for the TLS client).
    std::printf("Start to registration, %d starts each (ms):\n", startCount);
    for (Client *client : clients) {
        std::vector<qint64> times;
        for (int i = 0; i < startCount; ++i) {
            service.forget(client->user);
            const qint64 startedAt = service.nowNanos();
            client->start();
            if (!waitUntil([&] { return service.peer(client->user) != nullptr; })) {
                std::fprintf(stderr, "no registration from the %s client\n", client->name);
                return 1;
            }
            times.push_back(service.peer(client->user)->registeredAtNanos - startedAt);
            endProcess(client->process);
        }
        std::printf("  %-10s median %8.1f  min %8.1f  max %8.1f\n", client->name,
            millis(percentile(times, 0.5)), millis(*std::min_element(times.begin(), times.end())),
            millis(*std::max_element(times.begin(), times.end())));
    }

    for (Client *client : clients) {
        service.forget(client->user);
        client->start();
    }
    if (!waitUntil([&] { return service.peer(plain.user) && service.peer(tls.user); })) {
        std::fprintf(stderr, "the clients did not register\n");
        return 1;
    }

    // Round trips, in alternating blocks so that both see the same load.
    bool ok = true;
    for (Client *client : clients)
        service.roundTrips(service.peer(client->user), 200, &ok);
    const int blocks = 8;
    std::vector<qint64> times[2];
    for (int block = 0; ok && block < blocks; ++block) {
        for (int c = 0; c < 2; ++c) {
            for (qint64 time :
                service.roundTrips(service.peer(clients[c]->user), roundTripCount / blocks, &ok))
                times[c].push_back(time);
        }
    }
    if (!ok) {
        std::fprintf(stderr, "a round trip failed\n");
        return 1;
    }
    std::printf("Round trip of an unhandled text, %zu each (us):\n", times[0].size());
    for (int c = 0; c < 2; ++c)
        std::printf("  %-10s p50 %8.1f  p99 %8.1f\n", clients[c]->name,
            millis(percentile(times[c], 0.5)) * 1000.0,
            millis(percentile(times[c], 0.99)) * 1000.0);
    const double ratio = double(percentile(times[1], 0.5)) / double(percentile(times[0], 0.5));
    std::printf("  TLS/plaintext p50 %.2f  p99 %.2f  (target p50 1.3: %s)\n", ratio,
        double(percentile(times[1], 0.99)) / double(percentile(times[0], 0.99)),
        ratio <= 1.3 ? "met" : "MISSED");

    // The Print Service drops the connection: the loss noticed, the usual
    // reconnect delay, a new connection (and handshake) and its registration.
    std::printf(
        "Dropped connection to registration on the new one, %d drops each (ms):\n", dropCount);
    for (Client *client : clients) {
        std::vector<qint64> drops;
        for (int i = 0; i < dropCount; ++i) {
            FakePrintService::Peer *peer = service.peer(client->user);
            QTcpSocket *socket = peer->socket;
            service.forget(client->user);
            const qint64 droppedAt = service.nowNanos();
            socket->abort();
            if (!waitUntil([&] { return service.peer(client->user) != nullptr; })) {
                std::fprintf(stderr, "the %s client did not come back\n%s\n", client->name,
                    terminator->report().right(1200).constData());
                return 1;
            }
            drops.push_back(service.peer(client->user)->registeredAtNanos - droppedAt);
        }
        std::printf("  %-10s median %8.1f  min %8.1f  max %8.1f\n", client->name,
            millis(percentile(drops, 0.5)), millis(*std::min_element(drops.begin(), drops.end())),
            millis(*std::max_element(drops.begin(), drops.end())));
    }

    bool ended = true;
    for (Client *client : clients)
        ended = endProcess(client->process) && client->process.exitCode() == 0 && ended;
    if (!ended)
        std::fprintf(stderr, "a client did not end cleanly on SIGTERM\n");
    // The service's sockets close and go before the service does.
    pause(500);
    return ended ? 0 : 1;
}
