#pragma once

#include <QObject>

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
    virtual bool setTimeout(int milliseconds);
};
