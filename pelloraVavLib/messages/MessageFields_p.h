#pragma once

#include <QString>
#include <QStringList>

// Reading and writing the "|"-separated fields shared by the Print Service messages.
namespace MessageFields {

inline QStringList split(const QString &text)
{
    return text.split(QLatin1Char('|'), ::Qt::SkipEmptyParts);
}

inline QStringList splitKeepingEmpty(const QString &text)
{
    return text.split(QLatin1Char('|'), ::Qt::KeepEmptyParts);
}

// The integer reading of a value: 0 when it is not a (decimal) number.
inline long toNumber(const QString &value)
{
    return value.toLong();
}

inline bool toFlag(const QString &value)
{
    return toNumber(value) != 0;
}

inline QString flagText(bool flag)
{
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}

// The value of a coded field: everything after the code, empty for the code alone.
inline QString codedValue(const QString &field)
{
    return field.mid(1);
}

inline bool hasId(const QStringList &fields, long id)
{
    return !fields.isEmpty() && fields.first().toLong() == id;
}

inline bool hasUnsignedId(const QStringList &fields, unsigned long id)
{
    bool ok = false;
    return !fields.isEmpty() && fields.first().toULong(&ok) == id && ok;
}

// A value written into a body must not contain the field separator (it would
// shift every later field) nor a NUL (the frame would end there).
inline QString wireSafe(QString value)
{
    value.remove(QLatin1Char('|'));
    value.remove(QChar(0));
    return value;
}

} // namespace MessageFields
