#pragma once

#include "PageCountValidator.h"

class KoaPreferences;
class MessageBoxInterface;
class PasswordValidator;
class StalloSessionInfo;

// The page limit of a reservation session, with the staff override where the
// site allows one.
class KoaPageCountValidator : public PageCountValidator
{
public:
    static const char *const LIMIT_EXCEEDED_TEXT;
    static const char *const OVERRIDE_REQUIRED_TEXT;
    static const char *const WARNING_CAPTION;
    static const char *const ERROR_CAPTION;

    // messageBox may be null: each check then brings its own message box.
    KoaPageCountValidator(KoaPreferences *preferences, StalloSessionInfo *session,
        PasswordValidator *passwordValidator, MessageBoxInterface *messageBox);

    bool isOkToPrint(int pageCount) override;

private:
    bool check(int pageCount, MessageBoxInterface &messageBox);

    KoaPreferences *m_preferences;
    StalloSessionInfo *m_session;
    PasswordValidator *m_passwordValidator;
    MessageBoxInterface *m_messageBox;
};
