#pragma once

#include "Observable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/types.h>

class QEventLoop;
class QProcess;

// The way to the operating system's commands. Tests replace it with a fake.
//
// Every command runs with a deadline, in a session of its own: a command that
// outlives it is ended together with everything it started (SIGTERM to the
// whole group, then SIGKILL), so that a hung CUPS tool or script can neither
// hold the client nor leave processes behind. Such a command reports -1, as
// one that crashed, and the event is traced at Warning.
class OSInterface : public UtilsLib::Observable
{
public:
    static const QString ClassName;
    // A CUPS tool answers at once; a printer script may add queues and drivers.
    static constexpr int COMMAND_TIMEOUT_MILLIS = 10000;
    static constexpr int SCRIPT_TIMEOUT_MILLIS = 60000;
    // What a command ended by its deadline gets between SIGTERM and SIGKILL.
    static constexpr int KILL_GRACE_MILLIS = 1000;

    OSInterface() = default;
    OSInterface(const OSInterface &) = delete;
    OSInterface &operator=(const OSInterface &) = delete;
    ~OSInterface() override;

    // Hands the command line to the shell, for scripts that are shell by
    // design: /bin/sh -c, with the client's environment, working folder and
    // standard input, as std::system would. Waits at most the script timeout.
    // What it writes to standard output and error goes on to this process's
    // standard output; the last OUTPUT_TAIL bytes of it are kept in output
    // when asked for.
    virtual int system(const char *command, QByteArray *output = nullptr);

    // Runs a program with an argument list, no shell in between, and waits for
    // it at most the command timeout. Returns its exit status, or -1 when it
    // could not be started, crashed or was ended. Standard output is captured
    // when asked for.
    virtual int run(
        const QString &program, const QStringList &arguments, QString *standardOutput = nullptr);

    void setCommandTimeout(int millis) { m_commandTimeout = millis; }
    int commandTimeout() const { return m_commandTimeout; }
    void setScriptTimeout(int millis) { m_scriptTimeout = millis; }
    int scriptTimeout() const { return m_scriptTimeout; }
    void setKillGrace(int millis) { m_killGrace = millis; }

    // While set, a wait keeps the event loop running (user input excluded), so
    // that a quit request can reach abortRunningCommand(). Only for phases in
    // which no other event can start work of its own, such as start-up.
    void setEventsDuringWait(bool on) { m_eventsDuringWait = on; }
    // Ends the command now waited for, and its children, at once.
    void abortRunningCommand();

    // The process-wide quit request (a signal handler's flag, safe to read
    // from any thread). A command that is running when it turns true is ended
    // at once, as by abortRunningCommand(), also while no event loop runs;
    // one started after it (the removal at quit) keeps its own deadline.
    static void setQuitCheck(bool (*check)());
    // How often a wait looks at the quit check.
    static constexpr int QUIT_POLL_MILLIS = 20;

    static constexpr int OUTPUT_TAIL = 4096;

private:
    // The shared wait of system() and run(): false when the command could not
    // start or had to be ended.
    bool finish(QProcess &process, int timeoutMillis, const QString &name);
    void endProcessGroup(QProcess &process, pid_t group);
    static bool quitSignalled();

    int m_commandTimeout = COMMAND_TIMEOUT_MILLIS;
    int m_scriptTimeout = SCRIPT_TIMEOUT_MILLIS;
    int m_killGrace = KILL_GRACE_MILLIS;
    bool m_eventsDuringWait = false;
    QEventLoop *m_waitLoop = nullptr;
    bool m_abortRequested = false;
    bool m_quitBeforeStart = false;
};
