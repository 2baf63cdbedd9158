#include "ShowSpoolingDialogMsgHandler.h"

#include "ClientProcessingDialog.h"
#include "KoaAckMsg.h"
#include "Message.h"
#include "ObservableEvent.h"
#include "Trace.h"

const QString ShowSpoolingDialogMsgHandler::ClassName
    = QStringLiteral("ShowSpoolingDialogMsgHandler");

ShowSpoolingDialogMsgHandler::ShowSpoolingDialogMsgHandler(
    ClientProcessingDialog *processingDialog, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_processingDialog(processingDialog)
{ }

QString ShowSpoolingDialogMsgHandler::handle(
    const QString & /*source*/, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    if (message) {
        announceEvent(UtilsLib::ObservableEvent(QStringLiteral("Application"), ClassName,
            QStringLiteral("Handling ShowSpoolingDialogMsg - %1").arg(message->toText()),
            Trace::VerboseCode, QStringLiteral("handle")));
        if (m_processingDialog) {
            m_processingDialog->setOverrideText(ClientProcessingDialog::PROCESSING_JOB_TEXT);
            // Not modal: the answer goes out at once and the window stays
            // until a later message (or a lost connection) takes it down.
            m_processingDialog->show();
            m_processingDialog->raise();
        }
    }
    return KoaAckMsg().getTextForSending();
}

std::unique_ptr<Tessaly::Core::MessageHandler> ShowSpoolingDialogMsgHandler::clone() const
{
    return std::make_unique<ShowSpoolingDialogMsgHandler>(*this);
}
