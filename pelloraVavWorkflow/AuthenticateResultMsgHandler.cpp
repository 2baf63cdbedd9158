#include "AuthenticateResultMsgHandler.h"

#include "AuthenticateResultMsg.h"
#include "CallMessageBox.h"
#include "ClientProcessingDialog.h"
#include "EndOfSessionMsg.h"
#include "KoaAckMsg.h"
#include "KoaConstants.h"
#include "KoaSessionInfo.h"
#include "Trace.h"

const QString AuthenticateResultMsgHandler::ClassName
    = QStringLiteral("AuthenticateResultMsgHandler");

AuthenticateResultMsgHandler::AuthenticateResultMsgHandler(KoaSessionInfo *sessionInfo,
    ClientProcessingDialog *processingDialog, MessageBoxInterface *messageBox,
    UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_sessionInfo(sessionInfo)
    , m_processingDialog(processingDialog)
    , m_messageBox(messageBox)
{ }

std::unique_ptr<Tessaly::Core::MessageHandler> AuthenticateResultMsgHandler::clone() const
{
    return std::make_unique<AuthenticateResultMsgHandler>(*this);
}

QString AuthenticateResultMsgHandler::handle(const QString &, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    auto *verdict = dynamic_cast<AuthenticateResultMsg *>(message);
    if (!verdict)
        return QString();
    if (m_processingDialog)
        m_processingDialog->hide();

    if (verdict->messageSubset() == AuthenticateResultMsg::BALANCES_SUBSET) {
        if (m_sessionInfo) {
            m_sessionInfo->setAllocationBalance(verdict->allocationBalance());
            m_sessionInfo->setMaxAllocationBalance(verdict->maxAllocationBalance());
            m_sessionInfo->setDepositBalance(verdict->depositBalance());
            m_sessionInfo->setMaxDepositBalance(verdict->maxDepositBalance());
            m_sessionInfo->setCreditBalance(verdict->creditBalance());
            m_sessionInfo->setMaxCreditBalance(verdict->maxCreditBalance());
            m_sessionInfo->setIsDepositExpired(verdict->isDepositExpired());
            m_sessionInfo->setIsCreditExpired(verdict->isCreditExpired());
            m_sessionInfo->setLibraryDepositBalance(verdict->libraryDepositBalance());
            m_sessionInfo->setLibraryDepositEnabled(verdict->isLibraryDepositEnabled());
        }
        return verdict->ackRequired() ? KoaAckMsg().getTextForSending() : KoaConstants::NO_RESPONSE;
    }

    CallMessageBox box(m_messageBox);
    box->showError(verdict->messageText(), verdict->messageHeader());
    if (m_sessionInfo)
        m_sessionInfo->clearUserCredentials();
    return verdict->ackRequired() ? KoaAckMsg().getTextForSending()
                                  : EndOfSessionMsg().getTextForSending();
}
