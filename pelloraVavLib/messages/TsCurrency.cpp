#include "TsCurrency.h"

#include <QLocale>

#include <cmath>
#include <limits>

unsigned long TsCurrency::m_localeId = 0;

TsCurrency::TsCurrency(bool useCurrency)
    : m_useCurrency(useCurrency)
{ }

long TsCurrency::dollarsToCents(double dollars)
{
    if (std::isnan(dollars))
        return 0;
    const double cents = (dollars >= 0 ? dollars + 0.005 : dollars - 0.005) * 100.0;
    // Converting an out-of-range double to an integer is undefined; clamp first.
    constexpr double limit = 9.2e18;
    if (cents >= limit)
        return std::numeric_limits<long>::max();
    if (cents <= -limit)
        return std::numeric_limits<long>::min();
    return static_cast<long>(cents);
}

long TsCurrency::dollarsToCents(const QString &dollars)
{
    QString number;
    number.reserve(dollars.size());
    for (const QChar c : dollars) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.')
            || c == QLatin1Char('-'))
            number += c;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? dollarsToCents(value) : 0;
}

namespace {
// The named references the Print Service's amounts use.
constexpr struct
{
    const char *name;
    char32_t code;
} NamedReferences[] = {{"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''},
    {"nbsp", U'\u00a0'}, {"cent", U'\u00a2'}, {"pound", U'\u00a3'}, {"yen", U'\u00a5'},
    {"euro", U'\u20ac'}};

// The longest reference read: "&#x10FFFF;" and "&#1114111;" fit.
constexpr qsizetype MaxReferenceLength = 10;

// Characters an amount never holds: controls, and format characters such as
// the bidirectional overrides and marks, which would show the digits in
// another order than they are read; line and paragraph separators too.
bool isRefused(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// The character of the reference `body` (what stands between "&" and ";"), or 0.
char32_t referencedCharacter(QStringView body)
{
    if (body.startsWith(QLatin1Char('#'))) {
        const bool hex = body.size() > 1 && (body.at(1) == u'x' || body.at(1) == u'X');
        const QStringView digits = body.mid(hex ? 2 : 1);
        if (digits.isEmpty())
            return 0;
        for (const QChar c : digits) {
            const char16_t u = c.unicode();
            const bool digit = u >= u'0' && u <= u'9';
            const bool letter = (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
            if (!digit && !(hex && letter))
                return 0;
        }
        bool ok = false;
        const uint code = digits.toUInt(&ok, hex ? 16 : 10);
        if (!ok || code > 0x10ffff || isRefused(char32_t(code)))
            return 0;
        return char32_t(code);
    }
    for (const auto &named : NamedReferences) {
        if (body == QLatin1String(named.name))
            return named.code;
    }
    return 0;
}
} // namespace

QString TsCurrency::decodeAmount(const QString &amount)
{
    static const QLatin1String wrappers[] = {QLatin1String("<html>"), QLatin1String("</html>")};
    QString text;
    text.reserve(amount.size());
    for (qsizetype i = 0; i < amount.size();) {
        const QStringView rest = QStringView(amount).mid(i);
        if (rest.front() == u'<') {
            bool wrapper = false;
            for (const QLatin1String tag : wrappers) {
                if (rest.startsWith(tag, ::Qt::CaseInsensitive)) {
                    i += tag.size();
                    wrapper = true;
                    break;
                }
            }
            if (wrapper)
                continue;
        } else if (rest.front() == u'&') {
            const qsizetype end = rest.left(MaxReferenceLength + 1).indexOf(u';');
            if (end > 1) {
                if (const char32_t code = referencedCharacter(rest.mid(1, end - 1))) {
                    text += QString::fromUcs4(&code, 1);
                    i += end + 1;
                    continue;
                }
            }
        }
        // A refused character is left out; a whole pair of surrogates is one
        // character, a lone one is refused.
        const bool pair
            = rest.size() > 1 && rest.at(0).isHighSurrogate() && rest.at(1).isLowSurrogate();
        const char32_t code
            = pair ? QChar::surrogateToUcs4(rest.at(0), rest.at(1)) : rest.front().unicode();
        if (!isRefused(code))
            text += rest.left(pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    return text;
}

bool TsCurrency::setLocaleId(unsigned long localeId)
{
    m_localeId = localeId;
    return true;
}

unsigned long TsCurrency::localeId()
{
    return m_localeId;
}

QString TsCurrency::getCurrencySeparator() const
{
    return QLocale().decimalPoint();
}

QString TsCurrency::getCurrencySymbol() const
{
    return QLocale().currencySymbol(QLocale::CurrencySymbol);
}

QString TsCurrency::format(long cents, bool showSymbol) const
{
    if (!m_useCurrency)
        return QString::number(cents);
    const QLocale locale;
    QString text = locale.toCurrencyString(static_cast<double>(cents) / 100.0);
    if (!showSymbol) {
        const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
        if (!symbol.isEmpty()) {
            const qsizetype at = text.indexOf(symbol);
            if (at >= 0)
                text.remove(at, symbol.size());
        }
    }
    return text;
}
