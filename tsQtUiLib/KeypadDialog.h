#pragma once

#include "TsBaseDialog.h"

class KeyPad;

// A kiosk dialog with an on-screen keypad at the bottom of the screen; the
// dialog moves up out of the keypad's way.
class KeypadDialog : public TsBaseDialog
{
    Q_OBJECT
public:
    // style 0: no keypad; 1: full keyboard; anything else: numeric pad.
    KeypadDialog(int keypadStyle, QWidget *parent, int timeoutSeconds, bool showLanguageButton,
        bool showCopyright = true);
    ~KeypadDialog() override;

    KeyPad *keypad() const { return m_keypad; }
    void showTopLevelDomainKeys(bool show);
    int dialogHeight() const;
    int keypadHeight() const;
    void positionKeypad();
    int calculateDialogOffset() const;

    // The dialog's y on a desktop: centred, or centred in the room above the
    // keypad when centring would overlap it; never above the desktop.
    static int dialogOffset(const QRect &desktop, int dialogHeight, int keypadHeight);

public slots:
    void positionDialog() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    KeyPad *m_keypad = nullptr;
};
