#include "PrintJobConfirmationMsgHandler.h"

#include "ClientProcessingDialog.h"
#include "EndOfSessionMsg.h"
#include "JobConfirmationDialogController.h"
#include "JobConfirmationDialogModel.h"
#include "JobConfirmationDialogView.h"
#include "KoaPreferences.h"
#include "KoaSessionInfo.h"
#include "ObservableEvent.h"
#include "PrintJobConfirmationMsg.h"
#include "StalloSessionInfo.h"
#include "Trace.h"

const QString PrintJobConfirmationMsgHandler::ClassName
    = QStringLiteral("PrintJobConfirmationMsgHandler");

PrintJobConfirmationMsgHandler::PrintJobConfirmationMsgHandler(KoaPreferences *preferences,
    KoaSessionInfo *sessionInfo, StalloSessionInfo *stalloSession,
    ClientProcessingDialog *processingDialog, int timeout, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_sessionInfo(sessionInfo)
    , m_stalloSession(stalloSession)
    , m_processingDialog(processingDialog)
    , m_timeout(timeout)
{ }

QString PrintJobConfirmationMsgHandler::handle(
    const QString & /*source*/, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    if (auto *confirmation = dynamic_cast<PrintJobConfirmationMsg *>(message)) {
        announceEvent(UtilsLib::ObservableEvent(QStringLiteral("Application"), ClassName,
            QStringLiteral("Handling PrintJobConfirmationMsg - %1").arg(confirmation->toText()),
            Trace::VerboseCode, QStringLiteral("handle")));

        // The reservation service is asked only when the site uses it.
        if (m_preferences && m_preferences->getStalloIntegration() && m_stalloSession
            && m_stalloSession->getInSession() && m_sessionInfo) {
            m_stalloSession->incrementPagesPrinted(m_sessionInfo->pageCountForPendingPrintJob());
        }
        if (m_processingDialog)
            m_processingDialog->hide();

        if (confirmation->showDialog()) {
            JobConfirmationDialogModel model;
            model.setJobNumber(confirmation->jobNumber());
            model.setPickupLocations(confirmation->pickupLocations());
            model.setExpireTime(confirmation->expireTime());
            JobConfirmationDialogView view(nullptr);
            JobConfirmationDialogController controller(&model, &view, 0);
            controller.showDialog();
        }
    }
    return EndOfSessionMsg().getTextForSending();
}

std::unique_ptr<Tessaly::Core::MessageHandler> PrintJobConfirmationMsgHandler::clone() const
{
    return std::make_unique<PrintJobConfirmationMsgHandler>(*this);
}
