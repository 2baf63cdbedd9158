#include "VavClient.h"

#include "AppContext.h"
#include "ArgumentParser.h"
#include "AuthenticateReq.h"
#include "AuthenticateReqHandler.h"
#include "AuthenticateResultMsg.h"
#include "AuthenticateResultMsgHandler.h"
#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "ConsoleLine.h"
#include "DaxTimeSource.h"
#include "GuestJobReq.h"
#include "GuestJobReqHandler.h"
#include "JobDeletedMsg.h"
#include "JobDeletedMsgHandler.h"
#include "JobReceivedMsg.h"
#include "JobReceivedMsgHandler.h"
#include "KoaConnection.h"
#include "KoaMainWindow.h"
#include "KoaMainWindowController.h"
#include "KoaMessageDispatcher.h"
#include "KoaPageCountValidator.h"
#include "KoaPasswordDialog.h"
#include "KoaPasswordValidator.h"
#include "KoaPreferences.h"
#include "KoaSessionInfo.h"
#include "MacEnvironmentProvider.h"
#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"
#include "MacProcessManager.h"
#include "MacVersionInfo.h"
#include "Message.h"
#include "ObserverManager.h"
#include "PasswordDlgInfo.h"
#include "PrintClientDialog.h"
#include "PrintClientLanguageChanger.h"
#include "PrintClientMessager.h"
#include "PrintClientRegistration.h"
#include "PrintClientTranslator.h"
#include "PrintClientUpdateMsg.h"
#include "PrintClientUpdateMsgHandler.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobConfirmationMsgHandler.h"
#include "ProcessingDialogConnectionListener.h"
#include "QuitSignalHandler.h"
#include "SettingsMsg.h"
#include "SettingsMsgHandler.h"
#include "SharedPrinterMappings.h"
#include "ShowSpoolingDialogMsg.h"
#include "ShowSpoolingDialogMsgHandler.h"
#include "StalloSessionRegistry.h"
#include "TraceLineObserver.h"
#include "TrayConnectionStatus.h"
#include "TsBaseDialog.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"
#include "VavApplication.h"

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
const char *const PRODUCTNAME = "Tessaly\u00ae Pellora\u2122 Print Client";
const char *const TRACE_ARG = "trace";
const char *const LOCALE_ARG = "locale";
const char *const DIALECT_ARG = "dialect";
constexpr int OVERRIDE_TRANSLATIONS_PORT = 30044;
const char *const UnableToConnectToPrintersError = QT_TRANSLATE_NOOP("main",
    "Unable to connect to any printers.  Please see a staff member for "
    "assistance.");
constexpr int DEFAULT_DIALOG_TIMEOUT_MS = 45000;
constexpr int STALLO_SERVICE_PORT = 4567;
constexpr int DIALOG_TIMEOUT_SECONDS = 45;

// The trace-line sink of -trace=FILE: it reaches every traced object, and the
// message handlers through the application context.
std::unique_ptr<UtilsLib::TraceLineObserver> createTraceObserver(const ArgumentParser &arguments)
{
    if (!arguments.isArgumentInMap(QString::fromLatin1(TRACE_ARG)))
        return nullptr;
    const QString file = arguments.getArgument(QString::fromLatin1(TRACE_ARG));
    auto observer = std::make_unique<UtilsLib::TraceLineObserver>(file);
    if (!observer->isOpen()) {
        UtilsLib::writeErrorLine(QStringLiteral("Cannot write the trace to %1").arg(file));
        return nullptr;
    }
    Tessaly::Core::AppContext::getContext().setObject(
        std::make_unique<Tessaly::Core::ObserverManager>(observer.get()));
    return observer;
}
} // namespace

VavClient::VavClient(int &argc, char **argv)
    : m_argc(argc)
    , m_argv(argv)
    , m_preferences(std::make_unique<MacPrintClientPreferences>())
    , m_environment(std::make_unique<MacEnvironmentProvider>())
    , m_processManager(std::make_unique<MacProcessManager>())
    , m_connector(std::make_unique<MacPrinterConnector>())
    , m_versionInfo(std::make_unique<MacVersionInfo>())
{
    versionInfo = m_versionInfo.get();
    m_preferences->loadFromFile();
    m_application = std::make_unique<VavApplication>(argc, argv, m_preferences.get());
    // The client lives on while no window is open: between two print jobs.
    QApplication::setQuitOnLastWindowClosed(false);
}

VavClient::~VavClient()
{
    Tessaly::Core::Message::setTimeSource(nullptr);
    Tessaly::Core::AppContext::getContext().clear();
    versionInfo = &macVersionInfo;
    mainWindow = nullptr;
}

