#pragma once

#include "CommonDlgInfo.h"

// Everything that configures one password dialog.
class PasswordDlgInfo : public Tessaly::Qt::CommonDlgInfo
{
public:
    static const char *const PIN_REQUIRED_CAPTION_TEXT;
    static const char *const PASSWORD_REQUIRED_CAPTION_TEXT;
    static const char *const INSTRUCTION_TEXT;
    static const char *const PASSWORD_PROMPT_TEXT;
    static const char *const STAFF_PASSWORD_PROMPT_TEXT;
    static const char *const USER_PIN_PROMPT_TEXT;

    PasswordDlgInfo(const QString &caption, const QString &okBtnText, const QString &cancelBtnText,
        const QString &imgPath, const QString &passwordText);

    QString dialogText() const { return m_dialogText; }
    void setDialogText(const QString &text) { m_dialogText = text; }
    QString passwordText() const { return m_passwordText; }
    void setPasswordText(const QString &text) { m_passwordText = text; }
    QString passwordInput() const { return m_passwordInput; }
    void setPasswordInput(const QString &text) { m_passwordInput = text; }
    QString staffIdText() const { return m_staffIdText; }
    void setStaffIdText(const QString &text) { m_staffIdText = text; }
    QString reasonForOverrideText() const { return m_reasonForOverrideText; }
    void setReasonForOverrideText(const QString &text) { m_reasonForOverrideText = text; }
    QString translationContext() const { return m_translationContext; }
    void setTranslationContext(const QString &context) { m_translationContext = context; }
    QString buttonTranslationContext() const { return m_buttonTranslationContext; }
    void setButtonTranslationContext(const QString &context)
    {
        m_buttonTranslationContext = context;
    }
    bool requireStaffId() const { return m_requireStaffId; }
    void setRequireStaffId(bool required) { m_requireStaffId = required; }
    bool requireReasonForOverride() const { return m_requireReasonForOverride; }
    void setRequireReasonForOverride(bool required) { m_requireReasonForOverride = required; }
    int keypadStyle() const { return m_keypadStyle; }
    void setKeypadStyle(int style) { m_keypadStyle = style; }

    bool hasTranslationContext() const { return !m_translationContext.isEmpty(); }
    bool hasButtonTranslationContext() const { return !m_buttonTranslationContext.isEmpty(); }

private:
    QString m_dialogText;
    QString m_passwordText;
    QString m_passwordInput;
    QString m_staffIdText;
    QString m_reasonForOverrideText;
    QString m_translationContext;
    QString m_buttonTranslationContext;
    bool m_requireStaffId = false;
    bool m_requireReasonForOverride = false;
    int m_keypadStyle = 0;
};
