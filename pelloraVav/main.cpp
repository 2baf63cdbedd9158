// The client's entry point: every long-lived object built in one order, the
// checks that can end the start, the event loop and the shutdown steps that
// must run before anything is destroyed.

#include "AppContext.h"
#include "ArgumentParser.h"
#include "ConsoleLine.h"
#include "DaxTimeSource.h"
#include "HealthCheck.h"
#include "KioskPalette.h"
#include "KoaClientWindow.h"
#include "KoaJobWorkflow.h"
#include "KoaMainWindow.h"
#include "KoaPreferences.h"
#include "MacEnvironmentProvider.h"
#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"
#include "MacProcessManager.h"
#include "MacVersionInfo.h"
#include "Message.h"
#include "OSInterface.h"
#include "ObserverGroup.h"
#include "ObserverManager.h"
#include "PrintClientDialog.h"
#include "PrintClientLanguageChanger.h"
#include "PrintClientMessager.h"
#include "PrintClientRegistration.h"
#include "PrintClientTranslator.h"
#include "PrintServiceConnectionLog.h"
#include "QuitSignalHandler.h"
#include "SharedPrinterMappings.h"
#include "SiteTls.h"
#include "SystemLogObserver.h"
#include "TraceLineObserver.h"
#include "TsBaseDialog.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"
#include "VavApplication.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {
const char *const PRODUCTNAME = "Tessaly\u00ae Pellora\u2122 Print Client";
const char *const TRACE_ARG = "trace";
const char *const SYSLOG_IDENTIFIER = "pelloraVav";
const char *const LOCALE_ARG = "locale";
const char *const DIALECT_ARG = "dialect";
constexpr int OVERRIDE_TRANSLATIONS_PORT = 30044;
const char *const UnableToConnectToPrintersError = QT_TRANSLATE_NOOP("main",
    "Unable to connect to any printers.  Please see a staff member for "
    "assistance.");
constexpr int DEFAULT_DIALOG_TIMEOUT_MS = 45000;

// The trace-line sink of -trace=FILE.
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
    return observer;
}

