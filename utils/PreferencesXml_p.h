#pragma once

#include "StringHelpers.h"

#include <QString>

namespace UtilsLib {
namespace PreferencesXml {

// Element content: the five entities, plus CR, which a parser would otherwise
// fold into the following LF.
inline QString escapeText(const QString &text)
{
    QString escaped = StringHelpers::escape(text);
    escaped.replace(QLatin1Char('\r'), QLatin1String("&#13;"));
    return escaped;
}

// Attribute values: a parser turns raw tabs and line ends into blanks.
inline QString escapeAttribute(const QString &text)
{
    QString escaped = escapeText(text);
    escaped.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    escaped.replace(QLatin1Char('\t'), QLatin1String("&#9;"));
    return escaped;
}

} // namespace PreferencesXml
} // namespace UtilsLib
