#include "AuthenticateReqHandler.h"

#include "AuthenticateMsg.h"
#include "AuthenticateReq.h"
#include "CancelJobReq.h"
#include "ClientProcessingDialog.h"
#include "HexEncrypt.h"
#include "KoaPreferences.h"
#include "KoaSessionInfo.h"
#include "PatronIdentification.h"
#include "Trace.h"
#include "UserIdDialogModel.h"

const QString AuthenticateReqHandler::ClassName = QStringLiteral("AuthenticateReqHandler");

AuthenticateReqHandler::AuthenticateReqHandler(KoaPreferences *preferences,
    KoaSessionInfo *sessionInfo, StalloSessionInfo *reservationSession,
    ClientProcessingDialog *processingDialog, long dialogTimeout, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_sessionInfo(sessionInfo)
    , m_reservationSession(reservationSession)
    , m_processingDialog(processingDialog)
    , m_dialogTimeout(dialogTimeout)
{ }

std::unique_ptr<Tessaly::Core::MessageHandler> AuthenticateReqHandler::clone() const
{
    return std::make_unique<AuthenticateReqHandler>(*this);
}

bool AuthenticateReqHandler::requiresPin(long showFlags)
{
    return showFlags != 1 && showFlags != 5;
}

bool AuthenticateReqHandler::guestsAllowed(long showFlags)
{
    return showFlags == 5 || showFlags == 7;
}

QString AuthenticateReqHandler::handle(const QString &, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    auto *request = dynamic_cast<AuthenticateReq *>(message);
    if (!request)
        return QString();

    const bool pinRequired = requiresPin(request->showFlags());
    UserIdDialogModel model(pinRequired, guestsAllowed(request->showFlags()));
    if (m_processingDialog)
        m_processingDialog->hide();

    if (!getUserId(&model))
        return CancelJobReq().getTextForSending();

    AuthenticateMsg answer;
    answer.setUserId(model.userId());
    if (pinRequired)
        answer.setUserPin(UtilsLib::HexEncrypt::encryptData(model.userPassword()));
    if (m_sessionInfo) {
        m_sessionInfo->setUserId(model.userId());
        if (pinRequired)
            m_sessionInfo->setUserPin(model.userPassword());
    }
    return answer.getTextForSending();
}

bool AuthenticateReqHandler::getUserId(UserIdDialogModel *model)
{
    Trace trace(this, ClassName, "getUserId");
    if (m_sessionInfo && !m_sessionInfo->userId().isEmpty()) {
        model->setUserId(m_sessionInfo->userId());
        model->setUserPassword(m_sessionInfo->userPin());
        return true;
    }
    return askPatronForIdentity(
        this, ClassName, model, m_preferences, m_reservationSession, m_dialogTimeout);
}
