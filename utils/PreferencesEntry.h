#pragma once

#include <QString>

namespace UtilsLib {

class TextCodec;

// One named value of an XML preferences store.
class PreferencesEntry
{
public:
    PreferencesEntry() = default;
    PreferencesEntry(const QString &name, const QString &value, const QString &units);

    QString name() const { return m_name; }
    QString value() const { return m_value; }
    QString units() const { return m_units; }
    bool encryptWhenSaving() const { return m_encryptWhenSaving; }
    void setEncryptWhenSaving(bool encrypt) { m_encryptWhenSaving = encrypt; }

    // The entry's line of the preferences file, without line end; an encrypted
    // value is written through the codec.
    QString asXml(const TextCodec &codec) const;
    QString asXml() const;

private:
    QString m_name;
    QString m_value;
    QString m_units;
    bool m_encryptWhenSaving = false;
};

} // namespace UtilsLib
