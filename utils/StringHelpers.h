#pragma once

#include <QString>

namespace UtilsLib {

class StringHelpers
{
public:
    static QString escape(QString text);
    static QString stripChars(const QString &text, const QString &characters);
};

} // namespace UtilsLib
