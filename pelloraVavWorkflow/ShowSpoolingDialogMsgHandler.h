#pragma once

#include "MessageHandler.h"

class ClientProcessingDialog;

// Puts up the shared processing window while the Print Service spools a job.
class ShowSpoolingDialogMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;

    // The dialog is borrowed and may be null.
    ShowSpoolingDialogMsgHandler(
        ClientProcessingDialog *processingDialog, UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

private:
    ClientProcessingDialog *m_processingDialog;
};
