#pragma once

#include "ConnectionListenerInterface.h"

#include <QIcon>
#include <QString>

#include <functional>

class KoaMainWindow;
class PrinterConnectorInterface;
class QSystemTrayIcon;

// Shows in the tray icon whether the client is connected to the Print
// Service, and to which, or is trying to reconnect, so that staff see at a
// glance why a computer does not print; until connected, the main window
// says it too.
class TrayConnectionStatus : public ConnectionListenerInterface
{
public:
    enum class State { Connecting, Connected, Reconnecting };

    // Both borrowed; without a tray (null icon) only the state is kept.
    TrayConnectionStatus(QSystemTrayIcon *trayIcon, PrinterConnectorInterface *connector);
    ~TrayConnectionStatus() override;
    TrayConnectionStatus(const TrayConnectionStatus &) = delete;
    TrayConnectionStatus &operator=(const TrayConnectionStatus &) = delete;

    // Why the client is not connected, in words (empty: no reason known);
    // asked on every change of state.
    void setFailureSource(std::function<QString()> source) { m_failureSource = std::move(source); }

    // Borrowed; the window's waiting line says what the tool tip says until
    // the client is connected, and goes then.
    void setMainWindow(KoaMainWindow *window);

    void connectionEstablished() override;
    void connectionLost() override;

    State state() const { return m_state; }
    // Plain text: a host name or a translation is never markup.
    QString toolTip() const;
    // The tool tip while not connected, empty once connected.
    QString waitingText() const;
    QIcon icon() const;

private:
    void update(State state);

    QSystemTrayIcon *m_trayIcon;
    KoaMainWindow *m_window = nullptr;
    PrinterConnectorInterface *m_connector;
    std::function<QString()> m_failureSource;
    State m_state = State::Connecting;
};
