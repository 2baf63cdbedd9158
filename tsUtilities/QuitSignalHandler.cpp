#include "QuitSignalHandler.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
int s_pipe[2] = {-1, -1};
volatile std::sig_atomic_t s_arrived = 0;

extern "C" void writeSignalToPipe(int signalNumber)
{
    // Async-signal-safe: a flag and write(2) only, errno preserved, never blocks.
    s_arrived = 1;
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
    if (m_notifier || s_pipe[0] != -1)
        return false;
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_pipe[0] = s_pipe[1] = -1;
        return false;
    }
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
    return s_arrived != 0;
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
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
    s_arrived = 0;
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
