#pragma once

#include "MessageHandler.h"

class KoaPreferences;
class KoaSessionInfo;
class MessageBoxInterface;

// Asks the patron whether a job the Print Service could not match to a valid
// user may go as a guest job. Borrows everything; without a message box it
// uses a dialog of its own for the call.
class GuestJobReqHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;
    static const char *const GuestPromptCaption;
    static const char *const GuestPromptText;

    GuestJobReqHandler(KoaPreferences *preferences, KoaSessionInfo *sessionInfo,
        MessageBoxInterface *messageBox, UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

private:
    KoaPreferences *m_preferences;
    KoaSessionInfo *m_sessionInfo;
    MessageBoxInterface *m_messageBox;
};
