#pragma once

// The built client against a Print Service played by the benchmark: the
// service's two ports, a private folder for the client, and the figures of a
// running process.

#include "HexEncrypt.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <list>
#include <optional>
#include <algorithm>
#include <vector>

namespace ClientBench {

constexpr quint16 MESSAGE_PORT = 21326;
constexpr quint16 HTTP_PORT = 30044;
constexpr int WAIT_MILLIS = 60000;

// What the client answers to a text it has no message for.
inline QByteArray notHandled(const QByteArray &text)
{
    return "Message Not Handled: " + text;
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

inline void pause(int millis)
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

    ~FakePrintService() override
    {
        // Connections still open go after the members their handlers use.
        const QObject *const owners[] = {this, &m_messages, &m_http};
        for (const QObject *owner : owners) {
            for (QTcpSocket *socket : owner->findChildren<QTcpSocket *>())
                socket->disconnect(this);
        }
    }

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

    // Sends one text to a peer and returns its answer, or nothing when none
    // came in time; `meanwhile` runs again and again until it comes (a
    // patron's key press, for a text that brings up a dialog).
    std::optional<QByteArray> exchange(Peer *peer, const QByteArray &text,
        const std::function<void()> &meanwhile = {}, int millis = WAIT_MILLIS)
    {
        std::optional<QByteArray> answer;
        m_onText = [&](QTcpSocket *socket, const QByteArray &received) {
            if (socket == peer->socket && !answer)
                answer = received;
        };
        peer->socket->write(text + '\0');
        QElapsedTimer clock;
        clock.start();
        while (!answer && peer->socket && clock.elapsed() < millis) {
            if (meanwhile)
                meanwhile();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        m_onText = nullptr;
        return answer;
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

// The client's folder prepared and the service's ports open; says why not.
inline bool setUp(ClientSandbox *sandbox, FakePrintService *service, const QString &program)
{
    if (!sandbox->prepare(program)) {
        std::fprintf(stderr, "cannot prepare the client's folder\n");
        return false;
    }
    if (!service->start()) {
        std::fprintf(stderr, "ports %d and %d are taken\n", MESSAGE_PORT, HTTP_PORT);
        return false;
    }
    return true;
}

struct ProcessFigures
{
    qint64 rssKb = -1;
    qint64 cpuTicks = -1; // utime + stime, all threads
    qint64 voluntarySwitches = 0; // all threads
    qint64 involuntarySwitches = 0;
    int threads = 0;
};

inline ProcessFigures measure(qint64 pid)
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


inline int intOption(const QStringList &arguments, const QString &name, int fallback)
{
    const int index = arguments.indexOf(name);
    return index >= 0 && index + 1 < arguments.size() ? arguments.at(index + 1).toInt() : fallback;
}

inline bool endProcess(QProcess &process)
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


// The value below which that fraction of the samples lies.
inline qint64 percentile(std::vector<qint64> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size())));
    return values[index];
}

} // namespace ClientBench
