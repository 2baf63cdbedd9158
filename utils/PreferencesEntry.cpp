#include "PreferencesEntry.h"

#include "HexCodec.h"
#include "PreferencesXml_p.h"

namespace UtilsLib {

PreferencesEntry::PreferencesEntry(const QString &name, const QString &value, const QString &units)
    : m_name(name)
    , m_value(value)
    , m_units(units)
{ }

QString PreferencesEntry::asXml(const TextCodec &codec) const
{
    QString line = QLatin1String("<entry name='") + PreferencesXml::escapeAttribute(m_name)
        + QLatin1Char('\'');
    if (m_encryptWhenSaving)
        line += QLatin1String(" encrypted='1'");
    if (!m_units.isEmpty())
        line += QLatin1String(" units='") + PreferencesXml::escapeAttribute(m_units)
            + QLatin1Char('\'');
    line += QLatin1Char('>');
    line += m_encryptWhenSaving ? codec.encode(m_value) : PreferencesXml::escapeText(m_value);
    line += QLatin1String("</entry>");
    return line;
}

QString PreferencesEntry::asXml() const
{
    return asXml(HexCodec());
}

} // namespace UtilsLib
