#include "MessageBase.h"

QString MessageBase::escape(QString value)
{
    // Backslashes first: those added before colons must not be doubled.
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char(':'), QLatin1String("\\:"));
    return value;
}

QString MessageBase::join(const QStringList &values)
{
    QString result;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            result += QLatin1Char(':');
        result += escape(values.at(i));
    }
    return result;
}

QStringList MessageBase::tokenize(QString text)
{
    QStringList values;
    QString current;
    bool afterBackslash = false;
    for (const QChar c : std::as_const(text)) {
        if (afterBackslash) {
            if (c != QLatin1Char('\\') && c != QLatin1Char(':'))
                throw MessageFormatException();
            current += c;
            afterBackslash = false;
        } else if (c == QLatin1Char('\\')) {
            afterBackslash = true;
        } else if (c == QLatin1Char(':')) {
            values.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (afterBackslash)
        throw MessageFormatException();
    values.append(current);
    return values;
}
