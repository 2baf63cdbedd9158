#pragma once

#include "KoaPreferences.h"
#include "StalloSessionInfo.h"

// Preferences and a reservation session held in plain members, for tests
// that link the client's library.
class FakePreferences : public KoaPreferences
{
public:
    bool getDedicatedMode() const override { return dedicated; }
    void saveIfDedicated() override { }
    bool isTemporaryClientAllowed() const override { return temporaryClientAllowed; }
    QString getStaffPassword() const override { return staffPassword; }
    void setStaffPassword(const QString &password) override { staffPassword = password; }
    bool getStalloIntegration() const override { return stalloIntegration; }
    void setStalloIntegration(bool enabled) override { stalloIntegration = enabled; }
    int getStalloPageLimit() const override { return pageLimit; }
    void setStalloPageLimit(int limit) override { pageLimit = limit; }
    bool getStalloAllowOverride() const override { return allowOverride; }
    void setStalloAllowOverride(bool allowed) override { allowOverride = allowed; }
    bool getStalloId() const override { return stalloId; }
    void setStalloId(bool enabled) override { stalloId = enabled; }
    bool getMaskUserId() const override { return maskUserId; }
    void setMaskUserId(bool masked) override { maskUserId = masked; }
    bool getStalloUseDescription() const override { return useDescription; }
    void setStalloUseDescription(bool enabled) override { useDescription = enabled; }
    QString getThirdPartyUserInfoPath() const override { return identityFile; }
    void setThirdPartyUserInfoPath(const QString &path) override { identityFile = path; }
    bool getStalloUseLanguage() const override { return false; }
    void setStalloUseLanguage(bool) override { }
    int getStalloUserCredentialsPort() const override { return 0; }
    void setStalloUserCredentialsPort(int) override { }

    bool dedicated = false;
    bool temporaryClientAllowed = false;
    QString staffPassword;
    int pageLimit = 0;
    bool allowOverride = false;
    bool stalloIntegration = false;
    bool stalloId = false;
    bool maskUserId = false;
    bool useDescription = false;
    QString identityFile;
};

class FakeReservationSession : public StalloSessionInfo
{
public:
    int getPagesPrinted() override { return pagesPrinted; }
    bool getInSession() override { return inSession; }
    QString getUserId() override { return userId; }
    QString getUserPin() override { return userPin; }
    // As the registry: nothing unless the description is asked for.
    QString getPcDescription(bool enabled) override { return enabled ? pcDescription : QString(); }
    void incrementPagesPrinted(int pages) override { pagesPrinted += pages; }

    int pagesPrinted = 0;
    bool inSession = false;
    QString userId;
    QString userPin;
    QString pcDescription;
};
