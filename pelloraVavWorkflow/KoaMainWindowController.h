#pragma once

#include "KoaMainWindowControllerInterface.h"

class KoaMainWindowInterface;
class KoaPreferences;
class PasswordValidator;

// On a dedicated computer only staff may stop the client: the staff password,
// when the site set one, guards the main window's stop.
class KoaMainWindowController : public KoaMainWindowControllerInterface
{
public:
    // All three borrowed; registers itself with the window.
    KoaMainWindowController(
        KoaMainWindowInterface *window, PasswordValidator *validator, KoaPreferences *preferences);
    ~KoaMainWindowController() override;

    bool isOkToClose() override;
    bool isDedicated() override;

private:
    KoaMainWindowInterface *m_window;
    PasswordValidator *m_validator;
    KoaPreferences *m_preferences;
};
