#pragma once

#include <QString>

// The identity asked for one request: what the Print Service requires, and
// what the patron (or the reservation service) supplied.
class UserIdDialogModel
{
public:
    UserIdDialogModel(bool pinRequired, bool guestAllowed);

    bool pinRequired() const { return m_pinRequired; }
    void setPinRequired(bool required) { m_pinRequired = required; }
    bool guestAllowed() const { return m_guestAllowed; }
    void setGuestAllowed(bool allowed) { m_guestAllowed = allowed; }
    QString userId() const { return m_userId; }
    void setUserId(const QString &userId) { m_userId = userId; }
    // The PIN, in clear.
    QString userPassword() const { return m_userPassword; }
    void setUserPassword(const QString &password) { m_userPassword = password; }

private:
    bool m_pinRequired;
    bool m_guestAllowed;
    QString m_userId;
    QString m_userPassword;
};
