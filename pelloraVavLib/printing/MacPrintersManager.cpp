#include "MacPrintersManager.h"

#include "ConsoleLine.h"

#include "HexEncrypt.h"
#include "OSInterface.h"
#include "Trace.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"
#include "TsHttpMac.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>

const QString MacPrintersManager::ClassName = QStringLiteral("MacPrintersManager");
const QString MacPrintersManager::DEFAULT_PRINTER_FILE = QStringLiteral("defaultPrinter.txt");
const QString MacPrintersManager::RESTORE_RECORD_FILE
    = QStringLiteral("defaultPrinterToRestore.txt");

MacPrintersManager::MacPrintersManager(std::unique_ptr<OSInterface> os, QObject *parent)
    : QObject(parent)
    , m_os(os ? std::move(os) : std::make_unique<OSInterface>())
{ }

MacPrintersManager::~MacPrintersManager() = default;

QString MacPrintersManager::applicationFolder() const
{
    return m_applicationFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                         : m_applicationFolder;
}

QString MacPrintersManager::restoreRecordPath() const
{
    const QString folder = m_restoreRecordFolder.isEmpty()
        ? QDir::homePath() + QLatin1String("/.pelloraVav")
        : m_restoreRecordFolder;
    return QDir(folder).filePath(RESTORE_RECORD_FILE);
}

QString MacPrintersManager::changeToFolderCommand(const QString &folder)
{
    // The folder stands inside single quotes: an apostrophe in it must close
    // the quotes, add itself escaped and reopen them, or the shell would run
    // the rest of the path as commands.
    QString quoted = folder;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QStringLiteral("workdir='%1';cd \"${workdir}\";").arg(quoted);
}

void MacPrintersManager::printConsoleLine(const QString &line)
{
    UtilsLib::writeConsoleLine(line);
}

void MacPrintersManager::setInstallPrintersTimeoutSecs(int seconds)
{
    m_installTimeoutSecs = seconds;
}

void MacPrintersManager::setRetryWaitTimeMillis(int milliseconds)
{
    m_retryWaitMillis = milliseconds;
}

bool MacPrintersManager::installPrinters(const QString &address, TsHttpFactory *factory)
{
    const QDeadlineTimer deadline(qint64(m_installTimeoutSecs) * 1000);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(address);
    url.setPort(m_printersPort);
    url.setPath(QStringLiteral("/printers/"));
    const QString urlText = url.toString();
    m_os->setCommandTimeout(m_deadlines.commandMillis);
    m_os->setScriptTimeout(m_deadlines.scriptMillis);
    // Nothing but the quit request can start work while start-up waits for a
    // command, so the waits may keep events flowing for it.
    m_os->setEventsDuringWait(true);
    const auto blocking = qScopeGuard([this] { m_os->setEventsDuringWait(false); });

    for (;;) {
        if (m_aborted)
            return false;
        if (deadline.hasExpired()) {
            const QString timeout = QStringLiteral(
                "Timeout occurred when communicating with Print Service to get printer "
                "configurations.  Failed to install printers.");
            printConsoleLine(timeout);
            Trace::log(this, ClassName, "installPrinters", Trace::Error, Trace::ErrorCode, timeout);
            return false;
        }
        const std::unique_ptr<TsHttpInterface> http = factory->createHttpInstance();
        // The start-up's deadline holds within an attempt too.
        http->setTimeout(
            int(std::clamp<qint64>(deadline.remainingTime(), 1, FETCH_TIMEOUT_MILLIS)));
        http->setMaxBodySize(MAX_SCRIPTS_SIZE);
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        // An answer without both scripts is no better than no answer.
        if (http->get(urlText, &buffer) && !m_aborted
            && loadPrintersFromShell(QString::fromUtf8(buffer.data())))
            return true;
        if (m_aborted)
            return false;
        const QString failed = QStringLiteral("Attempt failed to communicate with Print Service");
        printConsoleLine(failed);
        // A refused TLS connection says why, for the administrator to mend.
        const auto *fetcher = qobject_cast<const TsHttpMac *>(http.get());
        if (fetcher && fetcher->lastError().number == HttpFetcher::TlsFailed)
            Trace::logf(this, ClassName, "installPrinters", Trace::Warning, Trace::WarningCode,
                "%1 at %2: %3", failed, urlText, fetcher->lastErrorText());
        else
            Trace::logf(this, ClassName, "installPrinters", Trace::Warning, Trace::WarningCode,
                "%1 at %2", failed, urlText);
        waitBeforeRetry();
    }
}

