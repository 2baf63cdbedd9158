#include "KoaMainWindowController.h"

#include "KoaMainWindowInterface.h"
#include "KoaPreferences.h"
#include "PasswordValidator.h"

KoaMainWindowController::KoaMainWindowController(
    KoaMainWindowInterface *window, PasswordValidator *validator, KoaPreferences *preferences)
    : m_window(window)
    , m_validator(validator)
    , m_preferences(preferences)
{
    Q_ASSERT(m_window && m_validator && m_preferences);
    m_window->setController(this);
}

KoaMainWindowController::~KoaMainWindowController()
{
    // The window may outlive its controller during shutdown.
    m_window->setController(nullptr);
}

bool KoaMainWindowController::isOkToClose()
{
    return !isDedicated() || m_validator->validate(m_preferences->getStaffPassword());
}

bool KoaMainWindowController::isDedicated()
{
    return m_preferences->getDedicatedMode();
}
