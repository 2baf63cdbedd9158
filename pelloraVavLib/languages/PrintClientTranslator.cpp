#include "PrintClientTranslator.h"

#include "PrinterConnectorInterface.h"
#include "QmMessageFile.h"
#include "SupportedLanguageDialects.h"
#include "Trace.h"
#include "TranslationFileManager.h"
#include "TsHttp.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

const QString PrintClientTranslator::ClassName = QStringLiteral("PrintClientTranslator");

PrintClientTranslator::PrintClientTranslator(const QString &locale, UtilsLib::Observer *observer)
    : m_observer(observer)
    , m_locale(locale)
{
    if (observer)
        addObserver(observer);
}

PrintClientTranslator::~PrintClientTranslator()
{
    Trace trace(this, ClassName, "~PrintClientTranslator");
    removeOldTranslators();
}

QString PrintClientTranslator::getLocale()
{
    Trace trace(this, ClassName, "getLocale");
    return m_locale;
}

void PrintClientTranslator::setLocale(const QString &locale, int httpPort)
{
    Trace trace(this, ClassName, "setLocale");
    Trace::logf(this, ClassName, "setLocale", Trace::Info, Trace::InfoCode,
        "Current Locale=%1; new locale=%2", m_locale, locale);
    m_locale = locale;
    removeOldTranslators();
    installDefaultTranslations();
    installOverrideTranslations(httpPort);
}

void PrintClientTranslator::removeOldTranslators()
{
    Trace trace(this, ClassName, "removeOldTranslators");
    QCoreApplication::removeTranslator(&m_overrideTranslator);
    QCoreApplication::removeTranslator(&m_defaultTranslator);
}

void PrintClientTranslator::installDefaultTranslations()
{
    Trace trace(this, ClassName, "installDefaultTranslations");
    if (m_locale.isEmpty())
        return;
    // The toolkit's search: es_us, es_us.qm, es, es.qm.
    if (!m_defaultTranslator.load(m_locale, TranslationFileManager::languagesRoot()))
        return;
    // The toolkit maps the file rather than reading it, but one past the
    // bound of every translation file is refused all the same.
    if (QFileInfo(m_defaultTranslator.filePath()).size() > QmMessageFile::MaxFileSize) {
        Trace::logf(this, ClassName, "installDefaultTranslations", Trace::Warning,
            Trace::WarningCode, "Translation file too large (%1)", m_defaultTranslator.filePath());
        (void)m_defaultTranslator.load(nullptr, 0);
        return;
    }
    Trace::log(this, ClassName, "installDefaultTranslations", Trace::Verbose, Trace::VerboseCode,
        QStringLiteral("Installing default translator"));
    QCoreApplication::installTranslator(&m_defaultTranslator);
    Trace::log(this, ClassName, "installDefaultTranslations", Trace::Info, Trace::InfoCode,
        QStringLiteral("Default translator installed"));
}

void PrintClientTranslator::installOverrideTranslations(int httpPort)
{
    Trace trace(this, ClassName, "installOverrideTranslations");
    const QString address
        = m_connector ? m_connector->getPrintServiceForPelloraPrinter() : QString();
    if (address.isEmpty() || m_locale.isEmpty()) {
        Trace::log(this, ClassName, "installOverrideTranslations", Trace::Warning,
            Trace::WarningCode, QStringLiteral("Either printServiceAddress or locale is empty"));
        return;
    }
    Trace::logf(this, ClassName, "installOverrideTranslations", Trace::Verbose, Trace::VerboseCode,
        "Preparing to download override translator from Print Service at %1:%2", address, httpPort);
    if (!downloadOverrideTranslations(address, httpPort)
        || !QmMessageFile::load(&m_overrideTranslator, &m_overrideData))
        return;
    Trace::log(this, ClassName, "installOverrideTranslations", Trace::Verbose, Trace::VerboseCode,
        QStringLiteral("Installing translator"));
    QCoreApplication::installTranslator(&m_overrideTranslator);
    Trace::log(this, ClassName, "installOverrideTranslations", Trace::Info, Trace::InfoCode,
        QStringLiteral("Translator installed"));
}

bool PrintClientTranslator::downloadOverrideTranslations(const QString &address, int httpPort) const
{
    Trace trace(this, ClassName, "downloadOverrideTranslations");
    const QString fileName = QStringLiteral("%1_OVERRIDE.qm").arg(m_locale.toUpper());
    const QString url = QStringLiteral("http://%1:%2/languages/%3")
                            .arg(address, QString::number(httpPort), fileName);
    if (m_downloadDeadline.hasExpired()) {
        Trace::logf(this, ClassName, "downloadOverrideTranslations", Trace::Warning,
            Trace::WarningCode, "No time left to retrieve override translations from %1", url);
        return false;
    }
    TsHttp http;
    // 0 would mean no limit to the client: at least a millisecond.
    http.setTimeout(int(std::clamp<qint64>(
        m_downloadDeadline.isForever() ? DownloadTimeout : m_downloadDeadline.remainingTime(), 1,
        DownloadTimeout)));
    http.setMaxBodySize(QmMessageFile::MaxFileSize);
    // The override translator may still read the old bytes until it loads
    // the new ones, so they are fetched aside and swapped in afterwards.
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadWrite);
    Trace::logf(this, ClassName, "downloadOverrideTranslations", Trace::Info, Trace::InfoCode,
        "Attempting to retrieve override translations from %1", url);
    const bool ok = http.get(url, &buffer);
    buffer.close();
    if (ok)
        m_overrideData = data;
    Trace::logf(this, ClassName, "downloadOverrideTranslations", Trace::Info, Trace::InfoCode,
        "Leaving downloadOverrideTranslations.  Returning %1",
        ok ? QStringLiteral("true") : QStringLiteral("false"));
    return ok;
}

void PrintClientTranslator::installSupportedLanguageDialects(const QString &dialects)
{
    Trace trace(this, ClassName, "installSupportedLanguageDialects");
    Trace::logf(this, ClassName, "installSupportedLanguageDialects", Trace::Info, Trace::InfoCode,
        "Supported dialects=%1", dialects);
    SupportedLanguageDialects supported(m_observer);
    supported.install(dialects);
}
