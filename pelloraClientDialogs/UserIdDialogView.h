#pragma once

#include "TsBaseDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class UserIdDialogController;

// The kiosk dialog that asks the patron for a user ID and, where the site
// requires it, a PIN. The controller decides whether it is shown at all.
class UserIdDialogView : public TsBaseDialog
{
    Q_OBJECT
public:
    static const char *const CAPTION_TEXT;
    static const char *const INSTRUCTION_TEXT;
    static const char *const USER_ID_LABEL_TEXT;
    static const char *const PIN_LABEL_TEXT;
    static const char *const OK_TEXT;
    static const char *const CANCEL_TEXT;
    static const char *const GUEST_MESSAGE_TEXT;
    static constexpr int USER_ID_MAX_LENGTH = 50;
    static constexpr int PIN_MAX_LENGTH = 35;

    UserIdDialogView(QWidget *parent, UserIdDialogController *controller);

    virtual void enableUserIdInputFilter(bool enabled, const QString &exceptions);
    virtual void enableUserPinInputFilter(bool enabled, const QString &exceptions);
    // 1 when the patron accepted, 0 for Cancel, Escape or the timeout.
    virtual int execDialog();

    QString okButtonText() const;
    QString cancelButtonText() const;
    QString instructionalText() const;
    QString userIdLabelText() const;
    // Empty when there is no PIN label or no guest notice.
    QString passwordLabelText() const;
    QString guestMessageText() const;

    QString userId() const;
    // Empty when no PIN is asked for.
    QString password() const;
    // Empty the field.
    void setUserId();
    void setPassword();

public slots:
    void redrawText() override;
    void okBtn();
    void changeOkBtnImage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inputComplete() const;
    void installFilter(QLineEdit *field, bool enabled, const QString &exceptions);

    UserIdDialogController *m_controller;
    QLabel *m_instructionLabel = nullptr;
    QLabel *m_userIdLabel = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLabel *m_guestLabel = nullptr;
    QLineEdit *m_userIdEdit = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QLabel *m_pictureLabel = nullptr;
};
