#pragma once

#include <QString>

namespace UtilsLib {

// A value handed to PortablePreferences::import; only its text form matters.
class Preference
{
public:
    Preference() = default;
    Preference(const QString &value)
        : m_value(value)
    { }

    QString toString() const { return m_value; }

private:
    QString m_value;
};

} // namespace UtilsLib
