#include "SystemLogObserver.h"

#include "ObservableEvent.h"
#include "Trace.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace UtilsLib {

const QString SystemLogObserver::DEFAULT_SOCKET = QStringLiteral("/dev/log");
const QString SystemLogObserver::SOCKET_VARIABLE = QStringLiteral("PELLORA_LOG_SOCKET");

namespace {
constexpr int UserFacility = 1;

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x2028 || c == 0x2029;
}
} // namespace

QByteArray SystemLogObserver::tagOf(const QString &identifier)
{
    // RFC 3164's TAG: alphanumerics, at most 32 of them. A blank, "[" or ":"
    // would end it early for a daemon that reads the line.
    QByteArray tag;
    for (const QChar c : identifier) {
        if (tag.size() == MAX_TAG_CHARS)
            break;
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
            tag += char(u);
    }
    return tag;
}

SystemLogObserver::SystemLogObserver(const QString &identifier, const QString &socketPath)
    : m_identifier(tagOf(identifier))
    , m_socketPath(QFile::encodeName(socketPath.isEmpty() ? DEFAULT_SOCKET : socketPath))
    , m_socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
{ }

SystemLogObserver::~SystemLogObserver()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

QString SystemLogObserver::socketFromEnvironment()
{
    const QString path = qEnvironmentVariable(qPrintable(SOCKET_VARIABLE));
    return path.isEmpty() ? DEFAULT_SOCKET : path;
}

void SystemLogObserver::notify(const ObservableEvent &event)
{
    Priority priority;
    if (event.category() == Trace::Error)
        priority = Error;
    else if (event.category() == Trace::Warning)
        priority = Warning;
    else
        return;
    write(priority,
        QStringLiteral("%1 %2 %3: %4")
            .arg(event.category(), event.senderId(), event.function(), event.details()));
}

bool SystemLogObserver::wantsSeverity(int severityCode) const
{
    return severityCode <= Trace::WarningCode;
}

bool SystemLogObserver::write(Priority priority, const QString &text)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (m_socket < 0 || m_socketPath.size() >= int(sizeof address.sun_path)) {
        ++m_dropped;
        return false;
    }
    std::memcpy(address.sun_path, m_socketPath.constData(), size_t(m_socketPath.size()));
    const QByteArray datagram = formatDatagram(priority, m_identifier,
        QCoreApplication::applicationPid(), QDateTime::currentDateTime(), text);
    // Unconnected: a log daemon that restarts is found again at the next line.
    ssize_t sent;
    do {
        sent = ::sendto(m_socket, datagram.constData(), size_t(datagram.size()),
            MSG_DONTWAIT | MSG_NOSIGNAL, reinterpret_cast<const sockaddr *>(&address),
            socklen_t(offsetof(sockaddr_un, sun_path) + size_t(m_socketPath.size())));
    } while (sent < 0 && errno == EINTR);
    if (sent != datagram.size()) {
        ++m_dropped;
        return false;
    }
    return true;
}

QByteArray SystemLogObserver::formatDatagram(Priority priority, const QByteArray &identifier,
    qint64 pid, const QDateTime &time, const QString &text)
{
    // RFC 3164: "<PRI>Mmm dd hh:mm:ss TAG[pid]: text", the day padded with a blank.
    static const char *const Months[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = time.date();
    const QByteArray stamp = QByteArray(Months[qBound(1, date.month(), 12) - 1]) + ' '
        + QByteArray::number(date.day()).rightJustified(2, ' ') + ' '
        + time.time().toString(QStringLiteral("hh:mm:ss")).toLatin1();
    return '<' + QByteArray::number(UserFacility * 8 + int(priority)) + '>' + stamp + ' '
        + identifier + '[' + QByteArray::number(pid) + "]: " + sanitize(text);
}

QByteArray SystemLogObserver::sanitize(const QString &text)
{
    QByteArray out;
    out.reserve(qMin(text.size(), MAX_TEXT_BYTES) + 16);
    const QList<uint> codePoints = text.toUcs4();
    for (uint c : codePoints) {
        QByteArray piece;
        if (isControl(c)) {
            piece = "\\x" + QByteArray::number(c, 16).rightJustified(2, '0');
        } else {
            const char32_t one = c;
            piece = QString::fromUcs4(&one, 1).toUtf8();
        }
        // Room is kept for the mark of a cut.
        if (out.size() + piece.size() > MAX_TEXT_BYTES - 3) {
            out += "...";
            break;
        }
        out += piece;
    }
    return out;
}

} // namespace UtilsLib