// Every long-lived object of the client. The members are declared in the
// order start-up builds them, so they are destroyed in reverse and no object
// outlives one it borrows. Start-up runs in three steps because the first two
// may end the program: the application object (another instance may run),
// the printers (they may not be reachable), then the rest of the wiring.
class VavClient
{
public:
    VavClient(int &argc, char **argv)
        : m_systemLog(
            std::make_unique<UtilsLib::SystemLogObserver>(QString::fromLatin1(SYSLOG_IDENTIFIER),
                UtilsLib::SystemLogObserver::socketFromEnvironment()))
        , m_observers(std::make_unique<UtilsLib::ObserverGroup>())
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
        // Before the first window: every window then shares the one palette.
        KioskPalette::install();
        m_arguments = std::make_unique<ArgumentParser>(argc, argv);
    }

    ~VavClient()
    {
        Tessaly::Core::Message::setTimeSource(nullptr);
        Tessaly::Core::AppContext::getContext().clear();
        versionInfo = &macVersionInfo;
    }

    VavApplication &application() const { return *m_application; }

    // The start and the end of a run, for the administrator.
    void logStart()
    {
        m_systemLog->write(UtilsLib::SystemLogObserver::Notice,
            QStringLiteral("Started, version %1").arg(m_versionInfo->getVersionString()));
    }
    void logStop(int status)
    {
        m_systemLog->write(
            status == 0 ? UtilsLib::SystemLogObserver::Notice : UtilsLib::SystemLogObserver::Error,
            QStringLiteral("Stopped with status %1").arg(status));
    }
    void logPrintersFailure(const QString &what)
    {
        m_systemLog->write(UtilsLib::SystemLogObserver::Error,
            QStringLiteral("%1; the Print Service is %2")
                .arg(what, m_connector->getPrintServiceForPelloraPrinter()));
    }

    // The Print Service address and the site's printers.
    [[nodiscard]] bool setUpPrinters()
    {
        m_application->initialize(true);
        // The system's quit request (logout, shutdown, a service manager)
        // takes the same about-to-quit path as any other quit.
        m_quitHandler = std::make_unique<QuitSignalHandler>();
        m_quitHandler->install();
        // A fetch in progress gives up at once instead of holding the quit up.
        TsHttpInterface::setAbortCheck(&QuitSignalHandler::signalArrived);
        // So does a printer script or CUPS tool, at start-up and after it.
        OSInterface::setQuitCheck(&QuitSignalHandler::signalArrived);
        QObject::connect(m_quitHandler.get(), &QuitSignalHandler::quitRequestReceived,
            m_application.get(), [this](int signalNumber) {
                m_systemLog->write(UtilsLib::SystemLogObserver::Notice,
                    QStringLiteral("Quit requested by signal %1").arg(signalNumber));
            });

        TsBaseDialog::setDefaultTimeout(DEFAULT_DIALOG_TIMEOUT_MS);
        // Every traced object, and the message handlers through the
        // application context, report to the system log and to -trace=FILE.
        m_traceObserver = createTraceObserver(*m_arguments);
        m_observers->addObserver(m_systemLog.get());
        m_observers->addObserver(m_traceObserver.get());
        Tessaly::Core::AppContext::getContext().setObject(
            std::make_unique<Tessaly::Core::ObserverManager>(m_observers.get()));
        m_preferences->addObserver(m_observers.get());
        m_connector->addObserver(m_observers.get());

        m_errorDialog = std::make_unique<PrintClientDialog>(nullptr);
        QObject::connect(m_quitHandler.get(), &QuitSignalHandler::quitRequestReceived,
            m_connector.get(), &MacPrinterConnector::abortInitialization);
        if (m_quitHandler->quitRequested())
            m_connector->abortInitialization();
        // Before the printer scripts are fetched: with TLS on, not one byte
        // goes to the Print Service's host in plaintext.
        m_connector->loadConfig();
        SiteTls::setCurrent(m_connector->siteTls());
        return m_connector->initialize();
    }

    // The start-up language and the shared printers named on the command line.
    [[nodiscard]] bool connectSharedPrinters()
    {
        QString language = KoaPreferences::DEFAULT_LANGUAGE_DIALECT;
        for (const char *option : {LOCALE_ARG, DIALECT_ARG}) {
            if (m_arguments->isArgumentInMap(QString::fromLatin1(option))) {
                language = m_arguments->getArgument(QString::fromLatin1(option));
                m_explicitLanguage = true;
                break;
            }
        }
        m_translator = std::make_unique<PrintClientTranslator>(language, m_observers.get());
        m_translator->setPrinterConnector(m_connector.get());
        m_translator->installDefaultTranslations();

        m_mappings = std::make_unique<SharedPrinterMappings>(m_connector.get());
        m_mappings->addObserver(m_observers.get());
        QStringList printers = m_arguments->getFieldList();
        if (!printers.isEmpty())
            printers.removeFirst();
        return m_mappings->connectToSharedPrinters(printers);
    }

    // A quit request (a signal) came while the printers were being set up.
    bool quitRequested() const { return m_quitHandler && m_quitHandler->quitRequested(); }

    void removePrinters() { m_connector->onTerminate(); }

    void showPrintersError()
    {
        m_errorDialog->showError(
            QCoreApplication::translate("main", UnableToConnectToPrintersError),
            QString::fromUtf8(PRODUCTNAME));
    }

    void wire()
    {
        UtilsLib::Observer *observer = m_observers.get();
        // Per-user defaults and the time stamps of every message.
        m_connector->resetPerUserDefaults();
        m_timeSource = std::make_unique<Tessaly::Core::DaxTimeSource>();
        Tessaly::Core::Message::setTimeSource(m_timeSource.get());

        // The connection, registering on every connect.
        m_messager = std::make_unique<PrintClientMessager>(observer);
        m_messager->setPrinterConnector(m_connector.get());
        m_registration
            = std::make_unique<PrintClientRegistration>(m_messager.get(), m_environment.get());
        m_messager->addConnectionListener(m_registration.get());
        m_connectionLog
            = std::make_unique<PrintServiceConnectionLog>(m_systemLog.get(), m_connector.get());
        m_messager->addConnectionListener(m_connectionLog.get());
        m_workflow = std::make_unique<KoaJobWorkflow>(m_preferences.get(), m_mappings.get(),
            m_translator.get(), m_explicitLanguage, m_environment.get(), m_processManager.get(),
            m_messager.get(), observer);

        // The dialogs' language switch, with the override texts of the Print Service.
        m_languageChanger = std::make_unique<PrintClientLanguageChanger>(m_preferences.get(),
            TsHttpFactory().createHttpInstance(),
            QStringLiteral("http://%1:%2/languages")
                .arg(m_connector->getPrintServiceForPelloraPrinter())
                .arg(OVERRIDE_TRANSLATIONS_PORT),
            observer);
        TsBaseDialog::setLanguageChanger(m_languageChanger.get());
        m_workflow->setLanguageChanger(m_languageChanger.get());
        if (m_languageChanger->changeLanguage(m_translator->getLocale().toUpper())
            == LanguageChanger::OverridesInstalled)
            gOverridesInitialized = true;

        // Quitting removes the site's printers first.
        QObject::connect(m_application.get(), &QCoreApplication::aboutToQuit, m_connector.get(),
            &MacPrinterConnector::onTerminate);
        m_window = std::make_unique<KoaClientWindow>(m_preferences.get(),
            m_workflow->passwordValidator(), m_connector.get(), m_messager.get());
        // A second start brings this window to the front.
        m_application->setActivationWindow(m_window->mainWindow());
        m_window->mainWindow()->show();
    }

    int exec()
    {
        // A quit request that came during start-up is carried out once the
        // loop runs, so that the printers still go.
        m_messager->reconnect();
        if (quitRequested())
            QTimer::singleShot(0, m_application.get(), [] { QCoreApplication::exit(0); });
        return m_application->exec();
    }

    // Before anything is destroyed: no more texts, the old default printer back.
    void shutDown()
    {
        // The last answer (e.g. to an update message) reaches the Print Service.
        m_messager->flushWrites(2000);
        m_messager->setMessageListener(nullptr);
        m_mappings->restoreDefaultPrinter();
        m_mappings->disconnectFromSharedPrinters();
    }

