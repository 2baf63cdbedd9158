#include "TsHttpInterface.h"

TsHttpInterface::TsHttpInterface(QObject *parent)
    : QObject(parent)
{ }

TsHttpInterface::~TsHttpInterface() = default;

bool TsHttpInterface::post(const QString &host, int port, const QString &path, const QString &,
    const QByteArray &data, QIODevice *, const QString &contentType)
{
    return post(host, port, path, data, contentType);
}

void TsHttpInterface::setReceiveTimeout(int) { }

bool TsHttpInterface::setTimeout(int)
{
    return false;
}