void MacPrintersManager::waitBeforeRetry()
{
    // The wait keeps events flowing, so that a quit request from the system
    // still reaches the client while it waits for the Print Service.
    if (m_retryWaitMillis <= 0 || !QCoreApplication::instance())
        return;
    QEventLoop loop;
    QTimer::singleShot(m_retryWaitMillis, &loop, &QEventLoop::quit);
    connect(this, &MacPrintersManager::installAborted, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void MacPrintersManager::abortInstall()
{
    m_aborted = true;
    m_os->abortRunningCommand();
    emit installAborted();
}

bool MacPrintersManager::loadPrintersFromShell(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 2)
        return false;
    const QString installScript = UtilsLib::HexEncrypt::decryptData(lines.at(0));
    m_removalScript = UtilsLib::HexEncrypt::decryptData(lines.at(1));

    runScript(m_removalScript, "loadPrintersFromShell");
    // Asked to quit: the scripts were fetched, so quitting runs the removal
    // again; nothing more is started.
    if (m_aborted)
        return true;
    // A run that was killed never put the patron's default back: the Mac's
    // default is now the site's printer, or none once the removal took that
    // away. The default to restore is the one that run recorded.
    if (!takeOverRestoreRecord()) {
        const bool found = getCurrentDefaultPrinter();
        // An lpstat ended by the quit request knows nothing: no record.
        if (m_aborted)
            return true;
        if (!found)
            printConsoleLine(QStringLiteral("no default printer set"));
        writeRestoreRecord();
    } else if (m_previousDefaultPrinter.isEmpty())
        printConsoleLine(QStringLiteral("no default printer set"));
    const QString install = changeToFolderCommand(applicationFolder()) + installScript;
    runScript(install, "loadPrintersFromShell");
    return true;
}

bool MacPrintersManager::getCurrentDefaultPrinter()
{
    // The tool runs without a shell. Its answer is also kept in
    // defaultPrinter.txt in the application folder, as it always was, but it
    // is read from memory: a kiosk's application folder is often not the
    // user's to write, and an old file there must not name the printer.
    QString answer;
    m_os->run(QStringLiteral("lpstat"), {QStringLiteral("-d")}, &answer);
    QSaveFile file(QDir(applicationFolder()).filePath(DEFAULT_PRINTER_FILE));
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(answer.toUtf8());
        file.commit();
    }

    const QStringList parts
        = answer.section(QLatin1Char('\n'), 0, 0).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return false;
    m_previousDefaultPrinter = parts.at(1).trimmed();
    return true;
}

bool MacPrintersManager::takeOverRestoreRecord()
{
    QFile file(restoreRecordPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QString name = QString::fromUtf8(file.readLine());
    if (name.endsWith(QLatin1Char('\n')))
        name.chop(1);
    m_previousDefaultPrinter = name;
    m_ownsRestoreRecord = true;
    return true;
}

void MacPrintersManager::writeRestoreRecord()
{
    // Written whole or not at all: a record cut by a kill would name a
    // printer that never existed. Without a record (a home folder that cannot
    // be written) a crash costs the patron's default as before, nothing more.
    const QString path = restoreRecordPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(m_previousDefaultPrinter.toUtf8() + '\n');
    m_ownsRestoreRecord = file.commit();
}

QString MacPrintersManager::parseDefaultPrinterFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QString line = QString::fromUtf8(file.readLine());
    if (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    return line;
}

void MacPrintersManager::uninstallPrinters()
{
    m_os->setCommandTimeout(m_deadlines.quitCommandMillis);
    m_os->setScriptTimeout(m_deadlines.quitScriptMillis);
    deletePrintersFromShell();
    restoreOriginalDefaultPrinter();
    // Only a run that installed the printers may drop the record: one that
    // never got the scripts leaves a killed run's printers, and its record, in place.
    if (m_ownsRestoreRecord && QFile::remove(restoreRecordPath()))
        m_ownsRestoreRecord = false;
}

void MacPrintersManager::deletePrintersFromShell()
{
    runScript(m_removalScript, "deletePrintersFromShell");
}

void MacPrintersManager::runScript(const QString &command, const char *functionName)
{
    QByteArray output;
    const int status = m_os->system(command.toUtf8().constData(), &output);
    // CUPS refuses a patron who may not administer printers with "Forbidden";
    // a script may go on after that and still end with status 0.
    if (status == 0 && !output.contains("Forbidden"))
        return;
    // The output is the script's, shown as plain text on one line; a device
    // address may carry a password before its "@".
    QString text = QString::fromUtf8(output).simplified();
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    static const QRegularExpression credentials(QStringLiteral("://[^/@\\s]*@"));
    text.replace(credentials, QStringLiteral("://***@"));
    if (text.isEmpty())
        Trace::logf(this, ClassName, functionName, Trace::Warning, Trace::WarningCode,
            "Printer script failed with status %1", status);
    else
        Trace::logf(this, ClassName, functionName, Trace::Warning, Trace::WarningCode,
            "Printer script failed with status %1: %2", QString::number(status), text);
}

void MacPrintersManager::restoreOriginalDefaultPrinter()
{
    if (m_previousDefaultPrinter.isEmpty())
        return;
    printConsoleLine(QStringLiteral("setting default printer to ") + m_previousDefaultPrinter);
    m_os->run(QStringLiteral("lpoptions"), {QStringLiteral("-d"), m_previousDefaultPrinter});
}
