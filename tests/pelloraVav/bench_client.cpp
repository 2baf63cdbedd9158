// The built client against a Print Service played by this program: the round
// trip of a text answered without a dialog, compared with a minimal socket
// client in the same run; the time from process start to the registration
// text; memory, CPU time and wake-ups of an idle connected client.
//
// Usage: bench_client [--round-trips N] [--starts N] [--idle-seconds N]
// (bench_client --raw-client is the minimal client it starts itself.)

#include "HexEncrypt.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QHostInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <list>
#include <unistd.h>
#include <vector>

namespace {

constexpr quint16 MESSAGE_PORT = 21326;
constexpr quint16 HTTP_PORT = 30044;
constexpr int WAIT_MILLIS = 60000;

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

// Waits in the event loop until done() holds or the time is up.
template<typename Predicate> bool waitUntil(Predicate done, int millis = WAIT_MILLIS)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > millis)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

void pause(int millis)
{
    QEventLoop loop;
    QTimer::singleShot(millis, &loop, &QEventLoop::quit);
    loop.exec();
}

// The Print Service's two ports: NUL-framed texts, and /printers/ over HTTP.
class FakePrintService : public QObject
{
public:
    struct Peer
    {
        QTcpSocket *socket = nullptr;
        QByteArray registration;
        qint64 registeredAtNanos = -1;
    };

    bool start()
    {
        // Harmless scripts: the client runs them through the shell.
        m_printers = UtilsLib::HexEncrypt::encryptData(QStringLiteral("true")).toLatin1() + '\n'
            + UtilsLib::HexEncrypt::encryptData(QStringLiteral("true")).toLatin1() + '\n';
        connect(&m_messages, &QTcpServer::newConnection, this, [this] { acceptMessages(); });
        connect(&m_http, &QTcpServer::newConnection, this, [this] { acceptHttp(); });
        m_clock.start();
        return m_messages.listen(QHostAddress::LocalHost, MESSAGE_PORT)
            && m_http.listen(QHostAddress::LocalHost, HTTP_PORT);
    }

    qint64 nowNanos() const { return m_clock.nsecsElapsed(); }

    // The peer whose registration names this user, once it has registered.
    Peer *peer(const QByteArray &user)
    {
        for (Peer &peer : m_peers) {
            if (peer.registration.startsWith("register:" + user + ':'))
                return &peer;
        }
        return nullptr;
    }

    void forget(const QByteArray &user)
    {
        m_peers.remove_if([&](const Peer &peer) {
            return peer.registration.startsWith("register:" + user + ':');
        });
    }

