#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// A datagram socket bound where a log daemon's would be; reads what has
// arrived without waiting.
class LogSocket
{
public:
    explicit LogSocket(const QString &path, int receiveBuffer = 0)
        : m_fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0))
    {
        if (receiveBuffer > 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        if (m_fd < 0 || name.size() >= int(sizeof address.sun_path))
            return;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    }
    ~LogSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LogSocket(const LogSocket &) = delete;
    LogSocket &operator=(const LogSocket &) = delete;

    bool isBound() const { return m_bound; }

    QList<QByteArray> take()
    {
        QList<QByteArray> datagrams;
        char buffer[8192];
        ssize_t n;
        while ((n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT)) >= 0)
            datagrams.append(QByteArray(buffer, int(n)));
        return datagrams;
    }

private:
    int m_fd;
    bool m_bound = false;
};
