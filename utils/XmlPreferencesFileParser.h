#pragma once

#include <QString>

#include <memory>

class QIODevice;

namespace UtilsLib {

class PreferencesEntry;
class XmlPreferences;

// Reads a preferences file into a store. Only <entry> elements count; every
// other element is accepted and ignored, so only malformed XML fails a parse.
class XmlPreferencesFileParser
{
public:
    explicit XmlPreferencesFileParser(XmlPreferences *preferences);
    ~XmlPreferencesFileParser();

    XmlPreferencesFileParser(const XmlPreferencesFileParser &) = delete;
    XmlPreferencesFileParser &operator=(const XmlPreferencesFileParser &) = delete;

    // Entries completed before an error stay in the store.
    bool parse(QIODevice *source);
    QString errorString() const { return m_errorString; }

private:
    void startElement(
        const QString &qualifiedName, const QString &name, const QString &units, bool encrypted);
    void characters(const QString &text);
    void endElement();

    XmlPreferences *m_preferences;
    std::unique_ptr<PreferencesEntry> m_entry;
    QString m_text;
    QString m_errorString;
};

} // namespace UtilsLib
