#include "KoaPageCountValidator.h"

#include "CallMessageBox.h"
#include "KoaPreferences.h"
#include "PasswordValidator.h"
#include "StalloSessionInfo.h"

#include <QCoreApplication>

#include <memory>

namespace {
const char *const CONTEXT = "KoaPageCountValidator";

QString tr(const char *text)
{
    return QCoreApplication::translate(CONTEXT, text);
}
} // namespace

const char *const KoaPageCountValidator::LIMIT_EXCEEDED_TEXT
    = QT_TRANSLATE_NOOP("KoaPageCountValidator",
        "The printing of your document is being cancelled because you have reached the maximum "
        "pages allowed per session.\nPlease contact a staff member for details.");
const char *const KoaPageCountValidator::OVERRIDE_REQUIRED_TEXT
    = QT_TRANSLATE_NOOP("KoaPageCountValidator",
        "The printing of your document will take you over the maximum pages allowed per "
        "session.\nYou will need approval from a staff member to carry out this operation.");
const char *const KoaPageCountValidator::WARNING_CAPTION
    = QT_TRANSLATE_NOOP("KoaPageCountValidator", "Warning");
const char *const KoaPageCountValidator::ERROR_CAPTION
    = QT_TRANSLATE_NOOP("KoaPageCountValidator", "Error");

KoaPageCountValidator::KoaPageCountValidator(KoaPreferences *preferences,
    StalloSessionInfo *session, PasswordValidator *passwordValidator,
    MessageBoxInterface *messageBox)
    : m_preferences(preferences)
    , m_session(session)
    , m_passwordValidator(passwordValidator)
    , m_messageBox(messageBox)
{
    Q_ASSERT(m_preferences && m_session && m_passwordValidator);
}

bool KoaPageCountValidator::isOkToPrint(int pageCount)
{
    const CallMessageBox box(m_messageBox);
    return check(pageCount, *box);
}

bool KoaPageCountValidator::check(int pageCount, MessageBoxInterface &messageBox)
{
    if (!m_preferences->getStalloIntegration() || !m_session->getInSession())
        return true;
    const int limit = m_preferences->getStalloPageLimit();
    if (limit == 0)
        return true;
    // In 64 bits: a huge job or count must not overflow into one under the limit.
    const qint64 printed = m_session->getPagesPrinted();
    if (qint64(pageCount) + printed <= limit)
        return true;

    if (m_preferences->getStalloAllowOverride()) {
        messageBox.showWarning(tr(OVERRIDE_REQUIRED_TEXT), tr(WARNING_CAPTION));
        if (m_passwordValidator->validate(m_preferences->getStaffPassword()))
            return true;
    }
    messageBox.showError(tr(LIMIT_EXCEEDED_TEXT), tr(ERROR_CAPTION));
    return false;
}
