#include "OSInterface.h"

#include <QProcess>

#include <cstdio>

int OSInterface::system(const char *command, QByteArray *output)
{
    // The output passes through here rather than straight to the terminal, so
    // that a failing script's own words can be reported. The shell's end, not
    // the end of its output, ends the call: a script may leave a program
    // running in the background that keeps the pipe open.
    if (output)
        output->clear();
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromUtf8(command)},
        QIODevice::ReadOnly);
    if (!process.waitForStarted())
        return -1;
    process.closeWriteChannel();
    const auto passOn = [&process, output] {
        const QByteArray chunk = process.readAll();
        if (chunk.isEmpty())
            return;
        std::fwrite(chunk.constData(), 1, size_t(chunk.size()), stdout);
        std::fflush(stdout);
        if (!output)
            return;
        output->append(chunk);
        if (output->size() > OUTPUT_TAIL)
            output->remove(0, output->size() - OUTPUT_TAIL);
    };
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(250);
        passOn();
    }
    passOn();
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
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
