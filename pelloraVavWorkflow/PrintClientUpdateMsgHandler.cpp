#include "PrintClientUpdateMsgHandler.h"

#include "CallMessageBox.h"
#include "ClientProcessingDialog.h"
#include "EndOfSessionMsg.h"
#include "KoaAckMsg.h"
#include "KoaPreferences.h"
#include "PrintClientUpdateMsg.h"
#include "ProcessManagerInterface.h"
#include "Trace.h"
#include "VersionInfoInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

const QString PrintClientUpdateMsgHandler::ClassName
    = QStringLiteral("PrintClientUpdateMsgHandler");
const char *const PrintClientUpdateMsgHandler::SingleShotPrompt
    = "This Print Client is out of date and needs to be upgraded by a staff member.\n\n"
      "Would you like to download and run a temporary client?";
const char *const PrintClientUpdateMsgHandler::FailedToStartDownloader
    = "Failed to download temporary client.\n\nPlease contact staff for assistance.";
const char *const PrintClientUpdateMsgHandler::OutOfDateError
    = "This Print Client is out of date. You will be unable to print until it is updated.\n\n"
      "Please contact staff for assistance.";
const char *const PrintClientUpdateMsgHandler::MobileUpdating
    = "This Print Client is out of date and needs to be upgraded.\n\n"
      "Please download the latest Print Client.";

namespace {
const QString ErrorCaption = QStringLiteral("Error");
} // namespace

PrintClientUpdateMsgHandler::PrintClientUpdateMsgHandler(KoaPreferences *preferences,
    MessageBoxInterface *messageBox, ClientProcessingDialog *processingDialog,
    ProcessManagerInterface *processManager, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_messageBox(messageBox)
    , m_processingDialog(processingDialog)
    , m_processManager(processManager)
{ }

QString PrintClientUpdateMsgHandler::handle(
    const QString & /*source*/, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    auto *update = dynamic_cast<PrintClientUpdateMsg *>(message);
    if (!update || !versionInfo || !versionInfo->isCurrentVersionBefore(update->getVersion()))
        return KoaAckMsg().getTextForSending();

    if (m_processingDialog)
        m_processingDialog->hide();
    CallMessageBox box(m_messageBox);

    if (!m_preferences || !m_preferences->isTemporaryClientAllowed()) {
        box->showError(QString::fromLatin1(MobileUpdating), ErrorCaption);
        // Queued: the end-of-session answer goes out before the loop ends.
        if (m_shouldQuitApplication)
            QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    } else if (update->getLauncherUrl().isEmpty()) {
        box->showError(QString::fromLatin1(OutOfDateError), ErrorCaption);
    } else {
        offerTemporaryClient(&*box, update->getLauncherUrl());
    }
    return EndOfSessionMsg().getTextForSending();
}

void PrintClientUpdateMsgHandler::offerTemporaryClient(
    MessageBoxInterface *box, const QString &launcherUrl)
{
    if (!box->showQuestion(QString::fromLatin1(SingleShotPrompt), QStringLiteral("Question")))
        return;
    const QStringList command {QStringLiteral("%1/pelloraClientDownloader.exe")
                                   .arg(QCoreApplication::applicationDirPath()),
        launcherUrl, QStringLiteral("%1/clientLauncher.exe").arg(QDir::homePath())};
    // An argument list, never a shell line: the location comes from the network.
    if (!m_processManager || !m_processManager->startProcess(command))
        box->showError(QString::fromLatin1(FailedToStartDownloader), ErrorCaption);
}

std::unique_ptr<Tessaly::Core::MessageHandler> PrintClientUpdateMsgHandler::clone() const
{
    auto copy = std::make_unique<PrintClientUpdateMsgHandler>(
        m_preferences, m_messageBox, m_processingDialog, m_processManager, nullptr);
    copy->m_shouldQuitApplication = m_shouldQuitApplication;
    copyObservers(*copy);
    return copy;
}
