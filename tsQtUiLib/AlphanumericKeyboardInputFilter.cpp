#include "AlphanumericKeyboardInputFilter.h"

#include <Qt>

AlphanumericKeyboardInputFilter::AlphanumericKeyboardInputFilter(const QString &exceptions)
    : m_exceptions(exceptions)
{ }

bool AlphanumericKeyboardInputFilter::keyIsAnException(int key) const
{
    return key >= 0 && key < 256 && m_exceptions.contains(QChar(key));
}

bool AlphanumericKeyboardInputFilter::keyIsAllowed(int key) const
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || key == ' ' || key == 160
        || (key >= 192 && key <= 255))
        return true;
    // Escape, Tab, Backspace, Return, the arrows, the modifiers and the lock
    // keys: Qt::Key_Escape up to Qt::Key_ScrollLock.
    if (key >= Qt::Key_Escape && key <= Qt::Key_ScrollLock)
        return true;
    return keyIsAnException(key);
}
