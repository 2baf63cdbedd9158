#pragma once

#include <QObject>

#include <functional>

class QIODevice;

// Blocking HTTP client. Only get() is in use; post and deleteFile exist for
// the interface's other users and are refused by the implementations here.
class TsHttpInterface : public QObject
{
    Q_OBJECT
public:
    explicit TsHttpInterface(QObject *parent = nullptr);
    ~TsHttpInterface() override;

    virtual bool get(const QString &url, QIODevice *device) = 0;
    virtual bool post(const QString &host, int port, const QString &path, const QByteArray &data,
        const QString &contentType)
        = 0;
    virtual bool deleteFile(const QString &host, int port, const QString &path, const QString &name)
        = 0;
    virtual bool post(const QString &host, int port, const QString &path, const QString &name,
        const QByteArray &data, QIODevice *device, const QString &contentType);
    virtual void setReceiveTimeout(int milliseconds);
    // The whole transfer, name lookup included, ends by this time.
    virtual bool setTimeout(int milliseconds);
    // A larger body is refused as soon as it passes the cap, never buffered whole.
    void setMaxBodySize(qint64 bytes) { m_maxBodySize = bytes; }
    qint64 maxBodySize() const { return m_maxBodySize; }

    static constexpr qint64 DefaultMaxBodySize = 16 * 1024 * 1024;

    // Asked while a get() waits: true gives the transfer up at once. The
    // program sets it to its quit request, so that a quit is not held up by a
    // slow server.
    static void setAbortCheck(std::function<bool()> check);
    static bool abortRequested();

private:
    qint64 m_maxBodySize = DefaultMaxBodySize;
};
