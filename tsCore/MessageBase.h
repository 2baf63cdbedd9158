#pragma once

#include <QString>
#include <QStringList>

class MessageFormatException
{ };

// Colon-separated value lists with backslash escaping, as in the registration text.
class MessageBase
{
public:
    static QString escape(QString value);
    static QString join(const QStringList &values);
    static QStringList tokenize(QString text); // throws MessageFormatException
};
