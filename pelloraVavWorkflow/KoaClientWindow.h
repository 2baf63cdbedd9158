#pragma once

#include <memory>

class KoaMainWindow;
class KoaMainWindowController;
class KoaPreferences;
class PasswordValidator;
class PrintClientMessager;
class PrinterConnectorInterface;
class QMenu;
class QSystemTrayIcon;
class TrayConnectionStatus;

// The client's one permanent window with its stop guard, its File menu and
// the tray icon that follows the connection. Menus and tray are built after
// the window and go before it.
class KoaClientWindow
{
public:
    // All borrowed; the messager must outlive this window.
    KoaClientWindow(KoaPreferences *preferences, PasswordValidator *passwordValidator,
        PrinterConnectorInterface *connector, PrintClientMessager *messager);
    ~KoaClientWindow();

    KoaClientWindow(const KoaClientWindow &) = delete;
    KoaClientWindow &operator=(const KoaClientWindow &) = delete;

    KoaMainWindow *mainWindow() const { return m_mainWindow.get(); }

private:
    void createMenuBar();
    void createTrayIcon(PrinterConnectorInterface *connector, PrintClientMessager *messager);

    std::unique_ptr<KoaMainWindow> m_mainWindow;
    std::unique_ptr<KoaMainWindowController> m_controller;
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    std::unique_ptr<TrayConnectionStatus> m_trayStatus;
};
