#include "TsHttpMac.h"

#include "ConsoleLine.h"

#include <QBuffer>
#include <QIODevice>

const QString TsHttpMac::SourceName = QStringLiteral("tsHttpMac");

TsHttpMac::TsHttpMac(QObject *parent)
    : TsHttpInterface(parent)
{ }

bool TsHttpMac::setTimeout(int milliseconds)
{
    // Whole seconds for each wait: anything below a second means waits of 0
    // seconds. The transfer as a whole ends by the time itself.
    m_timeoutSeconds = milliseconds / 1000;
    m_deadlineMilliseconds = milliseconds;
    return true;
}

QString TsHttpMac::lastErrorText() const
{
    return QString::fromStdString(HttpFetcher::errorText(m_lastError));
}

bool TsHttpMac::get(const QString &url, QIODevice *device)
{
    HttpFetcher::Settings settings = HttpFetcher::processSettings();
    settings.timeoutSeconds = m_timeoutSeconds;
    settings.deadlineMilliseconds = m_deadlineMilliseconds;
    settings.maxBodySize = maxBodySize();
    settings.abortCheck = &TsHttpInterface::abortRequested;

    QByteArray body;
    const int length
        = HttpFetcher::fetch(url.toLatin1().constData(), &body, settings, &m_lastError);
    if (length < 0) {
        UtilsLib::writeConsoleLine(SourceName + QStringLiteral(": ") + lastErrorText());
        if (device)
            device->close();
        return false;
    }
    if (!device)
        return length > 0;

    // The body goes with a NUL after it: callers read the device as a
    // terminated text.
    body.append('\0');
    device->close();
    if (auto *buffer = qobject_cast<QBuffer *>(device)) {
        // Hand the bytes over instead of copying them.
        buffer->setData(body);
        return length > 0;
    }
    if (!device->open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;
    const bool written = device->write(body) == body.size();
    device->close();
    return written && length > 0;
}
