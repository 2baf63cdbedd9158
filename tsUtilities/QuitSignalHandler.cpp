#include "QuitSignalHandler.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Made once and never closed: a handler already running on another thread
// may still write to it after the dispositions are put back, and a closed
// (or reused) descriptor would take its byte.
int s_pipe[2] = {-1, -1};
// Read by the threads that wait (a fetch, a command), set in the handler.
std::atomic<bool> s_arrived {false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler may only use lock-free atomics");
bool s_installed = false;

extern "C" void writeSignalToPipe(int signalNumber)
{
    // Async-signal-safe: a flag and write(2) only, errno preserved, never blocks.
    s_arrived.store(true);
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(s_pipe[1], &byte, 1);
    errno = savedErrno;
}
} // namespace

QuitSignalHandler::QuitSignalHandler(QObject *parent)
    : QObject(parent)
{ }

QuitSignalHandler::~QuitSignalHandler()
{
    uninstall();
}

bool QuitSignalHandler::install(const QList<int> &signalNumbers)
{
    if (m_notifier || s_installed)
        return false;
    if (s_pipe[0] == -1 && ::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_pipe[0] = s_pipe[1] = -1;
        return false;
    }
    drainPipe();
    s_installed = true;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignalHandler::readSignals);

    for (int signalNumber : signalNumbers) {
        struct sigaction action = {};
        action.sa_handler = writeSignalToPipe;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        struct sigaction previous = {};
        if (::sigaction(signalNumber, &action, &previous) == 0)
            m_previous.append({signalNumber, previous});
    }
    return !m_previous.isEmpty();
}

bool QuitSignalHandler::signalArrived()
{
    return s_arrived.load();
}

void QuitSignalHandler::drainPipe()
{
    unsigned char bytes[16];
    while (::read(s_pipe[0], bytes, sizeof bytes) > 0) { }
}

void QuitSignalHandler::uninstall()
{
    for (const auto &entry : std::as_const(m_previous))
        ::sigaction(entry.first, &entry.second, nullptr);
    m_previous.clear();
    if (!m_notifier)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    // The pipe stays open (see s_pipe); what a late handler wrote is dropped
    // by the next install.
    s_installed = false;
    s_arrived.store(false);
}

void QuitSignalHandler::readSignals()
{
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(s_pipe[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            m_lastSignal = bytes[i];
            emit quitRequestReceived(bytes[i]);
        }
    }
    if (m_lastSignal == 0)
        return;
    // exit(), not quit(): quit() asks every window to close first, and a kiosk
    // window that refuses to close would cancel it. aboutToQuit() is emitted
    // on the way out either way.
    QCoreApplication::exit(0);
}
