#include "StringHelpers.h"

namespace UtilsLib {

QString StringHelpers::escape(QString text)
{
    // The ampersand first, or the entities added below would be escaped again.
    text.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    text.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    text.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    text.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    text.replace(QLatin1Char('\''), QLatin1String("&apos;"));
    return text;
}

QString StringHelpers::stripChars(const QString &text, const QString &characters)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!characters.contains(c))
            result.append(c);
    }
    return result;
}

} // namespace UtilsLib
