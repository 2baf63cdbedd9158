#pragma once

#include "KeypadDialog.h"
#include "PasswordDialogInterface.h"
#include "PasswordDlgInfo.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QTextEdit;

// Asks for a password (staff approval or patron PIN), optionally with a staff
// ID and a reason for the override, optionally with the on-screen keypad.
class PasswordDialog : public KeypadDialog, public PasswordDialogInterface
{
    Q_OBJECT
public:
    static constexpr int MAX_REASON_LENGTH = 253;

    PasswordDialog(QWidget *parent, const PasswordDlgInfo &info, bool imageButtons);

    QString password() override;
    bool getUserInput() override;
    QString staffId() const;
    QString reasonForOverride() const;
    void setLogoPixmap(const QPixmap &pixmap);
    const PasswordDlgInfo &info() const { return m_info; }

    // Key presses in a password dialog also count as activity there (the
    // application's main window); null for none.
    static void setMainWidget(QObject *widget);

public slots:
    void redrawText() override;
    void okBtn();
    void changeOkBtnImage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inputComplete() const;
    QAbstractButton *makeButton(bool imageButtons, const char *name, const QString &imagePath,
        const char *fallback, const QString &disabledPath, const char *disabledFallback);

    PasswordDlgInfo m_info;
    QAbstractButton *m_okButton = nullptr;
    QAbstractButton *m_cancelButton = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
    QLineEdit *m_staffIdEdit = nullptr;
    QTextEdit *m_reasonEdit = nullptr;
    QLabel *m_logoLabel = nullptr;
    QLabel *m_instructionLabel = nullptr;
    QLabel *m_staffIdLabel = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLabel *m_reasonLabel = nullptr;
};
