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

    // An amount as the Print Service writes it, its symbol a character reference
    // ("&#36;0.50", "<html>&#36;</html>0.50"), as the characters it stands for:
    // numeric references, the few named ones amounts use and the <html> wrapper
    // are read, in one pass; anything else stays as it stands, to be shown as text.
    // Control and format characters (the bidirectional overrides among them)
    // are refused: left out as they stand, left unread as references.
    static QString decodeAmount(const QString &amount);

    static bool setLocaleId(unsigned long localeId);
    static unsigned long localeId();

    QString getCurrencySeparator() const;
    QString getCurrencySymbol() const;
    QString format(long cents, bool showSymbol) const;

private:
    bool m_useCurrency;

    static unsigned long m_localeId;
};
