#include "TsHttpMac.h"

#include "DiagnosticLine_p.h"

#include <QIODevice>

#include <cstdlib>
#include <memory>

const QString TsHttpMac::SourceName = QStringLiteral("tsHttpMac");

TsHttpMac::TsHttpMac(QObject *parent)
    : TsHttpInterface(parent)
{ }

bool TsHttpMac::setTimeout(int milliseconds)
{
    // Whole seconds: anything below a second means waits of 0 seconds.
    m_timeoutSeconds = milliseconds / 1000;
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

    char *rawBody = nullptr;
    const int length
        = HttpFetcher::fetch(url.toLatin1().constData(), &rawBody, settings, &m_lastError);
    const std::unique_ptr<char, decltype(&std::free)> body(rawBody, &std::free);
    if (length < 0) {
        writeDiagnosticLine(SourceName, lastErrorText());
        if (device)
            device->close();
        return false;
    }
    if (!device)
        return length > 0;

    if (device->isOpen())
        device->close();
    if (!device->open(QIODevice::ReadWrite | QIODevice::Truncate))
        return false;
    // The body goes with the NUL that ends the fetcher's buffer: callers read
    // the device as a terminated text.
    const bool written = device->write(body.get(), qint64(length) + 1) == qint64(length) + 1;
    device->close();
    return written && length > 0;
}
