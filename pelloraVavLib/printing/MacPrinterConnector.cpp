#include "MacPrinterConnector.h"

#include "MacPrintersManager.h"
#include "PrivateFile.h"
#include "Trace.h"
#include "TsHttpFactory.h"
#include "TsInputDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

const QString MacPrinterConnector::CONFIG_FILE = QStringLiteral("printClient.tsp");
const QString MacPrinterConnector::PRINT_SERVICE_ADDRESS = QStringLiteral("Print Service Address");
const QString MacPrinterConnector::DEDICATED_MODE = QStringLiteral("Dedicated Mode");
const QString MacPrinterConnector::PRINT_SERVICE_TLS = QStringLiteral("Print Service TLS");
const QString MacPrinterConnector::PRINT_SERVICE_TLS_PORT
    = QStringLiteral("Print Service TLS Port");
const QString MacPrinterConnector::PRINT_SERVICE_HTTPS_PORT
    = QStringLiteral("Print Service HTTPS Port");
const QString MacPrinterConnector::PRINT_SERVICE_CA_FILE = QStringLiteral("Print Service CA File");
const char *const MacPrinterConnector::EnterPrintServiceAddressCaption
    = QT_TRANSLATE_NOOP("MacPrinterConnector", "Locate Print Service");
const char *const MacPrinterConnector::EnterPrintServiceAddressLabel
    = QT_TRANSLATE_NOOP("MacPrinterConnector", "Please enter the IP address of the Print Service:");
const QString MacPrinterConnector::ClassName = QStringLiteral("MacPrinterConnector");

MacPrinterConnector::MacPrinterConnector(std::unique_ptr<MacPrintersManager> printersManager,
    std::unique_ptr<TsHttpFactory> factory, QObject *parent)
    : QObject(parent)
    , m_config(QStringLiteral("Mac Printer Connector"))
    , m_printersManager(
          printersManager ? std::move(printersManager) : std::make_unique<MacPrintersManager>())
    , m_factory(factory ? std::move(factory) : std::make_unique<TsHttpFactory>())
{
    m_printersManager->setInstallPrintersTimeoutSecs(INSTALL_PRINTERS_TIMEOUT_SECS);
    m_printersManager->setRetryWaitTimeMillis(INSTALL_PRINTERS_RETRY_WAIT_TIME_MILLIS);
}

MacPrinterConnector::~MacPrinterConnector() = default;

void MacPrinterConnector::addObserver(UtilsLib::Observer *observer)
{
    UtilsLib::Observable::addObserver(observer);
    m_printersManager->addObserver(observer);
    m_printersManager->os()->addObserver(observer);
}

QString MacPrinterConnector::configFilePath() const
{
    const QString folder
        = m_configDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_configDir;
    return QFileInfo(QStringLiteral("%1/%2").arg(folder, CONFIG_FILE)).absoluteFilePath();
}

QString MacPrinterConnector::userConfigFilePath()
{
    return QDir(QDir::homePath()).filePath(QStringLiteral(".pelloraVav/") + CONFIG_FILE);
}

bool MacPrinterConnector::loadConfig()
{
    Trace trace(this, ClassName, "loadConfig");
    const QString path = configFilePath();
    const bool loaded = m_config.load(path, false);
    m_configLoaded = true;
    if (!loaded)
        Trace::logf(this, ClassName, "loadConfig", Trace::Warning, Trace::WarningCode,
            "Failed to load config file at %1", path);
    // The administrator's address wins; the user's own file only fills a gap.
    if (m_config.get(PRINT_SERVICE_ADDRESS, QString()).isEmpty())
        loadUserAddress();
    return loaded;
}

void MacPrinterConnector::loadUserAddress()
{
    const QString path = userConfigFilePath();
    UtilsLib::XmlPreferences user(m_config.name());
    if (!user.load(path, false))
        return;
    const QString address = user.get(PRINT_SERVICE_ADDRESS, QString());
    if (address.isEmpty())
        return;
    m_config.set(PRINT_SERVICE_ADDRESS, address, QString(), false);
    Trace::logf(this, ClassName, "loadConfig", Trace::Info, Trace::InfoCode,
        "Print Service address read from %1", path);
}