    // Sends `count` texts to a peer one after the other, each after the
    // previous answer, and returns the round trips in nanoseconds.
    std::vector<qint64> roundTrips(Peer *peer, int count, bool *ok)
    {
        std::vector<qint64> times;
        times.reserve(size_t(count));
        QByteArray expected;
        qint64 sentAt = 0;
        int sequence = 0;
        const auto sendNext = [&] {
            const QByteArray text = "99|" + QByteArray::number(++m_sequence) + "|bench";
            expected = notHandled(text);
            sentAt = nowNanos();
            peer->socket->write(text + '\0');
            ++sequence;
        };
        *ok = true;
        m_onText = [&](QTcpSocket *socket, const QByteArray &text) {
            if (socket != peer->socket)
                return;
            const qint64 elapsed = nowNanos() - sentAt;
            if (text != expected) {
                std::fprintf(stderr, "unexpected answer: %s\n", text.constData());
                *ok = false;
                return;
            }
            times.push_back(elapsed);
            if (sequence < count)
                sendNext();
        };
        sendNext();
        if (!waitUntil([&] { return !*ok || int(times.size()) == count; }))
            *ok = false;
        m_onText = nullptr;
        return times;
    }

private:
    void acceptMessages()
    {
        while (QTcpSocket *socket = m_messages.nextPendingConnection()) {
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] {
                for (Peer &peer : m_peers) {
                    if (peer.socket == socket)
                        peer.socket = nullptr;
                }
                m_buffers.remove(socket);
            });
        }
    }

    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qint64 now = nowNanos();
        for (const QByteArray &text : takeTerminated(&buffer, '\0')) {
            if (text.startsWith("register:"))
                m_peers.push_back(Peer {socket, text, now});
            else if (m_onText)
                m_onText(socket, text);
        }
    }

    void acceptHttp()
    {
        while (QTcpSocket *socket = m_http.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                QByteArray request = socket->property("request").toByteArray() + socket->readAll();
                socket->setProperty("request", request);
                if (!request.contains("\r\n\r\n"))
                    return;
                const bool printers = request.startsWith("GET /printers/ ");
                const QByteArray body = printers ? m_printers : QByteArray("not here\n");
                socket->write((printers ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n")
                    + QByteArray("Content-Type: text/plain\r\nConnection: close\r\n")
                    + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        }
    }

    QTcpServer m_messages;
    QTcpServer m_http;
    QByteArray m_printers;
    QElapsedTimer m_clock;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    std::list<Peer> m_peers; // stable addresses: callers keep Peer pointers
    std::function<void(QTcpSocket *, const QByteArray &)> m_onText;
    int m_sequence = 0;
};

// A private home for the client: its own folder, runtime folder and CUPS stand-ins.
class ClientSandbox
{
public:
    bool prepare(const QString &program)
    {
        if (!m_root.isValid())
            return false;
        QDir root(m_root.path());
        for (const char *folder : {"app", "home", "run", "bin"}) {
            if (!root.mkdir(QLatin1String(folder)))
                return false;
        }
        QFile::setPermissions(
            path("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        m_program = path("app/pelloraVav");
        return QFile::copy(program, m_program)
            && write("app/printClient.tsp",
                "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n<version>1.1</version>\n"
                "<type>Mac Printer Connector</type>\n"
                "<entry name='Print Service Address'>127.0.0.1</entry>\n</Settings>\n")
            && write(
                "bin/lpstat", "#!/bin/sh\necho 'system default destination: Lab_Laser'\n", true)
            && write("bin/lpoptions", "#!/bin/sh\nexit 0\n", true);
    }

    QString program() const { return m_program; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("HOME"), path("home"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("run"));
        environment.insert(QStringLiteral("USER"), QStringLiteral("bench"));
        environment.insert(
            QStringLiteral("PATH"), path("bin") + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

private:
    QString path(const char *name) const { return m_root.filePath(QLatin1String(name)); }

    bool write(const char *name, const QByteArray &data, bool executable = false)
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return false;
        file.close();
        return !executable || file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    QTemporaryDir m_root;
    QString m_program;
};

struct ProcessFigures
{
    qint64 rssKb = -1;
    qint64 cpuTicks = -1; // utime + stime, all threads
    qint64 voluntarySwitches = 0; // all threads
    qint64 involuntarySwitches = 0;
    int threads = 0;
};

ProcessFigures measure(qint64 pid)
{
    ProcessFigures figures;
    const QString base = QStringLiteral("/proc/%1").arg(pid);
    figures.rssKb = processStatusField(pid, "VmRSS");
    // Fields 14 and 15 after the parenthesised command name.
    const QByteArray stat = readAll(base + QStringLiteral("/stat"));
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 12)
        figures.cpuTicks = fields.at(11).toLongLong() + fields.at(12).toLongLong();
    const QStringList tasks
        = QDir(base + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        const QByteArray status
            = readAll(base + QStringLiteral("/task/") + task + QStringLiteral("/status"));
        figures.voluntarySwitches += statusField(status, "voluntary_ctxt_switches");
        figures.involuntarySwitches += statusField(status, "nonvoluntary_ctxt_switches");
        ++figures.threads;
    }
    return figures;
}

qint64 percentile(std::vector<qint64> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size())));
    return values[index];
}

double micros(qint64 nanos)
{
    return double(nanos) / 1000.0;
}

int intOption(const QStringList &arguments, const QString &name, int fallback)
{
    const int index = arguments.indexOf(name);
    return index >= 0 && index + 1 < arguments.size() ? arguments.at(index + 1).toInt() : fallback;
}

bool endProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return true;
    ::kill(pid_t(process.processId()), SIGTERM);
    if (waitUntil([&] { return process.state() == QProcess::NotRunning; }))
        return true;
    process.kill();
    process.waitForFinished();
    return false;
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
    if (!sandbox.prepare(QStringLiteral(PELLORA_APP_DIR "/pelloraVav"))) {
        std::fprintf(stderr, "cannot prepare the client's folder\n");
        return 1;
    }
    FakePrintService service;
    if (!service.start()) {
        std::fprintf(stderr, "ports %d and %d are taken\n", MESSAGE_PORT, HTTP_PORT);
        return 1;
    }
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
