#pragma once

#include <QString>

// Money amounts in cents, written the way the user's locale writes money.
class TsCurrency
{
public:
    explicit TsCurrency(bool useCurrency);

    // Rounds half away from zero; values beyond the range of long are clamped,
    // a value that is not a number gives 0.
    static long dollarsToCents(double dollars);
    // Reads only the digits, "." and "-" of the text; 0 when they are no number.
    static long dollarsToCents(const QString &dollars);

    static bool setLocaleId(unsigned long localeId);
    static unsigned long localeId();

    QString getCurrencySeparator() const;
    QString getCurrencySymbol() const;
    QString format(long cents, bool showSymbol) const;

private:
    bool m_useCurrency;

    static unsigned long m_localeId;
};