// An installed client's file belongs to the administrator: the address a
// patron entered is kept in the patron's own folder rather than lost.
void MacPrinterConnector::saveUserAddress(const QString &address)
{
    static const char *const Function = "getPrintServiceForPelloraPrinter";
    const QString path = userConfigFilePath();
    UtilsLib::XmlPreferences user(m_config.name());
    user.set(PRINT_SERVICE_ADDRESS, address, QString(), false);
    UtilsLib::PrivateFile::makeDirectory(QFileInfo(path).absolutePath());
    if (user.save(path, UtilsLib::XmlPreferences::FileAccess::OwnerOnly))
        Trace::logf(this, ClassName, Function, Trace::Info, Trace::InfoCode,
            "Print Service address saved to %1", path);
    else
        Trace::logf(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
            "Failed to save the Print Service address to %1", path);
}

QString MacPrinterConnector::getPrintServiceForPelloraPrinter()
{
    static const char *const Function = "getPrintServiceForPelloraPrinter";
    Trace trace(this, ClassName, Function);
    QString address = m_config.get(PRINT_SERVICE_ADDRESS, QString());
    if (!address.isEmpty())
        return address;

    Trace::log(this, ClassName, Function, Trace::Info, Trace::InfoCode,
        QStringLiteral("Print Service address not configured, prompting user"));
    address = askForAddress();
    if (m_aborting)
        return address;
    m_config.set(PRINT_SERVICE_ADDRESS, address, QString(), false);
    if (!m_config.save(configFilePath())) {
        Trace::log(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
            QStringLiteral("Failed to save config file"));
        saveUserAddress(address);
    }
    return address;
}

SiteTls MacPrinterConnector::siteTls()
{
    Trace trace(this, ClassName, "siteTls");
    SiteTls site;
    site.enabled = m_config.getInt(PRINT_SERVICE_TLS, 0) != 0;
    if (!site.enabled)
        return site;
    site.host = getPrintServiceForPelloraPrinter();
    site.tlsPort = portEntry(PRINT_SERVICE_TLS_PORT, site.tlsPort);
    site.httpsPort = portEntry(PRINT_SERVICE_HTTPS_PORT, site.httpsPort);
    site.caFile = m_config.get(PRINT_SERVICE_CA_FILE, QString()).trimmed();
    Trace::logf(this, ClassName, "siteTls", Trace::Info, Trace::InfoCode,
        "The Print Service is reached through TLS on ports %1 and %2",
        QString::number(site.tlsPort), QString::number(site.httpsPort));
    return site;
}

// A port the file gets wrong is the default's, said once: the site still
// gets TLS rather than no connection at all.
int MacPrinterConnector::portEntry(const QString &name, int defaultPort)
{
    const QString text = m_config.get(name, QString()).trimmed();
    if (text.isEmpty())
        return defaultPort;
    bool ok = false;
    const int port = text.toInt(&ok);
    if (ok && port > 0 && port <= 65535)
        return port;
    Trace::logf(this, ClassName, "siteTls", Trace::Warning, Trace::WarningCode,
        "%1 is not a port; %2 is used", name, QString::number(defaultPort));
    return defaultPort;
}

QString MacPrinterConnector::askForAddress()
{
    TsInputDialog dialog(
        QCoreApplication::translate("MacPrinterConnector", EnterPrintServiceAddressCaption),
        QCoreApplication::translate("MacPrinterConnector", EnterPrintServiceAddressLabel));
    dialog.exec();
    // A dialog ended by a quit request gives nothing: half an address typed
    // so far must not be kept for good.
    if (m_aborting)
        return QString();
    return dialog.getInput().trimmed();
}

bool MacPrinterConnector::initialize()
{
    Trace trace(this, ClassName, "initialize");
    // Start-up may have read the file already for the site's TLS settings; a
    // second read could lose an address the patron just entered.
    if (!m_configLoaded)
        loadConfig();
    const QString address = getPrintServiceForPelloraPrinter();
    return m_printersManager->installPrinters(address, m_factory.get());
}

void MacPrinterConnector::onTerminate()
{
    Trace trace(this, ClassName, "onTerminate");
    Trace::log(this, ClassName, "onTerminate", Trace::Info, Trace::InfoCode,
        QStringLiteral(
            "in onTerminate.  deleting printers and setting original default printer..."));
    m_printersManager->uninstallPrinters();
}

void MacPrinterConnector::abortInitialization()
{
    m_aborting = true;
    m_printersManager->abortInstall();
}

bool MacPrinterConnector::addConnection(const QString &)
{
    return false;
}

bool MacPrinterConnector::removeConnection(const QString &)
{
    return false;
}

void MacPrinterConnector::setDefaultPrinter(const QString &) { }

QString MacPrinterConnector::getDefaultPrinter()
{
    return QString();
}

void MacPrinterConnector::resetPerUserDefaults() { }
