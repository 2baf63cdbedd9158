#include "KoaClientWindow.h"

#include "KoaMainWindow.h"
#include "KoaMainWindowController.h"
#include "KoaPreferences.h"
#include "PrintClientMessager.h"
#include "TrayConnectionStatus.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

KoaClientWindow::KoaClientWindow(KoaPreferences *preferences, PasswordValidator *passwordValidator,
    PrinterConnectorInterface *connector, PrintClientMessager *messager)
    : m_mainWindow(std::make_unique<KoaMainWindow>(preferences->getDedicatedMode()))
{
    ::mainWindow = m_mainWindow.get();
    createMenuBar();
    m_controller = std::make_unique<KoaMainWindowController>(
        m_mainWindow.get(), passwordValidator, preferences);
    createTrayIcon(connector, messager);
}

KoaClientWindow::~KoaClientWindow()
{
    ::mainWindow = nullptr;
}

void KoaClientWindow::createMenuBar()
{
    m_mainWindow->addFileMenu();
}

void KoaClientWindow::createTrayIcon(
    PrinterConnectorInterface *connector, PrintClientMessager *messager)
{
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_trayMenu = std::make_unique<QMenu>();
        // The File menu's own Quit: the same staff password as the stop
        // button, and relabelled with the main window on a language change.
        m_trayMenu->addAction(m_mainWindow->quitAction());
        m_trayIcon = std::make_unique<QSystemTrayIcon>();
        m_trayIcon->setContextMenu(m_trayMenu.get());
    }
    // Icon and tool tip tell whether and where the client is connected; the
    // main window says it too until then, tray or none.
    m_trayStatus = std::make_unique<TrayConnectionStatus>(m_trayIcon.get(), connector);
    m_trayStatus->setFailureSource([messager] { return messager->lastFailure(); });
    m_trayStatus->setMainWindow(m_mainWindow.get());
    messager->addConnectionListener(m_trayStatus.get());
    if (m_trayIcon)
        m_trayIcon->show();
}
