#pragma once

#include "Observable.h"
#include "OSInterface.h"

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

    // Ends a running or coming installPrinters: the client is asked to quit
    // while it still waits for the Print Service or runs a command. A command
    // under way is ended at once and no further one starts; printers whose
    // scripts were fetched are still removed by uninstallPrinters.
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

    static const QString ClassName;
    static const QString DEFAULT_PRINTER_FILE;
    static const QString RESTORE_RECORD_FILE;
    static constexpr int PRINTERS_PORT = 30044;
    static constexpr int FETCH_TIMEOUT_MILLIS = 5000;
    // Both scripts, hex encoded: far more than a site's printers need.
    static constexpr qint64 MAX_SCRIPTS_SIZE = 2 * 1024 * 1024;

    // How long each command may run. Quitting has the shorter ones: the
    // removal script and the lpoptions restore, each ended by its deadline
    // plus OSInterface's kill grace, keep a quit well within 30 s.
    struct CommandDeadlines
    {
        int commandMillis = OSInterface::COMMAND_TIMEOUT_MILLIS;
        int scriptMillis = OSInterface::SCRIPT_TIMEOUT_MILLIS;
        int quitCommandMillis = 5000;
        int quitScriptMillis = 15000;
    };
    void setCommandDeadlines(const CommandDeadlines &deadlines) { m_deadlines = deadlines; }
    // The OS interface, for its trace observers.
    OSInterface *os() const { return m_os.get(); }

    static QString changeToFolderCommand(const QString &folder);
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
    CommandDeadlines m_deadlines;
};
