#include "KoaClientWindow.h"

#include "KoaMainWindow.h"
#include "KoaMainWindowController.h"
#include "KoaPreferences.h"
#include "PrintClientMessager.h"
#include "TrayConnectionStatus.h"

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
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

// No shortcuts: a patron's key press must not stop or open anything.
void KoaClientWindow::createMenuBar()
{
    m_menuBar = std::make_unique<QMenuBar>();
    QMenu *file = m_menuBar->addMenu(QCoreApplication::translate("main", "File"));
    QAction *about = file->addAction(QCoreApplication::translate("main", "About"));
    QObject::connect(about, &QAction::triggered, m_mainWindow.get(), &KoaMainWindow::showAboutInfo);
    QAction *quit = file->addAction(QCoreApplication::translate("main", "Quit"));
    QObject::connect(quit, &QAction::triggered, m_mainWindow.get(), &KoaMainWindow::stopClient);
    m_menuBar->setAccessibleName(QCoreApplication::translate("main", "Menu"));
    m_mainWindow->layout()->setMenuBar(m_menuBar.get());
}

void KoaClientWindow::createTrayIcon(
    PrinterConnectorInterface *connector, PrintClientMessager *messager)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_trayMenu = std::make_unique<QMenu>();
    QAction *quit = m_trayMenu->addAction(QCoreApplication::translate("main", "Quit"));
    // The same staff password as the main window's stop button.
    QObject::connect(quit, &QAction::triggered, m_mainWindow.get(), &KoaMainWindow::stopClient);
    m_trayIcon = std::make_unique<QSystemTrayIcon>();
    m_trayIcon->setContextMenu(m_trayMenu.get());
    // Icon and tool tip tell whether and where the client is connected.
    m_trayStatus = std::make_unique<TrayConnectionStatus>(m_trayIcon.get(), connector);
    messager->addConnectionListener(m_trayStatus.get());
    m_trayIcon->show();
}
