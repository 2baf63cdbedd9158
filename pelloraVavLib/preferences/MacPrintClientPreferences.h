#pragma once

#include "KoaPreferences.h"
#include "Observable.h"

#include <QString>

// The client's settings on this platform: dedicated mode comes from the
// configuration file beside the executable, the staff password survives a
// restart in the user's session.dat on a dedicated machine.
class MacPrintClientPreferences : public UtilsLib::Observable, public KoaPreferences
{
public:
    static const QString ClassName;
    static const QString DEDICATED_MODE;
    static const QString CONFIG_FILE;
    static const QString DEFAULT_STAFF_PASSWORD;

    MacPrintClientPreferences();
    ~MacPrintClientPreferences() override;

    // The folder that holds CONFIG_FILE; empty (the default) means the
    // application's own folder.
    void setConfigDir(const QString &directory);
    QString getConfigFileName() const;

    bool getDedicatedMode() const override;
    // Failures are silent: the password in memory stays current.
    void saveIfDedicated() override;
    // Replaces the staff password by the stored one; false when there is none.
    bool loadFromFile();

    QString getDatDirName() const;
    QString getDatFileName() const;
    bool createDatDir() const;

    bool isTemporaryClientAllowed() const override;
    QString getStaffPassword() const override;
    void setStaffPassword(const QString &password) override;
    bool getStalloIntegration() const override;
    void setStalloIntegration(bool enabled) override;
    int getStalloPageLimit() const override;
    void setStalloPageLimit(int limit) override;
    bool getStalloAllowOverride() const override;
    void setStalloAllowOverride(bool allowed) override;
    bool getStalloId() const override;
    void setStalloId(bool enabled) override;
    bool getMaskUserId() const override;
    void setMaskUserId(bool masked) override;
    bool getStalloUseDescription() const override;
    void setStalloUseDescription(bool enabled) override;
    QString getThirdPartyUserInfoPath() const override;
    void setThirdPartyUserInfoPath(const QString &path) override;
    bool getStalloUseLanguage() const override;
    void setStalloUseLanguage(bool enabled) override;
    int getStalloUserCredentialsPort() const override;
    void setStalloUserCredentialsPort(int port) override;

private:
    QString m_staffPassword;
    bool m_maskUserId = false;
    bool m_stalloIntegration = false;
    bool m_stalloId = false;
    QString m_configDir;
};
