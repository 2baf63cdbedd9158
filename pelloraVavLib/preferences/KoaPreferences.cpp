#include "KoaPreferences.h"

const QString KoaPreferences::DEFAULT_LANGUAGE_DIALECT = QStringLiteral("en_us");

KoaPreferences::KoaPreferences()
    : m_defaultLanguageDialect(DEFAULT_LANGUAGE_DIALECT)
{ }

KoaPreferences::~KoaPreferences() = default;

bool KoaPreferences::isLanguageSwitchingAllowed() const
{
    return m_languageSwitchingAllowed;
}

void KoaPreferences::setLanguageSwitchingAllowed(bool allowed)
{
    m_languageSwitchingAllowed = allowed;
}

QString KoaPreferences::getSupportedLanguageDialects() const
{
    return m_supportedLanguageDialects;
}

void KoaPreferences::setSupportedLanguageDialects(const QString &dialects)
{
    m_supportedLanguageDialects = dialects;
}

QString KoaPreferences::getDefaultLanguageDialect() const
{
    return m_defaultLanguageDialect;
}

void KoaPreferences::setDefaultLanguageDialect(const QString &dialect)
{
    m_defaultLanguageDialect = dialect.isEmpty() ? DEFAULT_LANGUAGE_DIALECT : dialect;
}

QString KoaPreferences::getCurrentLocale() const
{
    return m_currentLocale;
}

void KoaPreferences::setCurrentLocale(const QString &locale)
{
    m_currentLocale = locale;
}

bool KoaPreferences::isUserIdInputFilterEnabled() const
{
    return m_userIdInputFilterEnabled;
}

QString KoaPreferences::getUserIdInputFilterExceptions() const
{
    return m_userIdInputFilterExceptions;
}

void KoaPreferences::enableUserIdInputFilter(bool enabled, const QString &exceptions)
{
    m_userIdInputFilterEnabled = enabled;
    m_userIdInputFilterExceptions = enabled ? exceptions : QString();
}

bool KoaPreferences::isUserPinInputFilterEnabled() const
{
    return m_userPinInputFilterEnabled;
}

QString KoaPreferences::getUserPinInputFilterExceptions() const
{
    return m_userPinInputFilterExceptions;
}

void KoaPreferences::enableUserPinInputFilter(bool enabled, const QString &exceptions)
{
    m_userPinInputFilterEnabled = enabled;
    m_userPinInputFilterExceptions = enabled ? exceptions : QString();
}
