#include "AlphanumericKeyboardInputFilter.h"

AlphanumericKeyboardInputFilter::AlphanumericKeyboardInputFilter(const QString &exceptions)
    : m_exceptions(exceptions)
{
}

bool AlphanumericKeyboardInputFilter::keyIsAnException(unsigned short key) const
{
    return key < 256 && m_exceptions.contains(QChar(key));
}

bool AlphanumericKeyboardInputFilter::keyIsAllowed(unsigned short key) const
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || key == ' ' || key == 160
        || (key >= 192 && key <= 255))
        return true;
    // Escape, Tab, Backspace, Return, the arrows, the modifiers and the like.
    if (key >= 0x1000 && key <= 0x1026)
        return true;
    return keyIsAnException(key);
}
