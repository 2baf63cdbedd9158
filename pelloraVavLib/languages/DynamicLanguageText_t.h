#pragma once

#include <QString>

// The texts a language shows of itself in the language selector, each in
// that language whatever language is in force.
struct DynamicLanguageText_t
{
    QString languageName;
    QString changeLanguageText;
    QString closeLanguageOptionsText;
};
