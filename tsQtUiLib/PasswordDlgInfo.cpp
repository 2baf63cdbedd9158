#include "PasswordDlgInfo.h"

#include <QtGlobal>

const char *const PasswordDlgInfo::PIN_REQUIRED_CAPTION_TEXT
    = QT_TRANSLATE_NOOP("PasswordDialog", "PIN Required");
const char *const PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT
    = QT_TRANSLATE_NOOP("PasswordDialog", "Password Required");
const char *const PasswordDlgInfo::INSTRUCTION_TEXT
    = QT_TRANSLATE_NOOP("PasswordDialog", "Please enter the following information.");
const char *const PasswordDlgInfo::PASSWORD_PROMPT_TEXT
    = QT_TRANSLATE_NOOP("PasswordDialog", "Password");
const char *const PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT
    = QT_TRANSLATE_NOOP("PasswordDialog", "Please enter the staff password.");
const char *const PasswordDlgInfo::USER_PIN_PROMPT_TEXT
    = QT_TRANSLATE_NOOP("PasswordDialog", "Please enter your PIN.");

PasswordDlgInfo::PasswordDlgInfo(const QString &caption, const QString &okBtnText,
    const QString &cancelBtnText, const QString &imgPath, const QString &passwordText)
    : CommonDlgInfo(okBtnText, cancelBtnText, imgPath, caption)
    , m_passwordText(passwordText)
{ }
