#include "XmlPreferencesFileParser.h"

#include "HexEncrypt.h"
#include "PreferencesEntry.h"
#include "XmlPreferences.h"

#include <QIODevice>
#include <QXmlStreamReader>

namespace UtilsLib {

XmlPreferencesFileParser::XmlPreferencesFileParser(XmlPreferences *preferences)
    : m_preferences(preferences)
{ }

XmlPreferencesFileParser::~XmlPreferencesFileParser() = default;

bool XmlPreferencesFileParser::parse(QIODevice *source)
{
    m_entry.reset();
    m_text.clear();
    m_errorString.clear();

    // Decoded here rather than by the reader: the reader rejects a whole block
    // for one bad byte, which would drop the entries in front of it. Invalid
    // sequences become replacement characters, as the old reader took them.
    QString text = QString::fromUtf8(source->readAll());
    if (text.startsWith(QChar(QChar::ByteOrderMark)))
        text.remove(0, 1);
    QXmlStreamReader reader(text);
    // Elements are matched on their qualified names; an undeclared prefix is
    // no reason to give up the file.
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QXmlStreamAttributes attributes = reader.attributes();
            startElement(reader.qualifiedName().toString(),
                attributes.value(QLatin1String("name")).toString(),
                attributes.value(QLatin1String("units")).toString(),
                attributes.value(QLatin1String("encrypted")) == QLatin1String("1"));
            break;
        }
        case QXmlStreamReader::Characters:
            characters(reader.text().toString());
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        default:
            break;
        }
    }
    m_entry.reset();
    m_text.clear();
    if (reader.hasError()) {
        m_errorString = reader.errorString();
        return false;
    }
    return true;
}

void XmlPreferencesFileParser::startElement(
    const QString &qualifiedName, const QString &name, const QString &units, bool encrypted)
{
    if (qualifiedName != QLatin1String("entry"))
        return;
    m_text.clear();
    m_entry = std::make_unique<PreferencesEntry>(name, QString(), units);
    m_entry->setEncryptWhenSaving(encrypted);
}

void XmlPreferencesFileParser::characters(const QString &text)
{
    // The reader may hand one element's content over in pieces (around a
    // character reference or CDATA section), so the pieces are joined.
    if (m_entry)
        m_text += text;
}

void XmlPreferencesFileParser::endElement()
{
    if (m_entry) {
        const QString value
            = m_entry->encryptWhenSaving() ? HexEncrypt::decryptData(m_text) : m_text;
        m_preferences->set(m_entry->name(), value, m_entry->units(), m_entry->encryptWhenSaving());
    }
    m_text.clear();
    m_entry.reset();
}

} // namespace UtilsLib
