#pragma once

#include <QString>

// The client's settings as the rest of the client reads them. The settings
// that the platform keeps elsewhere are left to the platform class.
class KoaPreferences
{
public:
    static const QString DEFAULT_LANGUAGE_DIALECT;

    KoaPreferences();
    virtual ~KoaPreferences();

    virtual bool getDedicatedMode() const = 0;
    virtual void saveIfDedicated() = 0;
    virtual bool isTemporaryClientAllowed() const = 0;
    virtual QString getStaffPassword() const = 0;
    virtual void setStaffPassword(const QString &password) = 0;
    virtual bool getStalloIntegration() const = 0;
    virtual void setStalloIntegration(bool enabled) = 0;
    virtual int getStalloPageLimit() const = 0;
    virtual void setStalloPageLimit(int limit) = 0;
    virtual bool getStalloAllowOverride() const = 0;
    virtual void setStalloAllowOverride(bool allowed) = 0;
    virtual bool getStalloId() const = 0;
    virtual void setStalloId(bool enabled) = 0;
    virtual bool getMaskUserId() const = 0;
    virtual void setMaskUserId(bool masked) = 0;
    virtual bool getStalloUseDescription() const = 0;
    virtual void setStalloUseDescription(bool enabled) = 0;
    virtual QString getThirdPartyUserInfoPath() const = 0;
    virtual void setThirdPartyUserInfoPath(const QString &path) = 0;
    virtual bool getStalloUseLanguage() const = 0;
    virtual void setStalloUseLanguage(bool enabled) = 0;
    virtual int getStalloUserCredentialsPort() const = 0;
    virtual void setStalloUserCredentialsPort(int port) = 0;

    virtual bool isLanguageSwitchingAllowed() const;
    virtual void setLanguageSwitchingAllowed(bool allowed);
    virtual QString getSupportedLanguageDialects() const;
    virtual void setSupportedLanguageDialects(const QString &dialects);
    virtual QString getDefaultLanguageDialect() const;
    // An empty dialect restores DEFAULT_LANGUAGE_DIALECT.
    virtual void setDefaultLanguageDialect(const QString &dialect);
    virtual QString getCurrentLocale() const;
    virtual void setCurrentLocale(const QString &locale);
    virtual bool isUserIdInputFilterEnabled() const;
    virtual QString getUserIdInputFilterExceptions() const;
    // The exceptions are only kept while the filter is on.
    virtual void enableUserIdInputFilter(bool enabled, const QString &exceptions);
    virtual bool isUserPinInputFilterEnabled() const;
    virtual QString getUserPinInputFilterExceptions() const;
    virtual void enableUserPinInputFilter(bool enabled, const QString &exceptions);

private:
    bool m_languageSwitchingAllowed = false;
    QString m_supportedLanguageDialects;
    QString m_defaultLanguageDialect;
    QString m_currentLocale;
    bool m_userIdInputFilterEnabled = false;
    QString m_userIdInputFilterExceptions;
    bool m_userPinInputFilterEnabled = false;
    QString m_userPinInputFilterExceptions;
};
