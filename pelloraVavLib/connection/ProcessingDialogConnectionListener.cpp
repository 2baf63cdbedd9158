#include "ProcessingDialogConnectionListener.h"

#include "ClientProcessingDialog.h"

ProcessingDialogConnectionListener::ProcessingDialogConnectionListener(
    ClientProcessingDialog *processingDialog)
    : m_processingDialog(processingDialog)
{ }

void ProcessingDialogConnectionListener::connectionLost()
{
    if (m_processingDialog)
        m_processingDialog->hide();
}
