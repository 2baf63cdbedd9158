#pragma once

#include "HttpFetcher.h"
#include "TsHttpInterface.h"

// The client on the socket-level fetcher. Each instance keeps its own
// timeout, so one client's setting never changes another's.
class TsHttpMac : public TsHttpInterface
{
    Q_OBJECT
public:
    static const QString SourceName;

    explicit TsHttpMac(QObject *parent = nullptr);

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

    int timeoutSeconds() const { return m_timeoutSeconds; }
    int deadlineMilliseconds() const { return m_deadlineMilliseconds; }
    HttpFetcher::Error lastError() const { return m_lastError; }
    QString lastErrorText() const;

private:
    int m_timeoutSeconds = 30;
    int m_deadlineMilliseconds = 30000;
    HttpFetcher::Error m_lastError;
};
