#pragma once

#include "MessageHandler.h"

class ClientProcessingDialog;
class KoaPreferences;
class KoaSessionInfo;
class StalloSessionInfo;

// The Print Service holds the patron's job: counts its pages against the
// reservation session and shows the job's number, expiry and pickup places.
class PrintJobConfirmationMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;

    // Everything is borrowed; the dialog may be null. timeout is kept for
    // the wiring's sake: the confirmation closes after the dialogs' default.
    PrintJobConfirmationMsgHandler(KoaPreferences *preferences, KoaSessionInfo *sessionInfo,
        StalloSessionInfo *stalloSession, ClientProcessingDialog *processingDialog, int timeout,
        UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

    int timeout() const { return m_timeout; }

private:
    KoaPreferences *m_preferences;
    KoaSessionInfo *m_sessionInfo;
    StalloSessionInfo *m_stalloSession;
    ClientProcessingDialog *m_processingDialog;
    int m_timeout;
};
