#include "KeypadDialog.h"

#include "KeyPad.h"

#include <QCloseEvent>

KeypadDialog::KeypadDialog(int keypadStyle, QWidget *parent, int timeoutSeconds,
    bool showLanguageButton, bool showCopyright)
    : TsBaseDialog(
        parent, timeoutSeconds, showLanguageButton, showCopyright, 5, titledWindowFlags())
{
    if (keypadStyle != 0)
        m_keypad = new KeyPad(this, keypadStyle);
}

KeypadDialog::~KeypadDialog() = default;

void KeypadDialog::showTopLevelDomainKeys(bool show)
{
    if (m_keypad)
        m_keypad->showTopLevelDomainKeys(show);
}

int KeypadDialog::dialogHeight() const
{
    return frameGeometry().height();
}

int KeypadDialog::keypadHeight() const
{
    return m_keypad ? m_keypad->frameGeometry().height() : 0;
}

void KeypadDialog::positionKeypad()
{
    if (!m_keypad)
        return;
    m_keypad->adjustSize();
    const QRect desktop = desktopGeometry();
    m_keypad->move(desktop.x() + (desktop.width() - m_keypad->frameGeometry().width()) / 2,
        desktop.y() + desktop.height() - keypadHeight());
}

int KeypadDialog::dialogOffset(const QRect &desktop, int dialogHeight, int keypadHeight)
{
    const int centred = desktop.y() + (desktop.height() - dialogHeight) / 2;
    const int keypadTop = desktop.y() + desktop.height() - keypadHeight;
    if (keypadTop >= centred + dialogHeight)
        return centred;
    // A dialog taller than the room above the keypad stays on the screen.
    return desktop.y() + qMax(0, (keypadTop - desktop.y() - dialogHeight) / 2);
}

int KeypadDialog::calculateDialogOffset() const
{
    return dialogOffset(desktopGeometry(), dialogHeight(), keypadHeight());
}

void KeypadDialog::positionDialog()
{
    if (!m_keypad) {
        TsBaseDialog::positionDialog();
        return;
    }
    positionKeypad();
    fitToDesktop(this);
    const QRect desktop = desktopGeometry();
    move(desktop.x() + (desktop.width() - frameGeometry().width()) / 2, calculateDialogOffset());
}

void KeypadDialog::showEvent(QShowEvent *event)
{
    TsBaseDialog::showEvent(event);
    if (!m_keypad)
        return;
    m_keypad->show();
    // Only a shown window knows its frame: place both again with it.
    positionKeypad();
    move(x(), calculateDialogOffset());
}

void KeypadDialog::hideEvent(QHideEvent *event)
{
    if (m_keypad) {
        m_keypad->hide();
        // What was typed (PINs, the staff password) must not outlive the dialog.
        m_keypad->resetText();
    }
    TsBaseDialog::hideEvent(event);
}

void KeypadDialog::closeEvent(QCloseEvent *event)
{
    if (m_keypad)
        m_keypad->close();
    TsBaseDialog::closeEvent(event);
}
