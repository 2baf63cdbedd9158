#pragma once

#include "MacPrintersManager.h"
#include "Observable.h"
#include "PrinterConnectorInterface.h"
#include "SiteTls.h"
#include "TsHttpFactory.h"
#include "XmlPreferences.h"

#include <QObject>

#include <memory>

// The Print Service as a printer host: its address, kept in printClient.tsp
// beside the executable (or, where the user cannot write that file, in the
// user's ~/.pelloraVav/printClient.tsp), and the printers it hands out.
class MacPrinterConnector : public QObject,
                            public UtilsLib::Observable,
                            public PrinterConnectorInterface
{
    Q_OBJECT

public:
    // Without a printers manager or a factory it makes its own.
    explicit MacPrinterConnector(std::unique_ptr<MacPrintersManager> printersManager = nullptr,
        std::unique_ptr<TsHttpFactory> factory = nullptr, QObject *parent = nullptr);
    ~MacPrinterConnector() override;

    // The printers manager and its commands report to the connector's observers.
    void addObserver(UtilsLib::Observer *observer) override;

    bool addConnection(const QString &name) override;
    bool removeConnection(const QString &name) override;
    void setDefaultPrinter(const QString &name) override;
    QString getDefaultPrinter() override;
    QString getPrintServiceForPelloraPrinter() override;
    virtual void resetPerUserDefaults();
    bool initialize() override;
    virtual bool loadConfig();

    // How the site reaches its Print Service, from the loaded file: plaintext
    // unless the file says otherwise. The host is the address in force.
    SiteTls siteTls();

    // The folder of printClient.tsp; the executable's folder by default.
    void setConfigDir(const QString &folder) { m_configDir = folder; }
    QString configFilePath() const;
    // Where the address goes when the folder's file cannot take it.
    static QString userConfigFilePath();

    static const QString CONFIG_FILE;
    static const QString PRINT_SERVICE_ADDRESS;
    static const QString DEDICATED_MODE;
    static const QString PRINT_SERVICE_TLS;
    static const QString PRINT_SERVICE_TLS_PORT;
    static const QString PRINT_SERVICE_HTTPS_PORT;
    static const QString PRINT_SERVICE_CA_FILE;
    static const char *const EnterPrintServiceAddressCaption;
    static const char *const EnterPrintServiceAddressLabel;
    static constexpr int INSTALL_PRINTERS_TIMEOUT_SECS = 180;
    static constexpr int INSTALL_PRINTERS_RETRY_WAIT_TIME_MILLIS = 5000;
    static const QString ClassName;

public slots:
    void onTerminate() override;
    // Gives up a printer installation that still waits for the Print Service
    // or runs one of its commands.
    void abortInitialization();

protected:
    // Asks the user for the address; the text entered, however the dialog ends.
    virtual QString askForAddress();

private:
    void loadUserAddress();
    int portEntry(const QString &name, int defaultPort);
    void saveUserAddress(const QString &address);

    UtilsLib::XmlPreferences m_config;
    std::unique_ptr<MacPrintersManager> m_printersManager;
    std::unique_ptr<TsHttpFactory> m_factory;
    QString m_configDir;
    bool m_aborting = false;
    bool m_configLoaded = false;
};
