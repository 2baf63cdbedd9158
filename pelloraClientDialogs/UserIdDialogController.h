#pragma once

#include <QString>

class KoaPreferences;
class StalloSessionInfo;
class UserIdDialogModel;
class UserIdDialogView;

// Decides where the patron's identity comes from (an identity file named in
// the preferences, the reservation session, or the dialog) and moves values
// between the dialog and the model. Borrows everything it is given.
class UserIdDialogController
{
public:
    UserIdDialogController(UserIdDialogModel *model, KoaPreferences *preferences,
        StalloSessionInfo *reservationSession, long timeout);
    virtual ~UserIdDialogController() = default;

    UserIdDialogController(const UserIdDialogController &) = delete;
    UserIdDialogController &operator=(const UserIdDialogController &) = delete;

    // Also applies the input filters of the preferences to the view's fields.
    void setView(UserIdDialogView *view);
    UserIdDialogView *view() const { return m_view; }

    // True when an identity was obtained; it is then in the model. Cancel,
    // Escape and the timeout give false and leave the model as it was.
    [[nodiscard]] bool getUserInput();

    bool pinRequired() const;
    bool guestAllowed() const;
    bool maskUserId() const;
    QString getUserId() const;
    QString getPassword() const;
    // Copy the view's field into the model.
    void setUserId();
    void setPassword();

    void setTimeout(long timeout) { m_timeout = timeout; }
    long timeout() const { return m_timeout; }

    // The first line of the identity file, without its line end; empty when
    // the file cannot be read or its first line is blank.
    static QString readExternalUserId(const QString &path);

private:
    long m_timeout;
    UserIdDialogView *m_view = nullptr;
    UserIdDialogModel *m_model;
    KoaPreferences *m_preferences;
    StalloSessionInfo *m_reservationSession;
};
