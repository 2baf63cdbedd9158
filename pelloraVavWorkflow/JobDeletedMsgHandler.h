#pragma once

#include "MessageHandler.h"

class ClientProcessingDialog;
class MessageBoxInterface;

// Tells the patron that the Print Service deleted the job.
class JobDeletedMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;
    static const char *const JobDeletedCaption;
    static const char *const JobDeletedMessage;

    // Both borrowed. Without a message box every call makes a box of its
    // own; the processing window, when given, goes before the notice.
    JobDeletedMsgHandler(MessageBoxInterface *messageBox, UtilsLib::Observer *observer,
        ClientProcessingDialog *processingDialog = nullptr);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

private:
    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_processingDialog;
};
