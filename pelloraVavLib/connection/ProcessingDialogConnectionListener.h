#pragma once

#include "ConnectionListenerInterface.h"

class ClientProcessingDialog;

// Takes the shared "Please Wait..." window down when the connection to the
// Print Service is lost: the message that would have hidden it can no
// longer come, and the stay-on-top window would cover the patron's screen.
class ProcessingDialogConnectionListener : public ConnectionListenerInterface
{
public:
    // Borrowed; may be null.
    explicit ProcessingDialogConnectionListener(ClientProcessingDialog *processingDialog);

    void connectionEstablished() override { }
    void connectionLost() override;

private:
    ClientProcessingDialog *m_processingDialog;
};
