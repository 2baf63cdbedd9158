#include "TsSingleApplication.h"

#include "TsSingleInstanceGuard.h"

#include <QWidget>

TsSingleApplication::TsSingleApplication(const QString &applicationId, int &argc, char **argv)
    : QApplication(argc, argv)
    , m_id(applicationId)
    , m_guard(new TsSingleInstanceGuard(
          TsSingleInstanceGuard::sessionKey(applicationId), QString(), this))
{
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
