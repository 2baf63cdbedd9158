#include "TsSingleApplication.h"

#include "TsSingleInstanceGuard.h"

#include <QWidget>

#include <utility>

namespace {
const char *const NoSharedMemory = "QT_XCB_NO_MITSHM";
bool s_noSharedMemorySet = false;

// Kiosk windows are small and short-lived: a shared-memory segment made for
// each one (page faults and a server round trip) costs more than sending its
// pixels. A site that set the variable itself keeps its choice. The display is
// opened inside QApplication's constructor, so this runs first.
int &preparedDisplay(int &argc)
{
    if (!qEnvironmentVariableIsSet(NoSharedMemory))
        s_noSharedMemorySet = qputenv(NoSharedMemory, "1");
    return argc;
}
} // namespace

TsSingleApplication::TsSingleApplication(const QString &applicationId, int &argc, char **argv)
    : QApplication(preparedDisplay(argc), argv)
    , m_id(applicationId)
    , m_guard(new TsSingleInstanceGuard(
          TsSingleInstanceGuard::sessionKey(applicationId), QString(), this))
{
    // Read once by the display connection; the programs we start choose their own.
    if (std::exchange(s_noSharedMemorySet, false))
        qunsetenv(NoSharedMemory);
    connect(m_guard, &TsSingleInstanceGuard::messageReceived, this, [this](const QString &text) {
        if (m_activateOnMessage)
            activateMainWidget();
        emit messageReceived(text);
    });
}

TsSingleApplication::~TsSingleApplication() = default;

QString TsSingleApplication::id() const
{
    return m_id;
}

bool TsSingleApplication::isRunning()
{
    return m_guard->isRunning();
}

bool TsSingleApplication::initialize(bool activateOnMessage)
{
    if (!m_guard->initialize())
        return false;
    m_activateOnMessage = activateOnMessage;
    return true;
}

bool TsSingleApplication::sendMessage(const QString &message, int timeoutMillis)
{
    return m_guard->sendMessage(message, timeoutMillis);
}

void TsSingleApplication::setActivationWindow(QWidget *window, bool activateOnMessage)
{
    m_activationWindow = window;
    m_activateOnMessage = activateOnMessage;
}

void TsSingleApplication::activateMainWidget()
{
    QWidget *window = m_activationWindow;
    if (!window)
        window = activeWindow();
    if (!window) {
        const auto widgets = topLevelWidgets();
        for (QWidget *candidate : widgets) {
            if (candidate->isWindow() && !candidate->isHidden()) {
                window = candidate;
                break;
            }
        }
    }
    if (!window)
        return;
    window->setWindowState(window->windowState() & ~::Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
