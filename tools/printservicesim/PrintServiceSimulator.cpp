#include "PrintServiceSimulator.h"

#include "HexEncrypt.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {
constexpr qsizetype MAX_HTTP_REQUEST_BYTES = 16 * 1024;
const char *const BUFFER_PROPERTY = "simBuffer";

QString firstWord(const QString &line, QString *rest)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        rest->clear();
        return line;
    }
    *rest = line.mid(blank + 1);
    return line.left(blank);
}
} // namespace

PrintServiceSimulator::PrintServiceSimulator(const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_wakeUp(new QTimer(this))
    , m_timeoutMillis(settings.waitTimeoutMillis)
{
    m_wakeUp->setInterval(20);
    connect(m_wakeUp, &QTimer::timeout, this, &PrintServiceSimulator::runCommands);
}

bool PrintServiceSimulator::start(QString *error)
{
    m_messageServer = new QTcpServer(this);
    if (!m_messageServer->listen(m_settings.listenAddress, m_settings.messagePort)) {
        *error = QStringLiteral("message port %1: %2")
                     .arg(m_settings.messagePort)
                     .arg(m_messageServer->errorString());
        return false;
    }
    m_httpServer = new QTcpServer(this);
    if (!m_httpServer->listen(m_settings.listenAddress, m_settings.httpPort)) {
        *error = QStringLiteral("HTTP port %1: %2")
                     .arg(m_settings.httpPort)
                     .arg(m_httpServer->errorString());
        return false;
    }
    connect(m_messageServer, &QTcpServer::newConnection, this,
        &PrintServiceSimulator::acceptMessageConnection);
    connect(m_httpServer, &QTcpServer::newConnection, this,
        &PrintServiceSimulator::acceptHttpConnection);
    print(QStringLiteral("LISTEN tcp %1 %2")
              .arg(m_settings.listenAddress.toString())
              .arg(m_messageServer->serverPort()));
    print(QStringLiteral("LISTEN http %1 %2")
              .arg(m_settings.listenAddress.toString())
              .arg(m_httpServer->serverPort()));

    if (m_settings.readStandardInput) {
        m_stdinNotifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_stdinNotifier, &QSocketNotifier::activated, this,
            &PrintServiceSimulator::readStandardInput);
    }
    QTimer::singleShot(0, this, &PrintServiceSimulator::runCommands);
    return true;
}

void PrintServiceSimulator::addScenario(const QStringList &lines)
{
    for (const QString &line : lines)
        m_commands.enqueue({line, true});
    m_scenarioLeft += int(lines.size());
}

void PrintServiceSimulator::print(const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    std::fflush(stdout);
}

QString PrintServiceSimulator::escape(const QByteArray &bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '\\':
            out += "\\\\";
            break;
        case '\0':
            out += "\\0";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7f)
                out += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return QString::fromUtf8(out);
}

QByteArray PrintServiceSimulator::unescape(const QString &text)
{
    const QByteArray in = text.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) != '\\' || i + 1 == in.size()) {
            out += in.at(i);
            continue;
        }
        const char next = in.at(++i);
        switch (next) {
        case '0':
            out += '\0';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            bool ok = false;
            const char value = char(in.mid(i + 1, 2).toInt(&ok, 16));
            if (ok && i + 2 < in.size()) {
                out += value;
                i += 2;
                break;
            }
            out += "\\x";
            break;
        }
        default:
            out += '\\';
            out += next;
        }
    }
    return out;
}

QString PrintServiceSimulator::expandTimeStamp(QString text)
{
    return text.replace(QLatin1String("{ts}"),
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss")));
}

void PrintServiceSimulator::acceptMessageConnection()
{
    while (QTcpSocket *socket = m_messageServer->nextPendingConnection()) {
        m_clients.append(socket);
        const QString peer
            = QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
        print(QLatin1String("CONNECTED ") + peer);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readMessageBytes(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, peer] {
            readMessageBytes(socket);
            const QByteArray tail = socket->property(BUFFER_PROPERTY).toByteArray();
            if (!tail.isEmpty())
                print(QLatin1String("RECV-UNTERMINATED ") + escape(tail));
            m_clients.removeAll(socket);
            socket->deleteLater();
            print(QLatin1String("DISCONNECTED ") + peer);
            runCommands();
        });
    }
    runCommands();
}

