#include "OSInterface.h"

#include "Trace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

const QString OSInterface::ClassName = QStringLiteral("OSInterface");

namespace {
std::atomic<bool (*)()> s_quitCheck {nullptr};

void startOwnSession(QProcess &process)
{
    // The command leads a session (and process group) of its own, so that
    // everything it starts can be ended with it.
    process.setChildProcessModifier([] { ::setsid(); });
}
} // namespace

OSInterface::~OSInterface() = default;

void OSInterface::setQuitCheck(bool (*check)())
{
    s_quitCheck.store(check);
}

bool OSInterface::quitSignalled()
{
    bool (*const check)() = s_quitCheck.load();
    return check && check();
}

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
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    startOwnSession(process);
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
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, passOn);
    m_quitBeforeStart = quitSignalled();
    process.start(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QString::fromLocal8Bit(command ? command : "")},
        QIODevice::ReadOnly);
    // The script itself is not traced: it is the Print Service's, and may carry
    // what a trace file should not.
    const bool finished = finish(process, m_scriptTimeout, QStringLiteral("Shell command"));
    passOn();
    if (!finished)
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int OSInterface::run(const QString &program, const QStringList &arguments, QString *standardOutput)
{
    QProcess process;
    process.setProcessChannelMode(
        standardOutput ? QProcess::SeparateChannels : QProcess::ForwardedErrorChannel);
    if (!standardOutput)
        process.setStandardOutputFile(QProcess::nullDevice());
    startOwnSession(process);
    m_quitBeforeStart = quitSignalled();
    process.start(program, arguments, QIODevice::ReadOnly);
    const bool finished = finish(process, m_commandTimeout, program);
    if (standardOutput)
        *standardOutput = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (!finished || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

bool OSInterface::finish(QProcess &process, int timeoutMillis, const QString &name)
{
    static const char *const Function = "finish";
    if (!process.waitForStarted()) {
        Trace::logf(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
            "%1 could not be started", name);
        return false;
    }
    process.closeWriteChannel();
    // Taken now: once the command has gone Qt no longer knows it, while a
    // child of it may still hold the group.
    const pid_t group = pid_t(process.processId());

    m_abortRequested = false;
    const QDeadlineTimer deadline(timeoutMillis);
    // Looked at before the start: a quit that comes while the command starts
    // is one it must end for.
    const bool watchQuit = !m_quitBeforeStart && s_quitCheck.load();
    const auto quitArrived = [&] {
        if (watchQuit && quitSignalled())
            m_abortRequested = true;
        return m_abortRequested;
    };
    if (m_eventsDuringWait && QCoreApplication::instance()) {
        QEventLoop loop;
        QTimer expiry;
        expiry.setSingleShot(true);
        QObject::connect(&expiry, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        expiry.start(timeoutMillis);
        QTimer quitWatch;
        QObject::connect(&quitWatch, &QTimer::timeout, &loop, [&] {
            if (quitArrived())
                loop.quit();
        });
        if (watchQuit)
            quitWatch.start(QUIT_POLL_MILLIS);
        m_waitLoop = &loop;
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        m_waitLoop = nullptr;
    }
    // Also the wait of a loop that an application already told to exit
    // returns at once. A quit signal does not interrupt a blocking wait
    // (SA_RESTART), so the wait goes in slices that look at the quit check.
    while (process.state() != QProcess::NotRunning && !quitArrived() && !deadline.hasExpired()) {
        const qint64 left = deadline.remainingTime();
        process.waitForFinished(int(watchQuit ? std::min<qint64>(left, QUIT_POLL_MILLIS) : left));
    }
    if (process.state() == QProcess::NotRunning)
        return true;

    if (m_abortRequested)
        Trace::logf(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
            "%1 ended with its children: the client is quitting", name);
    else
        Trace::logf(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
            "%1 did not finish within %2 ms; ended with its children", name,
            QString::number(timeoutMillis));
    endProcessGroup(process, group);
    return false;
}

void OSInterface::endProcessGroup(QProcess &process, pid_t group)
{
    // The group's id is the command's own process id (it leads its session);
    // the group lives on as long as a child of it does, even once the command
    // itself has gone.
    if (group <= 0)
        return;
    ::kill(-group, SIGTERM);
    process.waitForFinished(m_killGrace);
    // Children that ignore SIGTERM, or that outlived the command, go now.
    ::kill(-group, SIGKILL);
    process.waitForFinished(m_killGrace);
}

void OSInterface::abortRunningCommand()
{
    if (!m_waitLoop)
        return;
    m_abortRequested = true;
    m_waitLoop->quit();
}
