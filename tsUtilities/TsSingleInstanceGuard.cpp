#include "TsSingleInstanceGuard.h"

#include "ConsoleLine.h"
#include "PrivateFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
// A message is a short command, never a document.
constexpr qint64 MAX_MESSAGE_BYTES = 64 * 1024;
const char *const MESSAGE_PROPERTY = "tsMessage";
const char *const HOME_FOLDER = ".pelloraVav";
} // namespace

TsSingleInstanceGuard::TsSingleInstanceGuard(
    const QString &key, const QString &directory, QObject *parent)
    : QObject(parent)
    , m_key(key)
    , m_directory(directory)
{
    QString lockName = key;
    if (m_directory.isEmpty()) {
        m_directory = defaultDirectory();
        // A home folder may be shared by several machines (NFS): each
        // machine's sessions have locks of their own.
        if (m_directory != runtimeDirectory())
            lockName += QLatin1Char('@') + QSysInfo::machineHostName();
    }

    // Socket paths are short (108 bytes): a readable prefix and a hash.
    QString readable;
    for (const QChar c : key.left(24))
        readable += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('_');
    const QByteArray hash
        = QCryptographicHash::hash(lockName.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    m_baseName = readable + QLatin1Char('-') + QString::fromLatin1(hash);
}

TsSingleInstanceGuard::~TsSingleInstanceGuard()
{
    if (m_server)
        m_server->close();
    // Closing the descriptor releases the lock; the file stays, since removing
    // it could let two later starts lock two different files.
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString TsSingleInstanceGuard::sessionKey(const QString &applicationId)
{
    // The login session separates two sessions of one user; without one the
    // user alone decides.
    QString key = applicationId + QLatin1String("-uid") + QString::number(::getuid());
    const QString session = qEnvironmentVariable("XDG_SESSION_ID");
    if (!session.isEmpty())
        key += QLatin1String("-session") + session;
    return key;
}

QString TsSingleInstanceGuard::runtimeDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return UtilsLib::PrivateFile::isPrivateDirectory(runtime) ? runtime : QString();
}

QString TsSingleInstanceGuard::defaultDirectory()
{
    // Never a shared folder such as /tmp, where another user could take the
    // name first and so keep the client from starting.
    const QString runtime = runtimeDirectory();
    if (!runtime.isEmpty())
        return runtime;
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(HOME_FOLDER);
}

QString TsSingleInstanceGuard::lockFilePath() const
{
    return m_directory + QLatin1Char('/') + m_baseName + QLatin1String(".lock");
}

QString TsSingleInstanceGuard::serverPath() const
{
    return m_directory + QLatin1Char('/') + m_baseName + QLatin1String(".socket");
}

bool TsSingleInstanceGuard::isRunning()
{
    if (m_holdsKey)
        return false;
    if (m_lockFd < 0) {
        UtilsLib::PrivateFile::makeDirectory(m_directory);
        m_lockFd = ::open(QFile::encodeName(lockFilePath()).constData(),
            O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }
    // The kernel drops the lock with its holder, so a crash leaves nothing
    // stale behind: no process id or host name to second-guess.
    if (m_lockFd >= 0 && ::flock(m_lockFd, LOCK_EX | LOCK_NB) == 0) {
        m_holdsKey = true;
        const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
        if (::ftruncate(m_lockFd, 0) == 0) [[maybe_unused]]
            const ssize_t written = ::write(m_lockFd, pid.constData(), size_t(pid.size()));
        return false;
    }
    if (m_lockFd >= 0 && errno == EWOULDBLOCK)
        return true;
    // A folder we cannot write must not keep the patron from printing.
    UtilsLib::writeErrorLine(
        QStringLiteral("Single instance lock %1 unavailable; running without it")
            .arg(lockFilePath()));
    m_holdsKey = true;
    return false;
}

bool TsSingleInstanceGuard::initialize()
{
    if (isRunning())
        return false;
    if (m_server)
        return true;

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock makes any socket file left by a crash ours to remove.
    QLocalServer::removeServer(serverPath());
    if (!m_server->listen(serverPath())) {
        UtilsLib::writeErrorLine(QStringLiteral("Single instance server %1: %2")
                                     .arg(serverPath(), m_server->errorString()));
        return true;
    }
    connect(
        m_server, &QLocalServer::newConnection, this, &TsSingleInstanceGuard::acceptConnections);
    return true;
}

bool TsSingleInstanceGuard::isListening() const
{
    return m_server && m_server->isListening();
}

bool TsSingleInstanceGuard::sendMessage(const QString &message, int timeoutMillis)
{
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    if (!socket.waitForConnected(timeoutMillis))
        return false;
    const QByteArray bytes = message.toUtf8();
    if (!bytes.isEmpty()) {
        socket.write(bytes);
        if (!socket.waitForBytesWritten(timeoutMillis))
            return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMillis);
    return true;
}

void TsSingleInstanceGuard::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [socket] {
            QByteArray bytes = socket->property(MESSAGE_PROPERTY).toByteArray();
            bytes += socket->readAll();
            if (bytes.size() > MAX_MESSAGE_BYTES) {
                socket->abort();
                return;
            }
            socket->setProperty(MESSAGE_PROPERTY, bytes);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { readMessage(socket); });
    }
}

void TsSingleInstanceGuard::readMessage(QLocalSocket *socket)
{
    QByteArray bytes = socket->property(MESSAGE_PROPERTY).toByteArray();
    bytes += socket->readAll();
    socket->deleteLater();
    if (bytes.size() <= MAX_MESSAGE_BYTES)
        emit messageReceived(QString::fromUtf8(bytes));
}
