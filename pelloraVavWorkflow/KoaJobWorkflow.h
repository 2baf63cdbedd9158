#pragma once

#include <memory>
#include <vector>

class ClientProcessingDialog;
class EnvironmentProvider;
class KoaConnection;
class KoaMessageDispatcher;
class KoaPageCountValidator;
class KoaPasswordDialog;
class KoaPasswordValidator;
class KoaPreferences;
class KoaSessionInfo;
class LanguageChangerInterface;
class PasswordDlgInfo;
class PasswordValidator;
class PrintClientMessager;
class PrintClientTranslatorInterface;
class ProcessManagerInterface;
class ProcessingDialogConnectionListener;
class SettingsMsgHandler;
class SharedPrinterMappingsInterface;
class StalloSessionRegistry;
class TsHttpInterface;

namespace Tessaly::Core {
class Message;
}
namespace UtilsLib {
class Observer;
}

// The dialogue of a print job: the reservation registry, the staff password
// set, the dispatcher, the shared "Please Wait..." window, the session state,
// the ten messages with their handlers, and the listener that answers every
// text of the connection through them. Members are declared in the order they
// are built, so each outlives what borrows it.
class KoaJobWorkflow
{
public:
    // All borrowed; the messager must outlive the workflow.
    KoaJobWorkflow(KoaPreferences *preferences, SharedPrinterMappingsInterface *mappings,
        PrintClientTranslatorInterface *translator, bool explicitLanguage,
        EnvironmentProvider *environment, ProcessManagerInterface *processManager,
        PrintClientMessager *messager, UtilsLib::Observer *observer);
    ~KoaJobWorkflow();

    KoaJobWorkflow(const KoaJobWorkflow &) = delete;
    KoaJobWorkflow &operator=(const KoaJobWorkflow &) = delete;

    KoaMessageDispatcher *dispatcher() const { return m_dispatcher.get(); }
    PasswordValidator *passwordValidator() const;
    // The language changer exists only once the default translations are in.
    void setLanguageChanger(LanguageChangerInterface *changer);

private:
    void addMessage(std::unique_ptr<Tessaly::Core::Message> message);

    std::unique_ptr<TsHttpInterface> m_registryHttp;
    std::unique_ptr<StalloSessionRegistry> m_registry;
    std::unique_ptr<PasswordDlgInfo> m_passwordInfo;
    std::unique_ptr<KoaPasswordDialog> m_passwordDialog;
    std::unique_ptr<KoaPasswordValidator> m_passwordValidator;
    std::unique_ptr<KoaPageCountValidator> m_pageCountValidator;
    std::unique_ptr<KoaMessageDispatcher> m_dispatcher;
    std::unique_ptr<ClientProcessingDialog> m_processingDialog;
    std::unique_ptr<KoaSessionInfo> m_sessionInfo;
    std::vector<std::unique_ptr<Tessaly::Core::Message>> m_messages;
    SettingsMsgHandler *m_settingsHandler = nullptr;
    std::unique_ptr<ProcessingDialogConnectionListener> m_processingListener;
    std::unique_ptr<KoaConnection> m_connection;
};
