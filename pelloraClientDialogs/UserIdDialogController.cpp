#include "UserIdDialogController.h"

#include "KoaPreferences.h"
#include "StalloSessionInfo.h"
#include "UserIdDialogModel.h"
#include "UserIdDialogView.h"

#include <QFile>

UserIdDialogController::UserIdDialogController(UserIdDialogModel *model,
    KoaPreferences *preferences, StalloSessionInfo *reservationSession, long timeout)
    : m_timeout(timeout)
    , m_model(model)
    , m_preferences(preferences)
    , m_reservationSession(reservationSession)
{ }

void UserIdDialogController::setView(UserIdDialogView *view)
{
    m_view = view;
    if (!m_view || !m_preferences)
        return;
    m_view->enableUserIdInputFilter(m_preferences->isUserIdInputFilterEnabled(),
        m_preferences->getUserIdInputFilterExceptions());
    m_view->enableUserPinInputFilter(m_preferences->isUserPinInputFilterEnabled(),
        m_preferences->getUserPinInputFilterExceptions());
}

QString UserIdDialogController::readExternalUserId(const QString &path)
{
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QString line = QString::fromUtf8(file.readLine());
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    // A line of blanks names nobody, as a blank entry in the dialog does.
    return line.trimmed().isEmpty() ? QString() : line;
}

bool UserIdDialogController::getUserInput()
{
    if (!m_model)
        return false;
    // The reservation service is asked only when its answer is used: each
    // question is a request to its local web service.
    const auto sessionPin = [this] {
        return m_reservationSession ? m_reservationSession->getUserPin() : QString();
    };
    if (m_preferences) {
        const QString externalId = readExternalUserId(m_preferences->getThirdPartyUserInfoPath());
        if (!externalId.isEmpty()) {
            m_model->setUserId(externalId);
            m_model->setUserPassword(sessionPin());
            return true;
        }
        if (m_reservationSession && m_preferences->getStalloIntegration()
            && m_reservationSession->getInSession() && m_preferences->getStalloId()) {
            m_model->setUserId(m_reservationSession->getUserId());
            m_model->setUserPassword(sessionPin());
            return true;
        }
    }
    return m_view && m_view->execDialog() == 1;
}

bool UserIdDialogController::pinRequired() const
{
    return m_model && m_model->pinRequired();
}

bool UserIdDialogController::guestAllowed() const
{
    return m_model && m_model->guestAllowed();
}

bool UserIdDialogController::maskUserId() const
{
    return m_preferences && m_preferences->getMaskUserId();
}

QString UserIdDialogController::getUserId() const
{
    return m_view ? m_view->userId() : QString();
}

QString UserIdDialogController::getPassword() const
{
    return m_view ? m_view->password() : QString();
}

void UserIdDialogController::setUserId()
{
    if (m_model)
        m_model->setUserId(getUserId());
}

void UserIdDialogController::setPassword()
{
    if (m_model)
        m_model->setUserPassword(getPassword());
}
