#pragma once

#include "OSInterface.h"
#include "Observable.h"

#include <QObject>
#include <QString>

#include <memory>

class TsHttpFactory;

// Puts the Print Service's printers on this machine at start-up and takes them
// off again at exit, with the two scripts the Print Service hands out.
// A script that fails is traced at the Warning level with its output.
class MacPrintersManager : public QObject, public UtilsLib::Observable
{
    Q_OBJECT

public:
    // Without an OS interface it makes its own.
    explicit MacPrintersManager(
        std::unique_ptr<OSInterface> os = nullptr, QObject *parent = nullptr);
    ~MacPrintersManager() override;

    virtual bool installPrinters(const QString &address, TsHttpFactory *factory);
    virtual void uninstallPrinters();
    virtual void setInstallPrintersTimeoutSecs(int seconds);
    virtual void setRetryWaitTimeMillis(int milliseconds);
    virtual QString parseDefaultPrinterFromFile(const QString &path);

    // Ends a running or coming installPrinters with false: the client is
    // asked to quit while it still waits for the Print Service.
    void abortInstall();
    bool isInstallAborted() const { return m_aborted; }

    QString previousDefaultPrinter() const { return m_previousDefaultPrinter; }
    QString removalScript() const { return m_removalScript; }

    // Where the scripts run and defaultPrinter.txt is kept; the executable's folder by default.
    void setApplicationFolder(const QString &folder) { m_applicationFolder = folder; }
    QString applicationFolder() const;
    void setPrintersPort(int port) { m_printersPort = port; }
    // Where the default printer still to be restored is kept while the site's
    // printers are installed; the user's ~/.pelloraVav by default.
    void setRestoreRecordFolder(const QString &folder) { m_restoreRecordFolder = folder; }
    QString restoreRecordPath() const;

    static const QString DEFAULT_PRINTER_FILE;
    static const QString RESTORE_RECORD_FILE;
    static constexpr int PRINTERS_PORT = 30044;
    static constexpr int FETCH_TIMEOUT_MILLIS = 5000;

    static QString changeToFolderCommand(const QString &folder);
    static const QString ClassName;
    static void printConsoleLine(const QString &line);

signals:
    void installAborted();

private:
    bool loadPrintersFromShell(const QString &text);
    bool getCurrentDefaultPrinter();
    bool takeOverRestoreRecord();
    void writeRestoreRecord();
    void restoreOriginalDefaultPrinter();
    void deletePrintersFromShell();
    void runScript(const QString &command, const char *functionName);
    void waitBeforeRetry();

    std::unique_ptr<OSInterface> m_os;
    QString m_removalScript;
    QString m_previousDefaultPrinter;
    int m_installTimeoutSecs = 180;
    int m_retryWaitMillis = 5000;
    QString m_applicationFolder;
    QString m_restoreRecordFolder;
    bool m_ownsRestoreRecord = false;
    int m_printersPort = PRINTERS_PORT;
    bool m_aborted = false;
};