void PrintServiceSimulator::readMessageBytes(QTcpSocket *socket)
{
    const QByteArray bytes = socket->readAll();
    if (bytes.isEmpty())
        return;
    if (m_settings.showRawBytes)
        print(QLatin1String("RAW ") + escape(bytes));
    QByteArray buffer = socket->property(BUFFER_PROPERTY).toByteArray() + bytes;
    qsizetype end;
    while ((end = buffer.indexOf('\0')) >= 0) {
        const QByteArray text = buffer.left(end);
        buffer.remove(0, end + 1);
        print(QLatin1String("RECV ") + escape(text));
        m_inbox.append(QString::fromUtf8(text));
    }
    socket->setProperty(BUFFER_PROPERTY, buffer);
    runCommands();
}

void PrintServiceSimulator::acceptHttpConnection()
{
    while (QTcpSocket *socket = m_httpServer->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHttpRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void PrintServiceSimulator::readHttpRequest(QTcpSocket *socket)
{
    QByteArray request = socket->property(BUFFER_PROPERTY).toByteArray() + socket->readAll();
    socket->setProperty(BUFFER_PROPERTY, request);
    if (request.size() > MAX_HTTP_REQUEST_BYTES) {
        socket->write("HTTP/1.0 400 Bad Request\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    if (!request.contains("\r\n\r\n") && !request.contains("\n\n"))
        return;
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);

    const QList<QByteArray> requestLine = request.left(request.indexOf('\n')).trimmed().split(' ');
    const QByteArray method = requestLine.value(0);
    QByteArray path = requestLine.value(1);
    if (path.contains('?'))
        path.truncate(path.indexOf('?'));
    answerHttp(socket, method, path);
}

void PrintServiceSimulator::answerHttp(
    QTcpSocket *socket, const QByteArray &method, const QByteArray &path)
{
    static const QRegularExpression languageFile(
        QStringLiteral("^/languages/([A-Za-z0-9_]+_OVERRIDE\\.qm)$"));
    int status = 404;
    QByteArray body;
    QByteArray type = "text/plain; charset=utf-8";

    if (method != "GET") {
        status = 405;
    } else if (path == "/printers/") {
        if (m_printerRequests++ < m_settings.failPrinterRequests) {
            status = 503;
        } else {
            status = 200;
            body = UtilsLib::HexEncrypt::encryptData(m_settings.installScript).toLatin1() + '\n'
                + UtilsLib::HexEncrypt::encryptData(m_settings.removalScript).toLatin1() + '\n';
        }
    } else if (const auto match = languageFile.match(QString::fromLatin1(path));
               match.hasMatch() && !m_settings.languagesFolder.isEmpty()) {
        QFile file(QDir(m_settings.languagesFolder).filePath(match.captured(1)));
        if (file.open(QIODevice::ReadOnly)) {
            status = 200;
            body = file.readAll();
            type = "application/octet-stream";
        }
    }

    static const QMap<int, QByteArray> reasons {
        {200, "OK"}, {404, "Not Found"}, {405, "Method Not Allowed"}, {503, "Service Unavailable"}};
    QByteArray response = "HTTP/1.0 " + QByteArray::number(status) + ' ' + reasons.value(status)
        + "\r\nConnection: close\r\n";
    if (status == 200)
        response += "Content-Type: " + type + "\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    socket->write(response);
    socket->disconnectFromHost();
    print(QStringLiteral("HTTP %1 %2 %3")
              .arg(QString::fromLatin1(method), escape(path), QString::number(status)));
}

void PrintServiceSimulator::readStandardInput()
{
    char chunk[4096];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
        // End of input: the simulator keeps serving until told to quit.
        m_stdinNotifier->setEnabled(false);
        return;
    }
    m_stdinBuffer.append(chunk, count);
    qsizetype end;
    while ((end = m_stdinBuffer.indexOf('\n')) >= 0) {
        QString line = QString::fromUtf8(m_stdinBuffer.left(end));
        m_stdinBuffer.remove(0, end + 1);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        m_commands.enqueue({line, false});
    }
    runCommands();
}

QTcpSocket *PrintServiceSimulator::currentClient() const
{
    return m_clients.isEmpty() ? nullptr : m_clients.last();
}

void PrintServiceSimulator::runCommands()
{
    // Socket signals emitted while a command runs (close) come back here.
    if (m_running) {
        m_rerun = true;
        return;
    }
    m_running = true;
    do {
        m_rerun = false;
        runQueuedCommands();
    } while (m_rerun && !m_finished);
    m_running = false;
}

void PrintServiceSimulator::runQueuedCommands()
{
    while (!m_finished && !m_commands.isEmpty()) {
        if (!m_waiting) {
            m_waitClock.start();
            m_sleepUntil = -1;
        }
        if (!execute(m_commands.head())) {
            m_waiting = true;
            m_wakeUp->start();
            return;
        }
        m_waiting = false;
        if (m_finished || m_commands.isEmpty())
            break;
        if (m_commands.dequeue().fromScenario && --m_scenarioLeft == 0)
            print(QStringLiteral("SCENARIO-DONE"));
    }
    m_wakeUp->stop();
}

bool PrintServiceSimulator::fail(const Command &command, const QString &reason)
{
    print(QStringLiteral("FAIL %1: %2").arg(command.line, reason));
    if (command.fromScenario)
        finish(1);
    return true;
}

bool PrintServiceSimulator::waitTimedOut(const Command &command)
{
    if (m_waitClock.elapsed() < m_timeoutMillis)
        return false;
    fail(command, QStringLiteral("timed out after %1 ms").arg(m_timeoutMillis));
    return true;
}

bool PrintServiceSimulator::execute(const Command &command)
{
    const QString line = command.line.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return true;
    QString argument;
    const QString name = firstWord(line, &argument);

    if (name == QLatin1String("wait-connect")) {
        if (currentClient()) {
            print(QStringLiteral("OK wait-connect"));
            return true;
        }
        return waitTimedOut(command);
    }
    if (name == QLatin1String("wait-register")) {
        while (!m_inbox.isEmpty()) {
            const QString text = m_inbox.takeFirst();
            if (text.startsWith(QLatin1String("register:"))) {
                print(QLatin1String("OK wait-register ") + escape(text.toUtf8()));
                return true;
            }
        }
        return waitTimedOut(command);
    }
    if (name == QLatin1String("expect")) {
        if (m_inbox.isEmpty())
            return waitTimedOut(command);
        const QString text = m_inbox.takeFirst();
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(argument));
        if (!pattern.isValid())
            return fail(command, QLatin1String("bad pattern: ") + pattern.errorString());
        if (!pattern.match(text).hasMatch())
            return fail(command, QLatin1String("got ") + escape(text.toUtf8()));
        print(QLatin1String("OK expect ") + escape(text.toUtf8()));
        return true;
    }
    if (name == QLatin1String("send") || name == QLatin1String("send-raw")) {
        QTcpSocket *client = currentClient();
        if (!client)
            return fail(command, QStringLiteral("no client connected"));
        const QString text = expandTimeStamp(argument);
        if (name == QLatin1String("send")) {
            client->write(text.toUtf8().append('\0'));
            print(QLatin1String("SENT ") + escape(text.toUtf8()));
        } else {
            const QByteArray bytes = unescape(text);
            client->write(bytes);
            print(QLatin1String("SENT-RAW ") + escape(bytes));
        }
        return true;
    }
    if (name == QLatin1String("sleep") || name == QLatin1String("timeout")) {
        bool ok = false;
        const int millis = argument.toInt(&ok);
        if (!ok || millis < 0)
            return fail(command, QStringLiteral("expected milliseconds"));
        if (name == QLatin1String("timeout")) {
            m_timeoutMillis = millis;
            return true;
        }
        return m_waitClock.elapsed() >= millis;
    }
    if (name == QLatin1String("close")) {
        if (QTcpSocket *client = currentClient()) {
            client->disconnectFromHost();
            print(QStringLiteral("CLOSED"));
        }
        return true;
    }
    if (name == QLatin1String("note")) {
        print(QLatin1String("NOTE ") + argument);
        return true;
    }
    if (name == QLatin1String("quit")) {
        bool ok = true;
        const int status = argument.isEmpty() ? 0 : argument.toInt(&ok);
        finish(ok ? status : 1);
        return true;
    }
    if (!command.fromScenario) {
        // A typed line that is no command is a text to send.
        return execute({QLatin1String("send ") + command.line, false});
    }
    return fail(command, QStringLiteral("unknown command"));
}

void PrintServiceSimulator::finish(int status)
{
    if (m_finished)
        return;
    m_finished = true;
    m_commands.clear();
    m_wakeUp->stop();
    for (QTcpSocket *client : std::as_const(m_clients)) {
        if (client->bytesToWrite() > 0)
            client->waitForBytesWritten(2000);
    }
    print(QStringLiteral("QUIT %1").arg(status));
    emit finished(status);
}
