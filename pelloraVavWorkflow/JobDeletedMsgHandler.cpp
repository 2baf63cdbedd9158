#include "JobDeletedMsgHandler.h"

#include "CallMessageBox.h"
#include "ClientProcessingDialog.h"
#include "EndOfSessionMsg.h"
#include "Trace.h"

const QString JobDeletedMsgHandler::ClassName = QStringLiteral("JobDeletedMsgHandler");
// The message box translates its caption and text in this context.
const char *const JobDeletedMsgHandler::JobDeletedCaption
    = QT_TRANSLATE_NOOP("CommonDialogMessages", "Job Canceled");
const char *const JobDeletedMsgHandler::JobDeletedMessage
    = QT_TRANSLATE_NOOP("CommonDialogMessages", "The document will be canceled");

JobDeletedMsgHandler::JobDeletedMsgHandler(MessageBoxInterface *messageBox,
    UtilsLib::Observer *observer, ClientProcessingDialog *processingDialog)
    : MessageHandler(observer)
    , m_messageBox(messageBox)
    , m_processingDialog(processingDialog)
{ }

QString JobDeletedMsgHandler::handle(
    const QString & /*source*/, Tessaly::Core::Message * /*message*/)
{
    Trace trace(this, ClassName, "handle");
    // A job deleted while it was processed ends the wait: no later message
    // would take the stay-on-top window down.
    if (m_processingDialog)
        m_processingDialog->hide();
    CallMessageBox box(m_messageBox);
    box->showInfo(QString::fromLatin1(JobDeletedMessage), QString::fromLatin1(JobDeletedCaption));
    return EndOfSessionMsg().getTextForSending();
}

std::unique_ptr<Tessaly::Core::MessageHandler> JobDeletedMsgHandler::clone() const
{
    return std::make_unique<JobDeletedMsgHandler>(*this);
}