bool VavClient::setUpPrinters()
{
    m_application->initialize(true);

    // The system's quit request (logout, shutdown, a service manager) takes
    // the same about-to-quit path as any other quit.
    m_quitHandler = std::make_unique<QuitSignalHandler>();
    m_quitHandler->install();

    TsBaseDialog::setDefaultTimeout(DEFAULT_DIALOG_TIMEOUT_MS);
    m_arguments = std::make_unique<ArgumentParser>(m_argc, m_argv);
    m_traceObserver = createTraceObserver(*m_arguments);
    m_preferences->addObserver(m_traceObserver.get());
    m_connector->addObserver(m_traceObserver.get());

    m_errorDialog = std::make_unique<PrintClientDialog>(nullptr);
    QObject::connect(m_quitHandler.get(), &QuitSignalHandler::quitRequestReceived,
        m_connector.get(), &MacPrinterConnector::abortInitialization);
    if (m_quitHandler->quitRequested())
        m_connector->abortInitialization();
    return m_connector->initialize();
}

bool VavClient::connectSharedPrinters()
{
    // The start-up language, before any dialog reads its texts.
    QString language = KoaPreferences::DEFAULT_LANGUAGE_DIALECT;
    for (const char *option : {LOCALE_ARG, DIALECT_ARG}) {
        if (m_arguments->isArgumentInMap(QString::fromLatin1(option))) {
            language = m_arguments->getArgument(QString::fromLatin1(option));
            m_explicitLanguage = true;
            break;
        }
    }
    m_translator = std::make_unique<PrintClientTranslator>(language, m_traceObserver.get());
    m_translator->setPrinterConnector(m_connector.get());
    m_translator->installDefaultTranslations();

    m_mappings = std::make_unique<SharedPrinterMappings>(m_connector.get());
    m_mappings->addObserver(m_traceObserver.get());
    QStringList printers = m_arguments->getFieldList();
    if (!printers.isEmpty())
        printers.removeFirst();
    return m_mappings->connectToSharedPrinters(printers);
}

bool VavClient::quitRequested() const
{
    return m_quitHandler && m_quitHandler->quitRequested();
}

void VavClient::showPrintersError()
{
    m_errorDialog->showError(QCoreApplication::translate("main", UnableToConnectToPrintersError),
        QString::fromUtf8(PRODUCTNAME));
}

