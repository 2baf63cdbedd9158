#include "JobReceivedMsgHandler.h"

#include "CancelJobReq.h"
#include "ClientProcessingDialog.h"
#include "EnvironmentProvider.h"
#include "JobReceivedMsg.h"
#include "KoaPreferences.h"
#include "KoaSessionInfo.h"
#include "PageCountDialogController.h"
#include "PageCountDialogView.h"
#include "PageCountValidator.h"
#include "PatronIdentification.h"
#include "PrintJobReq.h"
#include "StalloSessionInfo.h"
#include "Trace.h"
#include "UserIdDialogModel.h"

#include <algorithm>
#include <climits>

const QString JobReceivedMsgHandler::ClassName = QStringLiteral("JobReceivedMsgHandler");

namespace {
// The wire carries a long; the limit and the session count pages as int. A
// count that does not fit must not wrap into a small one that passes the limit.
int pagesOf(const JobReceivedMsg &job)
{
    return int(std::clamp(job.pageCount(), long(INT_MIN), long(INT_MAX)));
}
} // namespace

JobReceivedMsgHandler::JobReceivedMsgHandler(KoaPreferences *preferences,
    KoaSessionInfo *sessionInfo, StalloSessionInfo *reservationSession,
    PageCountValidator *validator, ClientProcessingDialog *processingDialog, long dialogTimeout,
    UtilsLib::Observer *observer, EnvironmentProvider *environment)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_sessionInfo(sessionInfo)
    , m_reservationSession(reservationSession)
    , m_validator(validator)
    , m_processingDialog(processingDialog)
    , m_dialogTimeout(dialogTimeout)
    , m_environment(environment)
{ }

std::unique_ptr<Tessaly::Core::MessageHandler> JobReceivedMsgHandler::clone() const
{
    return std::make_unique<JobReceivedMsgHandler>(*this);
}

QString JobReceivedMsgHandler::handle(const QString &, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    auto *job = dynamic_cast<JobReceivedMsg *>(message);
    if (!job) {
        if (m_sessionInfo)
            m_sessionInfo->initialize();
        return QString();
    }

    const int pages = pagesOf(*job);
    PageCountDialogController controller(m_sessionInfo, m_dialogTimeout);
    QString answer;
    bool printing = userAcceptsPageCount(&controller, job)
        && (!m_validator || m_validator->isOkToPrint(pages));
    if (printing) {
        UserIdDialogModel identity(false, false);
        printing = !job->requireUserId() || getUserId(&identity);
    }
    if (printing) {
        PrintJobReq request(m_preferences ? m_preferences->getCurrentLocale() : QString());
        const QString description = m_reservationSession && m_preferences
            ? m_reservationSession->getPcDescription(m_preferences->getStalloUseDescription())
            : QString();
        request.setPcDescription(
            description, m_environment ? m_environment->getMachineName() : QString());
        answer = request.getTextForSending();
        if (m_processingDialog) {
            m_processingDialog->setOverrideText(ClientProcessingDialog::SUBMITTING_JOB_TEXT);
            m_processingDialog->show();
        }
    } else {
        answer = CancelJobReq().getTextForSending();
    }

    if (m_sessionInfo) {
        if (m_preferences && m_preferences->getDedicatedMode())
            m_sessionInfo->initialize();
        m_sessionInfo->setPageCountForPendingPrintJob(pages);
    }
    return answer;
}

bool JobReceivedMsgHandler::userAcceptsPageCount(
    PageCountDialogController *controller, PageCountDialogModel *model)
{
    PageCountDialogView view(nullptr, controller, model);
    return view.execDialog() != 0;
}

bool JobReceivedMsgHandler::getUserId(UserIdDialogModel *model)
{
    Trace trace(this, ClassName, "getUserId");
    if (!m_sessionInfo)
        return false;
    if (!m_sessionInfo->userId().isEmpty()) {
        model->setUserId(m_sessionInfo->userId());
        model->setUserPassword(m_sessionInfo->userPin());
        return true;
    }
    return askPatronForIdentity(
        this, ClassName, model, m_preferences, m_reservationSession, m_dialogTimeout);
}
