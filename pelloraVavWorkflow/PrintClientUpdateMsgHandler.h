#pragma once

#include "MessageHandler.h"

#include <QString>

class ClientProcessingDialog;
class KoaPreferences;
class MessageBoxInterface;
class ProcessManagerInterface;

// Acknowledges a current client; tells the user of an outdated one and stops
// it, or offers a temporary client where the preferences allow one.
class PrintClientUpdateMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;
    static const char *const SingleShotPrompt;
    static const char *const FailedToStartDownloader;
    static const char *const OutOfDateError;
    static const char *const MobileUpdating;

    // All borrowed; the message box and the processing dialog may be null.
    PrintClientUpdateMsgHandler(KoaPreferences *preferences, MessageBoxInterface *messageBox,
        ClientProcessingDialog *processingDialog, ProcessManagerInterface *processManager,
        UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

    void setShouldQuitApplication(bool quit) { m_shouldQuitApplication = quit; }

private:
    void offerTemporaryClient(MessageBoxInterface *box, const QString &launcherUrl);

    KoaPreferences *m_preferences;
    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_processingDialog;
    ProcessManagerInterface *m_processManager;
    bool m_shouldQuitApplication = true;
};
