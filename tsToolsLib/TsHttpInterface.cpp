#include "TsHttpInterface.h"

namespace {
std::function<bool()> &abortCheck()
{
    static std::function<bool()> check;
    return check;
}
} // namespace

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

void TsHttpInterface::setAbortCheck(std::function<bool()> check)
{
    abortCheck() = std::move(check);
}

bool TsHttpInterface::abortRequested()
{
    const std::function<bool()> &check = abortCheck();
    return check && check();
}
