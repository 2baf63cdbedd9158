#include "KoaJobWorkflow.h"

#include "AuthenticateReq.h"
#include "AuthenticateReqHandler.h"
#include "AuthenticateResultMsg.h"
#include "AuthenticateResultMsgHandler.h"
#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "GuestJobReq.h"
#include "GuestJobReqHandler.h"
#include "JobDeletedMsg.h"
#include "JobDeletedMsgHandler.h"
#include "JobReceivedMsg.h"
#include "JobReceivedMsgHandler.h"
#include "KoaConnection.h"
#include "KoaMessageDispatcher.h"
#include "KoaPageCountValidator.h"
#include "KoaPasswordDialog.h"
#include "KoaPasswordValidator.h"
#include "KoaSessionInfo.h"
#include "PasswordDlgInfo.h"
#include "PrintClientMessager.h"
#include "PrintClientUpdateMsg.h"
#include "PrintClientUpdateMsgHandler.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobConfirmationMsgHandler.h"
#include "ProcessingDialogConnectionListener.h"
#include "SettingsMsg.h"
#include "SettingsMsgHandler.h"
#include "ShowSpoolingDialogMsg.h"
#include "ShowSpoolingDialogMsgHandler.h"
#include "StalloSessionRegistry.h"
#include "TsBaseDialog.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"

namespace {
constexpr int DIALOG_TIMEOUT_SECONDS = 45;
constexpr int STALLO_SERVICE_PORT = 4567;
} // namespace

KoaJobWorkflow::KoaJobWorkflow(KoaPreferences *preferences,
    SharedPrinterMappingsInterface *mappings, PrintClientTranslatorInterface *translator,
    bool explicitLanguage, EnvironmentProvider *environment,
    ProcessManagerInterface *processManager, PrintClientMessager *messager,
    UtilsLib::Observer *observer)
    : m_registryHttp(TsHttpFactory().createHttpInstance())
    , m_registry(std::make_unique<StalloSessionRegistry>(
          m_registryHttp.get(), observer, STALLO_SERVICE_PORT, nullptr))
    , m_passwordInfo(
          std::make_unique<PasswordDlgInfo>(QString(), QString(), QString(), QString(), QString()))
{
    StalloSessionRegistry *registry = m_registry.get();
    m_passwordInfo->setCaptionText(
        QString::fromLatin1(PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT));
    m_passwordInfo->setDialogText(QString::fromLatin1(PasswordDlgInfo::INSTRUCTION_TEXT));
    m_passwordInfo->setPasswordText(
        QString::fromLatin1(PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT));
    m_passwordDialog = std::make_unique<KoaPasswordDialog>(nullptr, *m_passwordInfo);
    // One password validator for the page limit's staff override and every
    // other staff check.
    m_passwordValidator = std::make_unique<KoaPasswordValidator>(m_passwordDialog.get());
    m_pageCountValidator = std::make_unique<KoaPageCountValidator>(
        preferences, registry, m_passwordValidator.get(), nullptr);

    m_dispatcher = std::make_unique<KoaMessageDispatcher>(observer);
    m_processingDialog
        = std::make_unique<ClientProcessingDialog>(nullptr, -1, TsBaseDialog::titledWindowFlags());
    // Its texts are read once, in the language of the translators installed
    // by now.
    ClientProcessingDialog::translateTexts();
    m_processingDialog->clearOverrideText();
    m_sessionInfo = std::make_unique<KoaSessionInfo>();

    // Without a message box a handler uses a box of its own.
    KoaSessionInfo *session = m_sessionInfo.get();
    ClientProcessingDialog *processing = m_processingDialog.get();
    addMessage(std::make_unique<JobReceivedMsg>(
        std::make_unique<JobReceivedMsgHandler>(preferences, session, registry,
            m_pageCountValidator.get(), processing, DIALOG_TIMEOUT_SECONDS, nullptr, environment)));
    addMessage(
        std::make_unique<PrintJobConfirmationMsg>(std::make_unique<PrintJobConfirmationMsgHandler>(
            preferences, session, registry, processing, DIALOG_TIMEOUT_SECONDS, nullptr)));
    addMessage(std::make_unique<JobDeletedMsg>(
        std::make_unique<JobDeletedMsgHandler>(nullptr, nullptr, processing)));
    addMessage(std::make_unique<AuthenticateReq>(std::make_unique<AuthenticateReqHandler>(
        preferences, session, registry, processing, DIALOG_TIMEOUT_SECONDS, nullptr)));
    addMessage(std::make_unique<AuthenticateResultMsg>(
        std::make_unique<AuthenticateResultMsgHandler>(session, processing, nullptr, nullptr)));
    addMessage(std::make_unique<GuestJobReq>(
        std::make_unique<GuestJobReqHandler>(preferences, session, nullptr, nullptr)));
    auto settings = std::make_unique<SettingsMsgHandler>(
        preferences, registry, mappings, translator, explicitLanguage, observer);
    m_settingsHandler = settings.get();
    addMessage(std::make_unique<SettingsMsg>(std::move(settings)));
    addMessage(std::make_unique<ShowSpoolingDialogMsg>(
        std::make_unique<ShowSpoolingDialogMsgHandler>(processing, nullptr)));
    addMessage(std::make_unique<AutoReleaseMsg>(
        std::make_unique<AutoReleaseMsgHandler>(nullptr, processing)));
    // Stops an outdated client once its answer is sent.
    addMessage(std::make_unique<PrintClientUpdateMsg>(std::make_unique<PrintClientUpdateMsgHandler>(
        preferences, nullptr, processing, processManager, observer)));

    // Without a connection no later text can take the wait window down.
    m_processingListener = std::make_unique<ProcessingDialogConnectionListener>(processing);
    messager->addConnectionListener(m_processingListener.get());
    m_connection = std::make_unique<KoaConnection>(m_dispatcher.get(), messager, observer);
    messager->setMessageListener(m_connection.get());
}

KoaJobWorkflow::~KoaJobWorkflow() = default;

PasswordValidator *KoaJobWorkflow::passwordValidator() const
{
    return m_passwordValidator.get();
}

void KoaJobWorkflow::setLanguageChanger(LanguageChangerInterface *changer)
{
    m_settingsHandler->setLanguageChanger(changer);
}

void KoaJobWorkflow::addMessage(std::unique_ptr<Tessaly::Core::Message> message)
{
    m_dispatcher->registerMessage(message->messageId(), message.get());
    m_messages.push_back(std::move(message));
}
