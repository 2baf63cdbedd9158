#pragma once

#include "Message.h"

// The site's configuration, pushed by the Print Service after registration.
class SettingsMsg : public Tessaly::Core::Message
{
public:
    static constexpr long MESSAGE_ID = 58;

    explicit SettingsMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr,
        UtilsLib::Observer *observer = nullptr);
    SettingsMsg(const SettingsMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    // The staff password in clear; it arrives encrypted.
    QString getPassword() const { return m_password; }
    void setPassword(const QString &password) { m_password = password; }
    bool getStalloIntegration() const { return m_stalloIntegration; }
    void setStalloIntegration(bool on) { m_stalloIntegration = on; }
    // Pages per reservation session; 0 means no limit.
    int getStalloPageLimit() const { return m_stalloPageLimit; }
    void setStalloPageLimit(int limit) { m_stalloPageLimit = limit; }
    bool getStalloAllowOverride() const { return m_stalloAllowOverride; }
    void setStalloAllowOverride(bool allow) { m_stalloAllowOverride = allow; }
    bool getStalloId() const { return m_stalloId; }
    void setStalloId(bool on) { m_stalloId = on; }
    bool getMaskUserId() const { return m_maskUserId; }
    void setMaskUserId(bool mask) { m_maskUserId = mask; }
    QString getDefaultPrinter() const { return m_defaultPrinter; }
    void setDefaultPrinter(const QString &printer) { m_defaultPrinter = printer; }
    bool getStalloUseDescription() const { return m_stalloUseDescription; }
    void setStalloUseDescription(bool use) { m_stalloUseDescription = use; }
    QString getThirdPartyUserInfoPath() const { return m_thirdPartyUserInfoPath; }
    void setThirdPartyUserInfoPath(const QString &path) { m_thirdPartyUserInfoPath = path; }
    QString getSiteName() const { return m_siteName; }
    void setSiteName(const QString &name) { m_siteName = name; }
    int getHttpPort() const { return m_httpPort; }
    void setHttpPort(int port) { m_httpPort = port; }
    bool getStalloUseLanguage() const { return m_stalloUseLanguage; }
    void setStalloUseLanguage(bool use) { m_stalloUseLanguage = use; }
    int getStalloUserCredentialsPort() const { return m_stalloUserCredentialsPort; }
    void setStalloUserCredentialsPort(int port) { m_stalloUserCredentialsPort = port; }
    bool isLanguageSwitchingAllowed() const { return m_languageSwitchingAllowed; }
    void setLanguageSwitchingAllowed(bool allowed) { m_languageSwitchingAllowed = allowed; }
    QString getSupportedLanguageDialects() const { return m_supportedLanguageDialects; }
    void setSupportedLanguageDialects(const QString &dialects)
    {
        m_supportedLanguageDialects = dialects;
    }
    QString getDefaultLanguageDialect() const { return m_defaultLanguageDialect; }
    void setDefaultLanguageDialect(const QString &dialect) { m_defaultLanguageDialect = dialect; }

    bool isUserIdInputFilterEnabled() const { return m_userIdInputFilterEnabled; }
    QString getUserIdInputFilterExceptions() const { return m_userIdInputFilterExceptions; }
    // Disabling the filter also forgets its exceptions.
    void enableUserIdInputFilter(bool enabled, const QString &exceptions);
    bool isUserPinInputFilterEnabled() const { return m_userPinInputFilterEnabled; }
    QString getUserPinInputFilterExceptions() const { return m_userPinInputFilterExceptions; }
    void enableUserPinInputFilter(bool enabled, const QString &exceptions);

    // The staff password never reaches a trace.
    static const bool SECRET_FIELDS_DECLARED;

private:
    void setCodedField(const QString &field);

    QString m_password;
    bool m_stalloIntegration = false;
    int m_stalloPageLimit = 0;
    bool m_stalloAllowOverride = false;
    bool m_stalloId = false;
    bool m_maskUserId = false;
    QString m_defaultPrinter;
    bool m_stalloUseDescription = false;
    QString m_thirdPartyUserInfoPath;
    QString m_siteName;
    int m_httpPort = 0;
    bool m_stalloUseLanguage = false;
    int m_stalloUserCredentialsPort = 0;
    bool m_languageSwitchingAllowed = false;
    QString m_supportedLanguageDialects;
    QString m_defaultLanguageDialect = QStringLiteral("en_us");
    bool m_userIdInputFilterEnabled = false;
    QString m_userIdInputFilterExceptions;
    bool m_userPinInputFilterEnabled = false;
    QString m_userPinInputFilterExceptions;
};