void VavClient::wire()
{
    UtilsLib::Observer *observer = m_traceObserver.get();

    // Per-user defaults and the time stamps of every message.
    m_connector->resetPerUserDefaults();
    m_timeSource = std::make_unique<Tessaly::Core::DaxTimeSource>();
    Tessaly::Core::Message::setTimeSource(m_timeSource.get());

    // The local reservation service.
    m_registryHttp = TsHttpFactory().createHttpInstance();
    m_registry = std::make_unique<StalloSessionRegistry>(
        m_registryHttp.get(), observer, STALLO_SERVICE_PORT, nullptr);

    // The staff password dialog.
    m_passwordInfo
        = std::make_unique<PasswordDlgInfo>(QString(), QString(), QString(), QString(), QString());
    m_passwordInfo->setCaptionText(
        QString::fromLatin1(PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT));
    m_passwordInfo->setDialogText(QString::fromLatin1(PasswordDlgInfo::INSTRUCTION_TEXT));
    m_passwordInfo->setPasswordText(
        QString::fromLatin1(PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT));
    m_passwordDialog = std::make_unique<KoaPasswordDialog>(nullptr, *m_passwordInfo);
    // One password validator for the page limit's staff override and every
    // other staff check.
    m_passwordValidator = std::make_unique<KoaPasswordValidator>(m_passwordDialog.get());
    m_pageCountValidator = std::make_unique<KoaPageCountValidator>(
        m_preferences.get(), m_registry.get(), m_passwordValidator.get(), nullptr);

    // The dispatcher, the shared "Please Wait..." window and the session.
    m_dispatcher = std::make_unique<KoaMessageDispatcher>(observer);
    m_processingDialog
        = std::make_unique<ClientProcessingDialog>(nullptr, -1, TsBaseDialog::titledWindowFlags());
    // Its texts are read once, in the language of the translators installed
    // by now.
    ClientProcessingDialog::translateTexts();
    m_processingDialog->clearOverrideText();
    m_sessionInfo = std::make_unique<KoaSessionInfo>();

    // The messages of a print job, each owning its handler. Without a
    // message box a handler uses a box of its own.
    KoaPreferences *preferences = m_preferences.get();
    KoaSessionInfo *session = m_sessionInfo.get();
    ClientProcessingDialog *processing = m_processingDialog.get();
    addMessage(std::make_unique<JobReceivedMsg>(std::make_unique<JobReceivedMsgHandler>(preferences,
        session, m_registry.get(), m_pageCountValidator.get(), processing, DIALOG_TIMEOUT_SECONDS,
        nullptr, m_environment.get())));
    addMessage(
        std::make_unique<PrintJobConfirmationMsg>(std::make_unique<PrintJobConfirmationMsgHandler>(
            preferences, session, m_registry.get(), processing, DIALOG_TIMEOUT_SECONDS, nullptr)));
    addMessage(std::make_unique<JobDeletedMsg>(
        std::make_unique<JobDeletedMsgHandler>(nullptr, nullptr, processing)));
    addMessage(std::make_unique<AuthenticateReq>(std::make_unique<AuthenticateReqHandler>(
        preferences, session, m_registry.get(), processing, DIALOG_TIMEOUT_SECONDS, nullptr)));
    addMessage(std::make_unique<AuthenticateResultMsg>(
        std::make_unique<AuthenticateResultMsgHandler>(session, processing, nullptr, nullptr)));
    addMessage(std::make_unique<GuestJobReq>(
        std::make_unique<GuestJobReqHandler>(preferences, session, nullptr, nullptr)));
    // The site's settings; the language changer is added below.
    auto settings = std::make_unique<SettingsMsgHandler>(preferences, m_registry.get(),
        m_mappings.get(), m_translator.get(), m_explicitLanguage, observer);
    SettingsMsgHandler *settingsHandler = settings.get();
    addMessage(std::make_unique<SettingsMsg>(std::move(settings)));
    addMessage(std::make_unique<ShowSpoolingDialogMsg>(
        std::make_unique<ShowSpoolingDialogMsgHandler>(processing, nullptr)));
    addMessage(std::make_unique<AutoReleaseMsg>(
        std::make_unique<AutoReleaseMsgHandler>(nullptr, processing)));
    // Stops an outdated client once its answer is sent.
    addMessage(std::make_unique<PrintClientUpdateMsg>(std::make_unique<PrintClientUpdateMsgHandler>(
        preferences, nullptr, processing, m_processManager.get(), observer)));

    // The dialogs' language switch, with the override texts of the Print Service.
    m_languageChanger = std::make_unique<PrintClientLanguageChanger>(preferences,
        TsHttpFactory().createHttpInstance(),
        QStringLiteral("http://%1:%2/languages")
            .arg(m_connector->getPrintServiceForPelloraPrinter())
            .arg(OVERRIDE_TRANSLATIONS_PORT),
        observer);
    TsBaseDialog::setLanguageChanger(m_languageChanger.get());
    settingsHandler->setLanguageChanger(m_languageChanger.get());
    if (m_languageChanger->changeLanguage(m_translator->getLocale().toUpper())
        == LanguageChanger::OverridesInstalled)
        gOverridesInitialized = true;

    createMainWindow();

    // The connection, registering on every connect.
    m_messager = std::make_unique<PrintClientMessager>(observer);
    m_registration
        = std::make_unique<PrintClientRegistration>(m_messager.get(), m_environment.get());
    m_messager->addConnectionListener(m_registration.get());
    // Without a connection no later text can take the wait window down.
    m_processingListener
        = std::make_unique<ProcessingDialogConnectionListener>(m_processingDialog.get());
    m_messager->addConnectionListener(m_processingListener.get());
    m_connection = std::make_unique<KoaConnection>(m_dispatcher.get(), m_messager.get(), observer);
    m_messager->setMessageListener(m_connection.get());
    m_messager->setPrinterConnector(m_connector.get());

    // Quitting removes the site's printers first.
    QObject::connect(m_application.get(), &QCoreApplication::aboutToQuit, m_connector.get(),
        &MacPrinterConnector::onTerminate);
    createMenuBar();
    m_mainWindowController = std::make_unique<KoaMainWindowController>(
        m_mainWindow.get(), m_passwordValidator.get(), m_preferences.get());
    createTrayIcon();
    m_mainWindow->show();
}

void VavClient::createMainWindow()
{
    m_mainWindow = std::make_unique<KoaMainWindow>(m_preferences->getDedicatedMode());
    mainWindow = m_mainWindow.get();
    // A second start brings this window to the front.
    m_application->setActivationWindow(m_mainWindow.get());
}

// No shortcuts: a patron's key press must not stop or open anything.
void VavClient::createMenuBar()
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

void VavClient::addMessage(std::unique_ptr<Tessaly::Core::Message> message)
{
    m_dispatcher->registerMessage(message->messageId(), message.get());
    m_messages.push_back(std::move(message));
}

void VavClient::createTrayIcon()
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
    m_trayStatus = std::make_unique<TrayConnectionStatus>(m_trayIcon.get(), m_connector.get());
    m_messager->addConnectionListener(m_trayStatus.get());
    m_trayIcon->show();
}

int VavClient::exec()
{
    // A quit request that came during start-up is carried out once the loop
    // runs, so that the printers still go.
    m_messager->reconnect();
    if (quitRequested())
        QTimer::singleShot(0, m_application.get(), [] { QCoreApplication::exit(0); });
    return m_application->exec();
}

void VavClient::shutDown()
{
    // The last answer (e.g. to an update message) reaches the Print Service.
    m_messager->flushWrites(2000);
    m_messager->setMessageListener(nullptr);
    m_mappings->restoreDefaultPrinter();
    m_mappings->disconnectFromSharedPrinters();
}
