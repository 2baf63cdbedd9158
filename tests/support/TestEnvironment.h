#pragma once

#include <QByteArray>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>

#include <csignal>
#include <sys/resource.h>

// A whole file, or nothing when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

inline bool writeAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The texts that `terminator` ends, taken off the front of `buffer`, which
// keeps the unterminated rest.
inline QList<QByteArray> takeTerminated(QByteArray *buffer, char terminator)
{
    QList<QByteArray> texts;
    qsizetype start = 0;
    for (qsizetype end; (end = buffer->indexOf(terminator, start)) >= 0; start = end + 1)
        texts.append(buffer->mid(start, end - start));
    buffer->remove(0, start);
    return texts;
}

// The number in a field of a /proc status text (VmRSS, VmHWM: kB), or -1.
inline qint64 statusField(const QByteArray &status, const QByteArray &name)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').constFirst().toLongLong();
    }
    return -1;
}

inline qint64 processStatusField(qint64 pid, const QByteArray &name)
{
    return statusField(readAll(QStringLiteral("/proc/%1/status").arg(pid)), name);
}

// A loopback port on which nothing listens (it was free a moment ago).
inline quint16 closedLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Makes every write beyond `bytes` fail, as a full disk would, while alive.
// Tests run as root, so permissions cannot make a save fail; this can.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
};
