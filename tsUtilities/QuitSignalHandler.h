#pragma once

#include <QList>
#include <QObject>

#include <csignal>

class QSocketNotifier;

// The system's quit request: SIGTERM (logout, shutdown, kill), SIGHUP (the
// session went away) and SIGINT (Ctrl-C) end the event loop, so that the
// client leaves through its about-to-quit path and its ordered shutdown.
// The signal handler only writes the signal number into a pipe; everything
// else runs on the GUI thread from the pipe's notifier.
class QuitSignalHandler : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignalHandler(QObject *parent = nullptr);
    // Puts the previous signal dispositions back.
    ~QuitSignalHandler() override;

    static QList<int> defaultSignals() { return {SIGTERM, SIGHUP, SIGINT}; }

    // One handler may be installed per process at a time.
    bool install(const QList<int> &signalNumbers = defaultSignals());
    bool isInstalled() const { return m_notifier != nullptr; }

    // A request that came before the event loop ran is remembered here, since
    // the loop started afterwards would not see it.
    bool quitRequested() const { return m_lastSignal != 0; }
    int lastSignal() const { return m_lastSignal; }

    // True from the moment a signal of the installed handler arrives, before
    // the event loop has seen it: a blocking wait (an HTTP fetch) asks this
    // to give up at once.
    static bool signalArrived();

signals:
    void quitRequestReceived(int signalNumber);

private:
    void readSignals();
    void uninstall();
    static void drainPipe();

    QSocketNotifier *m_notifier = nullptr;
    QList<QPair<int, struct sigaction>> m_previous;
    int m_lastSignal = 0;
};
