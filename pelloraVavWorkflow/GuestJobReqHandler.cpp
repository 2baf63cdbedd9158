#include "GuestJobReqHandler.h"

#include "CallMessageBox.h"
#include "GuestJobMsg.h"
#include "GuestJobReq.h"
#include "KoaPreferences.h"
#include "KoaSessionInfo.h"
#include "Trace.h"

#include <QCoreApplication>

const QString GuestJobReqHandler::ClassName = QStringLiteral("GuestJobReqHandler");
const char *const GuestJobReqHandler::GuestPromptCaption
    = QT_TRANSLATE_NOOP("GuestJobReqHandler", "Job Status Change");
const char *const GuestJobReqHandler::GuestPromptText = QT_TRANSLATE_NOOP("GuestJobReqHandler",
    "Your Identification Information shows you are either an inactive or invalid user. Do you "
    "wish to have your job sent as a GUEST job?");

GuestJobReqHandler::GuestJobReqHandler(KoaPreferences *preferences, KoaSessionInfo *sessionInfo,
    MessageBoxInterface *messageBox, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_sessionInfo(sessionInfo)
    , m_messageBox(messageBox)
{ }

std::unique_ptr<Tessaly::Core::MessageHandler> GuestJobReqHandler::clone() const
{
    return std::make_unique<GuestJobReqHandler>(*this);
}

QString GuestJobReqHandler::handle(const QString &, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    if (!dynamic_cast<GuestJobReq *>(message))
        return QString();

    CallMessageBox box(m_messageBox);
    const bool asGuest
        = box->showQuestion(QCoreApplication::translate("GuestJobReqHandler", GuestPromptText),
            QCoreApplication::translate("GuestJobReqHandler", GuestPromptCaption));

    GuestJobMsg answer;
    answer.setIsGuestJob(asGuest);
    // On a machine of its own the refused patron's session ends here.
    if (!asGuest && m_sessionInfo && m_preferences && m_preferences->getDedicatedMode())
        m_sessionInfo->initialize();
    return answer.getTextForSending();
}
