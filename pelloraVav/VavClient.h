#pragma once

#include <QString>

#include <memory>
#include <vector>

class ArgumentParser;
class ClientProcessingDialog;
class KoaConnection;
class KoaMainWindow;
class KoaMainWindowController;
class KoaMessageDispatcher;
class KoaPageCountValidator;
class KoaPasswordDialog;
class KoaPasswordValidator;
class KoaSessionInfo;
class MacEnvironmentProvider;
class MacPrintClientPreferences;
class MacPrinterConnector;
class MacProcessManager;
class MacVersionInfo;
class PasswordDlgInfo;
class PrintClientDialog;
class PrintClientLanguageChanger;
class PrintClientMessager;
class PrintClientRegistration;
class PrintClientTranslator;
class ProcessingDialogConnectionListener;
class QMenu;
class QMenuBar;
class QSystemTrayIcon;
class QuitSignalHandler;
class SharedPrinterMappings;
class StalloSessionRegistry;
class TrayConnectionStatus;
class TsHttpInterface;
class VavApplication;

namespace Tessaly::Core {
class DaxTimeSource;
class Message;
} // namespace Tessaly::Core
namespace UtilsLib {
class TraceLineObserver;
}

// Every long-lived object of the client. The members are declared in the
// order start-up builds them, so they are destroyed in reverse and no object
// outlives one it borrows. Start-up runs in three steps because the first two
// may end the program: the application object (another instance may run),
// the printers (they may not be reachable), then the rest of the wiring.
class VavClient
{
public:
    VavClient(int &argc, char **argv);
    ~VavClient();

    VavClient(const VavClient &) = delete;
    VavClient &operator=(const VavClient &) = delete;

    VavApplication &application() const { return *m_application; }

    // The Print Service address and the site's printers.
    [[nodiscard]] bool setUpPrinters();
    // The shared printers named on the command line.
    [[nodiscard]] bool connectSharedPrinters();
    // A quit request (a signal) came while the printers were being set up.
    bool quitRequested() const;
    void showPrintersError();

    void wire();
    int exec();

    // Shutdown before anything is destroyed: no more texts, the old default
    // printer back.
    void shutDown();

private:
    void addMessage(std::unique_ptr<Tessaly::Core::Message> message);
    void createMainWindow();
    void createMenuBar();
    void createTrayIcon();

    int &m_argc;
    char **m_argv;
    std::unique_ptr<MacPrintClientPreferences> m_preferences;
    std::unique_ptr<MacEnvironmentProvider> m_environment;
    std::unique_ptr<MacProcessManager> m_processManager;
    std::unique_ptr<MacPrinterConnector> m_connector;
    std::unique_ptr<MacVersionInfo> m_versionInfo;
    std::unique_ptr<VavApplication> m_application;
    std::unique_ptr<QuitSignalHandler> m_quitHandler;
    std::unique_ptr<ArgumentParser> m_arguments;
    std::unique_ptr<UtilsLib::TraceLineObserver> m_traceObserver;
    std::unique_ptr<PrintClientDialog> m_errorDialog;
    // The start-up language and whether the command line chose it.
    std::unique_ptr<PrintClientTranslator> m_translator;
    bool m_explicitLanguage = false;
    std::unique_ptr<SharedPrinterMappings> m_mappings;

    std::unique_ptr<Tessaly::Core::DaxTimeSource> m_timeSource;
    std::unique_ptr<TsHttpInterface> m_registryHttp;
    std::unique_ptr<StalloSessionRegistry> m_registry;
    std::unique_ptr<PasswordDlgInfo> m_passwordInfo;
    std::unique_ptr<KoaPasswordDialog> m_passwordDialog;
    std::unique_ptr<KoaPasswordValidator> m_passwordValidator;
    std::unique_ptr<KoaPageCountValidator> m_pageCountValidator;
    std::unique_ptr<KoaMessageDispatcher> m_dispatcher;
    std::unique_ptr<ClientProcessingDialog> m_processingDialog;
    std::unique_ptr<KoaSessionInfo> m_sessionInfo;
    std::vector<std::unique_ptr<Tessaly::Core::Message>> m_messages;
    std::unique_ptr<PrintClientLanguageChanger> m_languageChanger;
    std::unique_ptr<KoaMainWindow> m_mainWindow;
    std::unique_ptr<PrintClientMessager> m_messager;
    std::unique_ptr<PrintClientRegistration> m_registration;
    std::unique_ptr<ProcessingDialogConnectionListener> m_processingListener;
    std::unique_ptr<KoaConnection> m_connection;
    // Shown in the main window; destroyed before it.
    std::unique_ptr<QMenuBar> m_menuBar;
    std::unique_ptr<KoaMainWindowController> m_mainWindowController;
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    std::unique_ptr<TrayConnectionStatus> m_trayStatus;
};
