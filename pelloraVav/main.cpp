// Start-up, wiring and shutdown of the client. Every long-lived object is
// built here in a fixed order and destroyed here in a fixed order.

#include "ArgumentParser.h"
#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "DaxTimeSource.h"
#include "JobDeletedMsg.h"
#include "JobDeletedMsgHandler.h"
#include "KoaConnection.h"
#include "KoaMessageDispatcher.h"
#include "KoaPasswordDialog.h"
#include "KoaPreferences.h"
#include "KoaSessionInfo.h"
#include "MacEnvironmentProvider.h"
#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"
#include "MacProcessManager.h"
#include "MacVersionInfo.h"
#include "Message.h"
#include "PasswordDialogInterface.h"
#include "PasswordDlgInfo.h"
#include "PrintClientDialog.h"
#include "PrintClientImages.h"
#include "PrintClientMessager.h"
#include "PrintClientRegistration.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobConfirmationMsgHandler.h"
#include "ProcessingDialogConnectionListener.h"
#include "QuitSignalHandler.h"
#include "SharedPrinterMappings.h"
#include "ShowSpoolingDialogMsg.h"
#include "ShowSpoolingDialogMsgHandler.h"
#include "StalloSessionRegistry.h"
#include "TraceLineObserver.h"
#include "TsBaseDialog.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"
#include "VavApplication.h"

#include "AppContext.h"
#include "ObserverManager.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {
const char *const PRODUCTNAME = "Tessaly\u00ae Pellora\u2122 Print Client";
const char *const LOCALE_ARG = "locale";
const char *const DIALECT_ARG = "dialect";
const char *const TRACE_ARG = "trace";
const char *const UnableToConnectToPrintersError = QT_TRANSLATE_NOOP("main",
    "Unable to connect to any printers.  Please see a staff member for "
    "assistance.");
constexpr int DEFAULT_DIALOG_TIMEOUT_MS = 45000;
constexpr int STALLO_SERVICE_PORT = 4567;

void showPrintersError(PrintClientDialog &dialog)
{
    dialog.showError(QCoreApplication::translate("main", UnableToConnectToPrintersError),
        QString::fromUtf8(PRODUCTNAME));
}

bool mayStopClient(const KoaPreferences &preferences, PasswordDialogInterface &passwordDialog)
{
    if (!preferences.getDedicatedMode())
        return true;
    const QString staffPassword = preferences.getStaffPassword();
    if (staffPassword.isEmpty())
        return true;
    return passwordDialog.getUserInput() && passwordDialog.password() == staffPassword;
}

// The trace-line sink of -trace=FILE: it reaches every traced object, and the
// message handlers through the application context.
std::unique_ptr<UtilsLib::TraceLineObserver> createTraceObserver(const ArgumentParser &arguments)
{
    if (!arguments.isArgumentInMap(QString::fromLatin1(TRACE_ARG)))
        return nullptr;
    const QString file = arguments.getArgument(QString::fromLatin1(TRACE_ARG));
    auto observer = std::make_unique<UtilsLib::TraceLineObserver>(file);
    if (!observer->isOpen()) {
        std::fprintf(stderr, "Cannot write the trace to %s\n", qPrintable(file));
        return nullptr;
    }
    Tessaly::Core::AppContext::getContext().setObject(
        std::make_unique<Tessaly::Core::ObserverManager>(observer.get()));
    return observer;
}
} // namespace

bool gOverridesInitialized = false;

