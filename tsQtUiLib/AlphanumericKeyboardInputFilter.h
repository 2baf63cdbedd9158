#pragma once

#include "KeyboardInputFilter.h"

#include <QString>

// Lets letters (Latin-1 included), digits, blanks and the editing and
// navigation keys through, plus the characters of the exceptions text.
class AlphanumericKeyboardInputFilter : public KeyboardInputFilter
{
public:
    explicit AlphanumericKeyboardInputFilter(const QString &exceptions = QString());

    bool keyIsAllowed(int key) const override;
    bool keyIsAnException(int key) const;

private:
    QString m_exceptions;
};
