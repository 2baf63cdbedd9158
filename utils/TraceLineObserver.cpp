#include "TraceLineObserver.h"

#include "ObservableEvent.h"
#include "PrivateFile.h"

#include <unistd.h>

namespace UtilsLib {

TraceLineObserver::TraceLineObserver(const QString &fileName)
    : m_device(&m_file)
{
    // Texts are masked before they are traced, but the trace still tells who
    // printed what and when: it is the administrator's alone.
    const int fd = PrivateFile::openForAppend(fileName);
    if (fd >= 0
        && !m_file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle))
        ::close(fd);
}

TraceLineObserver::TraceLineObserver(QIODevice *device)
    : m_device(device)
{ }

bool TraceLineObserver::isOpen() const
{
    return m_device && m_device->isOpen() && m_device->isWritable();
}

QString TraceLineObserver::formatLine(const ObservableEvent &event)
{
    QString details = event.details();
    details.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    details.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    details.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    details.replace(QChar(0), QLatin1String("\\0"));
    const QString sender = event.senderId().isEmpty() ? QStringLiteral("-") : event.senderId();
    const QString function = event.function().isEmpty() ? QStringLiteral("-") : event.function();
    return QStringLiteral("%1 %2 %3 %4: %5\n")
        .arg(event.timestamp().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")),
            event.category().isEmpty() ? QStringLiteral("-") : event.category(), sender, function,
            details);
}

void TraceLineObserver::notify(const ObservableEvent &event)
{
    if (!isOpen())
        return;
    m_device->write(formatLine(event).toUtf8());
    // Flushed line by line: the trace is read most after a crash or a hang.
    if (auto *file = qobject_cast<QFileDevice *>(m_device))
        file->flush();
}

} // namespace UtilsLib
