#include "LanguageChanger.h"

#include "QmMessageFile.h"
#include "TempCursor.h"
#include "Trace.h"
#include "TranslationFileManager.h"
#include "TsBaseDialog.h"
#include "TsHttpInterface.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <algorithm>

const QString LanguageChanger::ClassName = QStringLiteral("LanguageChanger");

namespace {
const char *const Function = "changeLanguage";
}

LanguageChanger::LanguageChanger(std::unique_ptr<TsHttpInterface> http,
    const QString &overrideBaseUrl, UtilsLib::Observer *observer)
    : m_http(std::move(http))
    , m_overrideBaseUrl(overrideBaseUrl)
{
    if (observer)
        addObserver(observer);
    if (m_http) {
        m_http->setTimeout(OverrideTimeout);
        m_http->setMaxBodySize(QmMessageFile::MaxFileSize);
    }
}

void LanguageChanger::setDownloadDeadline(QDeadlineTimer deadline)
{
    m_downloadDeadline = deadline;
    m_fetched.clear();
}

bool LanguageChanger::fetchOverrides(const QString &url)
{
    if (!m_http)
        return false;
    const bool bounded = !m_downloadDeadline.isForever();
    if (bounded) {
        const auto known = m_fetched.constFind(url);
        if (known != m_fetched.cend()) {
            m_overrideData = *known;
            return !m_overrideData.isEmpty();
        }
        if (m_downloadDeadline.hasExpired()) {
            Trace::log(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
                QStringLiteral("No time left to retrieve override translations from %1").arg(url));
            m_fetched.insert(url, QByteArray());
            return false;
        }
    }
    m_http->setTimeout(bounded
            ? int(std::clamp<qint64>(m_downloadDeadline.remainingTime(), 1, OverrideTimeout))
            : OverrideTimeout);
    QBuffer buffer(&m_overrideData);
    buffer.open(QIODevice::ReadWrite);
    const bool ok = m_http->get(url, &buffer);
    buffer.close();
    if (bounded)
        m_fetched.insert(url, ok ? m_overrideData : QByteArray());
    return ok;
}

LanguageChanger::~LanguageChanger()
{
    if (m_overrideTranslator) {
        Trace::log(this, ClassName, "~LanguageChanger", Trace::Verbose, Trace::VerboseCode,
            QStringLiteral("Removing override translator"));
        QCoreApplication::removeTranslator(m_overrideTranslator.get());
        m_overrideTranslator.reset();
    }
    if (m_defaultTranslator) {
        Trace::log(this, ClassName, "~LanguageChanger", Trace::Verbose, Trace::VerboseCode,
            QStringLiteral("Removing default translator"));
        QCoreApplication::removeTranslator(m_defaultTranslator.get());
        m_defaultTranslator.reset();
    }
}

int LanguageChanger::changeLanguage(const QString &code)
{
    TempCursor waitCursor;
    const auto info = [this](const QString &text) {
        Trace::log(this, ClassName, Function, Trace::Info, Trace::InfoCode, text);
    };
    const auto warning = [this](const QString &text) {
        Trace::log(this, ClassName, Function, Trace::Warning, Trace::WarningCode, text);
    };

    const QString path = TranslationFileManager::findFile(
        TranslationFileManager::languagesRoot(), code + QStringLiteral(".qm"));
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        warning(QStringLiteral("Default language file could not be opened.  Check to ensure the "
                               "file (%1) exists")
                    .arg(path));
        return DefaultFailed;
    }
    info(QStringLiteral("Verified translation file (%1)").arg(path));
    file.close();
    QByteArray data;
    auto translator = std::make_unique<QTranslator>();
    if (!QmMessageFile::readFile(path, &data) || !QmMessageFile::load(translator.get(), &data)) {
        warning(QStringLiteral("Failed to load translation file (%1)").arg(path));
        return DefaultFailed;
    }
    info(QStringLiteral("Loaded translation file (%1)").arg(path));
    if (m_defaultTranslator) {
        info(QStringLiteral("Removing existing default translator"));
        QCoreApplication::removeTranslator(m_defaultTranslator.get());
        m_defaultTranslator.reset();
    }
    // The translator reads from the bytes: they are kept as long as it lives.
    m_defaultData = std::move(data);
    m_defaultTranslator = std::move(translator);
    info(QStringLiteral("Installing default translator"));
    QCoreApplication::installTranslator(m_defaultTranslator.get());
    TsBaseDialog::setDialogLocale(TsBaseDialog::localeOfDialect(code));
    info(QStringLiteral("Install default translator complete"));

    if (m_overrideTranslator) {
        info(QStringLiteral("Removing existing override translator"));
        QCoreApplication::removeTranslator(m_overrideTranslator.get());
        m_overrideTranslator.reset();
    }
    m_overrideData.clear();
    info(QStringLiteral("opening overrideWrapper buffer"));

    const QString url = QStringLiteral("%1/%2_OVERRIDE.qm").arg(m_overrideBaseUrl, code);
    info(QStringLiteral("retrieving override translations"));
    if (!fetchOverrides(url)) {
        warning(QStringLiteral("Failed to retrieve override translations from %1").arg(url));
        return OverridesFailed;
    }
    info(QStringLiteral("Retrieved override translations from %1").arg(url));
    m_overrideTranslator = std::make_unique<QTranslator>();
    if (!QmMessageFile::load(m_overrideTranslator.get(), &m_overrideData)) {
        warning(QStringLiteral("Failed to install override translations"));
        return OverridesFailed;
    }
    info(QStringLiteral("Installing override translator"));
    QCoreApplication::installTranslator(m_overrideTranslator.get());

    const QString name = m_overrideTranslator->translate(
        TranslationFileManager::LANGUAGE_CONTEXT, TranslationFileManager::LANGUAGE_NAME);
    const QString close = m_overrideTranslator->translate(TranslationFileManager::LANGUAGE_CONTEXT,
        TranslationFileManager::CLOSE_LANGUAGE_OPTIONS_TEXT);
    if (!name.isEmpty() || !close.isEmpty()) {
        Trace::log(this, ClassName, Function, Trace::Verbose, Trace::VerboseCode,
            QStringLiteral("Using overrides for language name and/or close language options "
                           "([%1], [%2])")
                .arg(name, close));
        TsBaseDialog::setLanguageOverridesForDialect(code, name, close);
    }
    return OverridesInstalled;
}