private:
    // First: every object below may trace until it is destroyed.
    std::unique_ptr<UtilsLib::SystemLogObserver> m_systemLog;
    std::unique_ptr<UtilsLib::TraceLineObserver> m_traceObserver;
    std::unique_ptr<UtilsLib::ObserverGroup> m_observers;
    std::unique_ptr<MacPrintClientPreferences> m_preferences;
    std::unique_ptr<MacEnvironmentProvider> m_environment;
    std::unique_ptr<MacProcessManager> m_processManager;
    std::unique_ptr<MacPrinterConnector> m_connector;
    std::unique_ptr<MacVersionInfo> m_versionInfo;
    std::unique_ptr<VavApplication> m_application;
    std::unique_ptr<ArgumentParser> m_arguments;
    std::unique_ptr<QuitSignalHandler> m_quitHandler;
    std::unique_ptr<PrintClientDialog> m_errorDialog;
    std::unique_ptr<PrintClientTranslator> m_translator;
    bool m_explicitLanguage = false;
    std::unique_ptr<SharedPrinterMappings> m_mappings;
    std::unique_ptr<Tessaly::Core::DaxTimeSource> m_timeSource;
    std::unique_ptr<PrintClientMessager> m_messager;
    std::unique_ptr<PrintClientRegistration> m_registration;
    std::unique_ptr<PrintServiceConnectionLog> m_connectionLog;
    std::unique_ptr<KoaJobWorkflow> m_workflow;
    std::unique_ptr<PrintClientLanguageChanger> m_languageChanger;
    std::unique_ptr<KoaClientWindow> m_window;
};

// Root checks for a patron as the patron: their home, groups and files.
bool becomeUser(const char *name)
{
    const struct passwd *user = ::getpwnam(name);
    if (!user) {
        std::fprintf(stderr, "No such user: %s\n", name);
        return false;
    }
    if (user->pw_uid == ::getuid())
        return true;
    if (::getuid() != 0) {
        std::fprintf(stderr, "Only root may check for another user\n");
        return false;
    }
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    const std::string home = user->pw_dir;
    if (::initgroups(name, gid) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
        std::perror("Cannot become the user");
        return false;
    }
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("USER", name, 1);
    ::setenv("LOGNAME", name, 1);
    ::setenv("XDG_RUNTIME_DIR", ("/run/user/" + std::to_string(uid)).c_str(), 1);
    ::unsetenv("XDG_SESSION_ID");
    return true;
}

// pelloraVav --check [--json] [--user NAME]: a report for the administrator,
// in English like the system log. It runs before the application object, so
// it takes no instance lock, opens no window and disturbs no running client.
int runCheck(int argc, char **argv)
{
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(argv[i], "--user") == 0 && i + 1 < argc) {
            if (!becomeUser(argv[++i]))
                return 1;
        } else if (std::strcmp(argv[i], "--check") != 0) {
            std::fprintf(stderr, "Usage: pelloraVav --check [--json] [--user NAME]\n");
            return 1;
        }
    }
    QCoreApplication application(argc, argv);
    HealthCheck check(VavApplication::ApplicationId);
    const QList<HealthCheck::Result> results = check.run();
    const QByteArray out = json
        ? QJsonDocument(HealthCheck::toJson(results)).toJson(QJsonDocument::Indented)
        : HealthCheck::toText(results).toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fflush(stdout);
    return HealthCheck::exitStatus(results);
}
} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0)
            return runCheck(argc, argv);
    }
    VavClient client(argc, argv);
    // One instance per user session.
    if (client.application().isRunning())
        return 0;
    client.logStart();

    const bool printersReady = client.setUpPrinters();
    // Asked to quit while the printers were being set up: whatever the
    // scripts put there goes at once, and nothing more is built.
    if (client.quitRequested()) {
        client.removePrinters();
        client.logStop(0);
        return 0;
    }
    if (!printersReady) {
        client.logPrintersFailure(QStringLiteral("Failed to install printers"));
        client.showPrintersError();
        client.logStop(1);
        return 1;
    }
    if (!client.connectSharedPrinters()) {
        client.logPrintersFailure(QStringLiteral("Failed to connect the shared printers"));
        client.showPrintersError();
        client.logStop(1);
        return 1;
    }

    client.wire();
    const int status = client.exec();
    client.shutDown();
    client.logStop(status);
    return status;
}
