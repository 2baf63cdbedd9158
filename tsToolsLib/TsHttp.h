#pragma once

#include "HttpFetcher.h"
#include "TsHttpInterface.h"

#include <atomic>
#include <memory>

class QEventLoop;

// The client for the toolkit's side of the program. get() blocks by running a
// local event loop while the transfer runs on a thread of its own, so other
// events (sockets, timers, input, painting) keep being handled.
class TsHttp : public TsHttpInterface
{
    Q_OBJECT
public:
    static const QString SourceName;

    enum ErrorCode {
        NoError = 0,
        UnknownError = 1,
        HostNotFound = 2,
        ConnectionRefused = 3,
        UnexpectedClose = 4,
        InvalidResponseHeader = 5,
        WrongContentLength = 6,
        Aborted = 7,
        SecureConnectionFailed = 8,
    };

    // Redirects followed before a fetch fails.
    static constexpr int MaxRedirects = 3;

    explicit TsHttp(QObject *parent = nullptr);
    ~TsHttp() override;

    bool get(const QString &url, QIODevice *device) override;
    bool post(const QString &, int, const QString &, const QByteArray &, const QString &) override
    {
        return false;
    }
    bool deleteFile(const QString &, int, const QString &, const QString &) override
    {
        return false;
    }
    using TsHttpInterface::post;
    bool setTimeout(int milliseconds) override;

    int timeout() const { return m_timeout; }
    int lastError() const { return m_lastError; }
    // The transport's own account of the last failure, a TLS reason in words included.
    QString lastErrorDetail() const;
    static QString errorText(int code);

public slots:
    void finished(int id, bool error);
    void abort();

private:
    void end(bool success);

    int m_timeout = 30000;
    bool m_success = false;
    bool m_done = false;
    int m_lastError = NoError;
    HttpFetcher::Error m_transportError;
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_abort;
    QEventLoop *m_loop = nullptr;
};
