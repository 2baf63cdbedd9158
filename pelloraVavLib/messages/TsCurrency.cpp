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
