#pragma once

#include "MessageHandler.h"

class ClientProcessingDialog;
class KoaPreferences;
class KoaSessionInfo;
class StalloSessionInfo;
class UserIdDialogModel;

// Answers the Print Service's request to identify the patron, asking only
// when the session does not know the patron yet. Borrows everything.
class AuthenticateReqHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;

    AuthenticateReqHandler(KoaPreferences *preferences, KoaSessionInfo *sessionInfo,
        StalloSessionInfo *reservationSession, ClientProcessingDialog *processingDialog,
        long dialogTimeout, UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;
    // True when the model holds an identity: the session's, or one obtained
    // through the identification dialog.
    virtual bool getUserId(UserIdDialogModel *model);

    static bool requiresPin(long showFlags);
    static bool guestsAllowed(long showFlags);

private:
    KoaPreferences *m_preferences;
    KoaSessionInfo *m_sessionInfo;
    StalloSessionInfo *m_reservationSession;
    ClientProcessingDialog *m_processingDialog;
    long m_dialogTimeout;
};
