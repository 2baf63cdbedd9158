#include "PageCountDialogController.h"

#include "KoaSessionInfo.h"

PageCountDialogController::PageCountDialogController(KoaSessionInfo *session, long timeout)
    : m_session(session)
    , m_timeout(timeout)
{ }

bool PageCountDialogController::showAccountInfoButton() const
{
    return m_session && m_session->hasAccountInfo();
}
