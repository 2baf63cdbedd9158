#pragma once

#include "TsHttpInterface.h"

#include <QBasicTimer>

#include <memory>

class QEventLoop;
class QNetworkAccessManager;
class QNetworkReply;

// The client on the toolkit's network access. get() blocks by running a local
// event loop, so other events (sockets, timers, input) keep being handled.
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
    };

    // Redirects followed before a fetch fails; the toolkit would follow 50.
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
    static QString errorText(int code);

public slots:
    void finished(int id, bool error);
    void abort();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void end(bool success);
    void fail(int code);
    bool headerAcceptable(const QNetworkReply *reply) const;

    qint64 m_received = 0;
    QBasicTimer m_abortPoll;
    int m_timeout = 30000;
    bool m_success = false;
    bool m_done = false;
    int m_lastError = NoError;
    QBasicTimer m_timer;
    std::unique_ptr<QNetworkAccessManager> m_manager;
    QNetworkReply *m_reply = nullptr;
    QEventLoop *m_loop = nullptr;
};
