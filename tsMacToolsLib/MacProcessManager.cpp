#include "MacProcessManager.h"

#include "OSInterface.h"

#include <QProcess>
#include <QThread>

MacProcessManager::MacProcessManager(OSInterface *os)
    : m_os(os)
{
    if (!m_os)
        m_os = m_ownOs = new OSInterface;
}

MacProcessManager::~MacProcessManager()
{
    delete m_ownOs;
}

bool MacProcessManager::signalAll(const QString &name, const QString &signal)
{
    // An argument list, never a shell line: the name is data, not a command.
    return m_os->run(QStringLiteral("killall"), {QLatin1Char('-') + signal, name}) == 0;
}

bool MacProcessManager::killProcess(const char *name, unsigned long waitMs)
{
    const QString processName = QString::fromUtf8(name);
    if (signalAll(processName, QStringLiteral("TERM")))
        return true;
    QThread::msleep(waitMs);
    return signalAll(processName, QStringLiteral("KILL"));
}

bool MacProcessManager::startProcess(const QString &command)
{
    return startProcess(QStringList {command});
}

bool MacProcessManager::startProcess(const QStringList &commandAndArguments)
{
    if (commandAndArguments.isEmpty() || commandAndArguments.constFirst().isEmpty())
        return false;
    return QProcess::startDetached(commandAndArguments.constFirst(), commandAndArguments.mid(1));
}

bool MacProcessManager::restartProcessOnCurrentDesktop(const char *, unsigned long)
{
    return false;
}
