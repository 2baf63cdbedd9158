#pragma once

#include "MessageHandler.h"

class ClientProcessingDialog;
class KoaSessionInfo;
class MessageBoxInterface;

// Takes the Print Service's verdict on an identification: stores the
// balances, or shows the failure and forgets the identity so that the next
// request asks again. Borrows everything; without a message box it uses a
// dialog of its own for the call.
class AuthenticateResultMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;

    AuthenticateResultMsgHandler(KoaSessionInfo *sessionInfo,
        ClientProcessingDialog *processingDialog, MessageBoxInterface *messageBox,
        UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

private:
    KoaSessionInfo *m_sessionInfo;
    ClientProcessingDialog *m_processingDialog;
    MessageBoxInterface *m_messageBox;
};
