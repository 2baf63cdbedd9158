#include "OSInterface.h"

#include <QProcess>

#include <cstdlib>
#include <sys/wait.h>

int OSInterface::system(const char *command)
{
    const int status = std::system(command);
    if (status == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int OSInterface::run(const QString &program, const QStringList &arguments, QString *standardOutput)
{
    QProcess process;
    process.setProcessChannelMode(
        standardOutput ? QProcess::SeparateChannels : QProcess::ForwardedErrorChannel);
    if (!standardOutput)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted())
        return -1;
    process.closeWriteChannel();
    process.waitForFinished(-1);
    if (standardOutput)
        *standardOutput = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}