int main(int argc, char **argv)
{
    // Preferences, platform services and the printer connector.
    auto preferences = std::make_unique<MacPrintClientPreferences>();
    auto environment = std::make_unique<MacEnvironmentProvider>();
    auto processManager = std::make_unique<MacProcessManager>();
    auto connector = std::make_unique<MacPrinterConnector>();

    // The version keys.
    auto ownVersionInfo = std::make_unique<MacVersionInfo>();
    versionInfo = ownVersionInfo.get();

    // The preferences file, then the application object.
    preferences->loadFromFile();
    auto application = std::make_unique<VavApplication>(argc, argv, preferences.get());
    // The client lives on while no window is open: between two print jobs.
    QApplication::setQuitOnLastWindowClosed(false);

    // One instance per user session.
    if (application->isRunning())
        return 0;
    application->initialize(true);

    // The system's quit request (logout, shutdown, a service manager) takes
    // the same about-to-quit path as any other quit.
    QuitSignalHandler quitHandler;
    quitHandler.install();

    // Dialog timeout and command line.
    TsBaseDialog::setDefaultTimeout(DEFAULT_DIALOG_TIMEOUT_MS);
    auto arguments = std::make_unique<ArgumentParser>(argc, argv);
    const std::unique_ptr<UtilsLib::TraceLineObserver> traceObserver
        = createTraceObserver(*arguments);
    UtilsLib::Observer *observer = traceObserver.get();
    preferences->addObserver(observer);
    connector->addObserver(observer);

    // The Print Service address and the site's printers.
    auto errorDialog = std::make_unique<PrintClientDialog>(nullptr);
    QObject::connect(&quitHandler, &QuitSignalHandler::quitRequestReceived, connector.get(),
        &MacPrinterConnector::abortInitialization);
    if (quitHandler.quitRequested())
        connector->abortInitialization();
    if (!connector->initialize()) {
        // Asked to quit before the printers were there: nothing to report.
        if (quitHandler.quitRequested())
            return 0;
        showPrintersError(*errorDialog);
        return 1;
    }

    // The language, explicit when the command line names one.
    QString language = KoaPreferences::DEFAULT_LANGUAGE_DIALECT;
    const bool explicitLanguage = arguments->isArgumentInMap(QString::fromLatin1(LOCALE_ARG))
        || arguments->isArgumentInMap(QString::fromLatin1(DIALECT_ARG));
    if (arguments->isArgumentInMap(QString::fromLatin1(LOCALE_ARG)))
        language = arguments->getArgument(QString::fromLatin1(LOCALE_ARG));
    else if (arguments->isArgumentInMap(QString::fromLatin1(DIALECT_ARG)))
        language = arguments->getArgument(QString::fromLatin1(DIALECT_ARG));
    Q_UNUSED(explicitLanguage)

    // The shared printers named on the command line.
    auto mappings = std::make_unique<SharedPrinterMappings>(connector.get());
    mappings->addObserver(observer);
    QStringList printers = arguments->getFieldList();
    if (!printers.isEmpty())
        printers.removeFirst();
    if (!mappings->connectToSharedPrinters(printers)) {
        showPrintersError(*errorDialog);
        return 1;
    }

    // Per-user defaults and the time stamps of every message.
    connector->resetPerUserDefaults();
    auto timeSource = std::make_unique<Tessaly::Core::DaxTimeSource>();
    Tessaly::Core::Message::setTimeSource(timeSource.get());

    // The local reservation service.
    std::unique_ptr<TsHttpInterface> registryHttp = TsHttpFactory().createHttpInstance();
    auto registry = std::make_unique<StalloSessionRegistry>(
        registryHttp.get(), observer, STALLO_SERVICE_PORT, nullptr);

    // The staff password dialog.
    auto passwordInfo
        = std::make_unique<PasswordDlgInfo>(QString(), QString(), QString(), QString(), QString());
    passwordInfo->setCaptionText(
        QString::fromLatin1(PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT));
    passwordInfo->setDialogText(QString::fromLatin1(PasswordDlgInfo::INSTRUCTION_TEXT));
    passwordInfo->setPasswordText(QString::fromLatin1(PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT));
    auto passwordDialog = std::make_unique<KoaPasswordDialog>(nullptr, *passwordInfo);

    // The dispatcher and the shared "Please Wait..." window.
    auto dispatcher = std::make_unique<KoaMessageDispatcher>(observer);
    auto processingDialog
        = std::make_unique<ClientProcessingDialog>(nullptr, -1, TsBaseDialog::titledWindowFlags());

    // --- Job status: spooling, confirmation, deletion, automatic release ---
    // The processing texts are read once, in the language of the
    // translators installed by now; the window takes the translated wait text.
    ClientProcessingDialog::translateTexts();
    processingDialog->clearOverrideText();
    auto sessionInfo = std::make_unique<KoaSessionInfo>();
    constexpr int JOB_DIALOG_TIMEOUT_SECONDS = 45;
    auto printJobConfirmationMsg = std::make_unique<PrintJobConfirmationMsg>(
        std::make_unique<PrintJobConfirmationMsgHandler>(preferences.get(), sessionInfo.get(),
            registry.get(), processingDialog.get(), JOB_DIALOG_TIMEOUT_SECONDS, nullptr));
    auto jobDeletedMsg = std::make_unique<JobDeletedMsg>(
        std::make_unique<JobDeletedMsgHandler>(nullptr, nullptr, processingDialog.get()));
    auto showSpoolingDialogMsg = std::make_unique<ShowSpoolingDialogMsg>(
        std::make_unique<ShowSpoolingDialogMsgHandler>(processingDialog.get(), nullptr));
    auto autoReleaseMsg = std::make_unique<AutoReleaseMsg>(
        std::make_unique<AutoReleaseMsgHandler>(nullptr, processingDialog.get()));
    dispatcher->registerMessage(PrintJobConfirmationMsg::MESSAGE_ID, printJobConfirmationMsg.get());
    dispatcher->registerMessage(JobDeletedMsg::MESSAGE_ID, jobDeletedMsg.get());
    dispatcher->registerMessage(ShowSpoolingDialogMsg::MESSAGE_ID, showSpoolingDialogMsg.get());
    dispatcher->registerMessage(AutoReleaseMsg::MESSAGE_ID, autoReleaseMsg.get());
    // Added to the messager below, once it exists.
    auto processingDialogListener
        = std::make_unique<ProcessingDialogConnectionListener>(processingDialog.get());
    // --- end of job status ---

    // The connection, registering on every connect.
    auto messager = std::make_unique<PrintClientMessager>(observer);
    auto registration
        = std::make_unique<PrintClientRegistration>(messager.get(), environment.get());
    messager->addConnectionListener(registration.get());
    messager->addConnectionListener(processingDialogListener.get()); // job status
    auto connection = std::make_unique<KoaConnection>(dispatcher.get(), messager.get(), observer);
    messager->setMessageListener(connection.get());
    messager->setPrinterConnector(connector.get());

    // Quitting removes the site's printers first.
    QObject::connect(application.get(), &QCoreApplication::aboutToQuit, connector.get(),
        &MacPrinterConnector::onTerminate);

    // Where the desktop has a tray, it is the way to quit by hand.
    std::unique_ptr<QMenu> trayMenu;
    std::unique_ptr<QSystemTrayIcon> trayIcon;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        trayMenu = std::make_unique<QMenu>();
        QAction *quit = trayMenu->addAction(QCoreApplication::translate("main", "Quit"));
        // A patron must not stop a dedicated machine's printing: the same
        // staff password as the main window's stop button.
        QObject::connect(quit, &QAction::triggered, application.get(),
            [prefs = preferences.get(), dialog = passwordDialog.get()] {
                if (mayStopClient(*prefs, *dialog))
                    QCoreApplication::exit(0);
            });
        trayIcon
            = std::make_unique<QSystemTrayIcon>(QIcon(PrintClientImages::pelloraClientImage()));
        trayIcon->setToolTip(QString::fromUtf8(PRODUCTNAME));
        trayIcon->setContextMenu(trayMenu.get());
        trayIcon->show();
    }

    // Connect and run. A quit request that came during start-up is
    // carried out once the loop runs, so that the printers still go.
    messager->reconnect();
    if (quitHandler.quitRequested())
        QTimer::singleShot(0, application.get(), [] { QCoreApplication::exit(0); });
    const int status = application->exec();

    // Shutdown: no more texts, the old default printer back, then everything
    // in order.
    messager->setMessageListener(nullptr);
    mappings->restoreDefaultPrinter();
    mappings->disconnectFromSharedPrinters();

    trayIcon.reset();
    trayMenu.reset();
    registryHttp.reset();
    connection.reset();
    dispatcher.reset();
    // Job status messages, in registration order; each takes its handler along.
    printJobConfirmationMsg.reset();
    jobDeletedMsg.reset();
    showSpoolingDialogMsg.reset();
    autoReleaseMsg.reset();
    processManager.reset();
    sessionInfo.reset();
    processingDialog.reset();
    preferences.reset();
    mappings.reset();
    connector.reset();
    messager.reset();
    registration.reset();
    processingDialogListener.reset(); // job status; the messager that called it is gone
    environment.reset();

    passwordDialog.reset();
    passwordInfo.reset();
    registry.reset();
    Tessaly::Core::Message::setTimeSource(nullptr);
    timeSource.reset();
    errorDialog.reset();
    arguments.reset();
    Tessaly::Core::AppContext::getContext().clear();
    application.reset();
    versionInfo = &macVersionInfo;
    ownVersionInfo.reset();
    return status;
}
