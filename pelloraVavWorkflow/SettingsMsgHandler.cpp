#include "SettingsMsgHandler.h"

#include "KoaPreferences.h"
#include "LanguageChangerInterface.h"
#include "PrintClientLanguageChanger.h"
#include "PrintClientTranslatorInterface.h"
#include "RegistrationListenerInterface.h"
#include "SettingsMsg.h"
#include "SettingsResponseMsg.h"
#include "SharedPrinterMappingsInterface.h"
#include "StalloSessionRegistry.h"
#include "Trace.h"
#include "TsBaseDialog.h"

#include <QScopeGuard>

const QString SettingsMsgHandler::ClassName = QStringLiteral("SettingsMsgHandler");

SettingsMsgHandler::SettingsMsgHandler(KoaPreferences *preferences, StalloSessionRegistry *registry,
    SharedPrinterMappingsInterface *printerMappings, PrintClientTranslatorInterface *translator,
    bool localeSetFromCommandLine, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_registry(registry)
    , m_printerMappings(printerMappings)
    , m_translator(translator)
    , m_localeSetFromCommandLine(localeSetFromCommandLine)
{ }

void SettingsMsgHandler::log(int severity, const QString &details) const
{
    const QString &category = severity == Trace::WarningCode ? Trace::Warning
        : severity == Trace::InfoCode                        ? Trace::Info
                                                             : Trace::Verbose;
    Trace::log(this, ClassName, "handle", category, severity, details);
}

QString SettingsMsgHandler::handle(const QString & /*source*/, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    auto *settings = dynamic_cast<SettingsMsg *>(message);
    if (!settings) {
        log(Trace::WarningCode, QStringLiteral("Message is NULL"));
        return QString();
    }
    log(Trace::VerboseCode, QStringLiteral("After check for null message"));
    // Every override download this message causes shares one wait: a site
    // that lists many dialects, or a Print Service that does not answer,
    // must not hold the client for one wait per dialect.
    setDownloadDeadline(QDeadlineTimer(m_downloadBudget));
    const auto lift
        = qScopeGuard([this] { setDownloadDeadline(QDeadlineTimer(QDeadlineTimer::Forever)); });

    KoaPreferences &prefs = *m_preferences;
    prefs.setStaffPassword(settings->getPassword());
    prefs.setStalloIntegration(settings->getStalloIntegration());
    prefs.setStalloPageLimit(settings->getStalloPageLimit());
    prefs.setStalloAllowOverride(settings->getStalloAllowOverride());
    prefs.setStalloId(settings->getStalloId());
    prefs.setStalloUserCredentialsPort(settings->getStalloUserCredentialsPort());
    prefs.setMaskUserId(settings->getMaskUserId());
    prefs.setStalloUseDescription(settings->getStalloUseDescription());
    // Only the values above belong in the machine's stored session.
    prefs.saveIfDedicated();
    prefs.setThirdPartyUserInfoPath(settings->getThirdPartyUserInfoPath());
    prefs.setStalloUseLanguage(settings->getStalloUseLanguage());
    prefs.setLanguageSwitchingAllowed(settings->isLanguageSwitchingAllowed());
    prefs.setSupportedLanguageDialects(settings->getSupportedLanguageDialects());
    prefs.setDefaultLanguageDialect(settings->getDefaultLanguageDialect());
    prefs.enableUserIdInputFilter(
        settings->isUserIdInputFilterEnabled(), settings->getUserIdInputFilterExceptions());
    prefs.enableUserPinInputFilter(
        settings->isUserPinInputFilterEnabled(), settings->getUserPinInputFilterExceptions());

    log(Trace::VerboseCode, QStringLiteral("After preferences assigned"));
    log(Trace::VerboseCode,
        QStringLiteral("User Id Input Filter Enabled: %1 (Exceptions: %2)")
            .arg(prefs.isUserIdInputFilterEnabled() ? 1 : 0)
            .arg(prefs.getUserIdInputFilterExceptions()));
    log(Trace::VerboseCode,
        QStringLiteral("User Pin Input Filter Enabled: %1 (Exceptions: %2)")
            .arg(prefs.isUserPinInputFilterEnabled() ? 1 : 0)
            .arg(prefs.getUserPinInputFilterExceptions()));

    const bool stalloLanguage = prefs.getStalloIntegration() && prefs.getStalloUseLanguage();
    if (prefs.isLanguageSwitchingAllowed() || stalloLanguage) {
        switchLanguagesDynamically();
    } else if (!gOverridesInitialized) {
        log(Trace::VerboseCode, QStringLiteral("Applying language overrides"));
        if (m_languageChanger)
            m_languageChanger->changeLanguage(prefs.getCurrentLocale());
        gOverridesInitialized = true;
    }

    if (stalloLanguage && m_registry && m_registry->getInSession()) {
        log(Trace::VerboseCode, QStringLiteral("In Stallo Integration handler"));
        const QString language = m_registry->getLanguage();
        // An empty language would match every list.
        if (!language.isEmpty()
            && prefs.getSupportedLanguageDialects().toLower().contains(language.toLower())) {
            applyLocale(language, settings->getHttpPort());
            log(Trace::VerboseCode, QStringLiteral("Leaving Stallo Integration handler"));
        } else {
            log(Trace::WarningCode,
                QStringLiteral("Stallo language (%1) is not supported by Pellora").arg(language));
        }
    } else if (!m_localeSetFromCommandLine && !m_localeAlreadySet) {
        log(Trace::VerboseCode, QStringLiteral("In Set Locale handler"));
        applyLocale(prefs.getDefaultLanguageDialect(), settings->getHttpPort());
        log(Trace::VerboseCode, QStringLiteral("Leaving Set Locale handler"));
        m_localeAlreadySet = true;
    }

    TsBaseDialog::setSiteName(settings->getSiteName());

    log(Trace::InfoCode,
        QStringLiteral("Setting default printer to %1").arg(settings->getDefaultPrinter()));
    if (m_printerMappings)
        m_printerMappings->setDefaultPrinter(settings->getDefaultPrinter());
    log(Trace::VerboseCode, QStringLiteral("Default printer set"));

    if (m_registrationListener) {
        log(Trace::VerboseCode,
            QStringLiteral("Telling registration listener that registration is complete"));
        m_registrationListener->registrationComplete();
        log(Trace::VerboseCode,
            QStringLiteral("Finished telling registration listener that registration is complete"));
    }

    const QString response = SettingsResponseMsg(m_translator->getLocale()).getTextForSending();
    log(Trace::InfoCode, QStringLiteral("Response=%1").arg(response));
    return response;
}

void SettingsMsgHandler::switchLanguagesDynamically()
{
    const QString dialects = m_preferences->getSupportedLanguageDialects();
    log(Trace::VerboseCode,
        QStringLiteral("In Dynamic Language Switching handler.  Supported dialects=%1")
            .arg(dialects));
    m_translator->installSupportedLanguageDialects(dialects);
    if (m_languageChanger) {
        // Every offered dialect is fetched once; the locale in force before
        // the message comes last so that it stays in force.
        const QString previous = m_preferences->getCurrentLocale();
        const QStringList items = dialects.split(QLatin1Char(','), ::Qt::SkipEmptyParts);
        QStringList done;
        for (const QString &item : items) {
            const QString code = item.trimmed().toUpper();
            if (code.isEmpty() || done.contains(code))
                continue;
            done << code;
            m_languageChanger->changeLanguage(code);
        }
        m_languageChanger->changeLanguage(previous.toUpper());
    }
    log(Trace::VerboseCode, QStringLiteral("Leaving Dynamic Language Switching handler"));
}

void SettingsMsgHandler::setDownloadDeadline(QDeadlineTimer deadline)
{
    m_translator->setDownloadDeadline(deadline);
    if (m_languageChanger)
        m_languageChanger->setDownloadDeadline(deadline);
}

void SettingsMsgHandler::applyLocale(const QString &locale, int httpPort)
{
    log(Trace::InfoCode, QStringLiteral("Setting locale to %1").arg(locale));
    m_translator->setLocale(locale, httpPort);
    m_preferences->setCurrentLocale(locale);
}

std::unique_ptr<Tessaly::Core::MessageHandler> SettingsMsgHandler::clone() const
{
    auto copy = std::make_unique<SettingsMsgHandler>(m_preferences, m_registry, m_printerMappings,
        m_translator, m_localeSetFromCommandLine, nullptr);
    copy->m_registrationListener = m_registrationListener;
    copy->m_localeAlreadySet = m_localeAlreadySet;
    copy->m_languageChanger = m_languageChanger;
    copy->m_downloadBudget = m_downloadBudget;
    copyObservers(*copy);
    return copy;
}
