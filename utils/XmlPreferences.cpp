#include "XmlPreferences.h"

#include "NumericUnits.h"
#include "PreferencesXml_p.h"
#include "PrivateFile.h"
#include "XmlPreferencesFileParser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>
#include <QUrl>

#include <stdexcept>

namespace UtilsLib {

const QString XmlPreferences::VERSION = QStringLiteral("1.1");

namespace {
const QString SampleSettingsName = QStringLiteral("Sample Settings");

QString keyFor(const QString &name)
{
    return name.toUpper();
}

// Creates the missing levels from the root down; the first level that cannot
// be created ends the walk and leaves the failure to the open that follows.
void makeParentDirectory(const QString &filePath)
{
    const QString directory = QFileInfo(filePath).absolutePath();
    if (QFileInfo(directory).isDir())
        return;
    const QStringList parts = directory.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString level;
    for (const QString &part : parts) {
        level += QLatin1Char('/') + part;
        if (QFileInfo(level).isDir())
            continue;
        if (!QDir().mkdir(level))
            return;
    }
}

// A "file:" URL names a local file; anything else is taken as a path as it
// stands, so that '#' or '?' in a file name survives.
QString localPathOf(const QString &path)
{
    if (path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(path).toLocalFile();
    return path;
}
} // namespace

XmlPreferences::XmlPreferences(const QString &name)
    : m_name(name)
{ }

XmlPreferences::XmlPreferences(const XmlPreferences &other)
    : PortablePreferences(other)
{
    QMutexLocker sourceLock(&other.m_lock);
    m_name = other.m_name;
    m_entries = other.m_entries;
}

XmlPreferences &XmlPreferences::operator=(const XmlPreferences &other)
{
    if (this == &other)
        return *this;
    QString name;
    QMap<QString, PreferencesEntry> entries;
    {
        QMutexLocker sourceLock(&other.m_lock);
        name = other.m_name;
        entries = other.m_entries;
    }
    QMutexLocker lock(&m_lock);
    m_name = name;
    m_entries = entries;
    return *this;
}

XmlPreferences::~XmlPreferences() = default;

QString XmlPreferences::name() const
{
    QMutexLocker lock(&m_lock);
    return m_name;
}

void XmlPreferences::setName(const QString &name)
{
    QMutexLocker lock(&m_lock);
    m_name = name;
}

int XmlPreferences::count() const
{
    QMutexLocker lock(&m_lock);
    return int(m_entries.size());
}

QString XmlPreferences::path() const
{
    QMutexLocker lock(&m_lock);
    return m_path;
}

bool XmlPreferences::exists(const QString &name) const
{
    QMutexLocker lock(&m_lock);
    for (const PreferencesEntry &entry : m_entries) {
        if (entry.name() == name)
            return true;
    }
    return false;
}

void XmlPreferences::set(
    const QString &name, const QString &value, const QString &units, bool encrypt)
{
    PreferencesEntry entry(name, value, units);
    entry.setEncryptWhenSaving(encrypt);
    QMutexLocker lock(&m_lock);
    m_entries.insert(keyFor(name), entry);
}

void XmlPreferences::set(const QString &name, const QString &value, bool encrypt)
{
    set(name, value, QString(), encrypt);
}

void XmlPreferences::set(const QString &name, const QString &value)
{
    set(name, value, QString(), false);
}

void XmlPreferences::set(const QString &name, int value, const QString &units)
{
    set(name, QString::number(value), units, false);
}

void XmlPreferences::set(const QString &name, int value)
{
    set(name, QString::number(value), QString(), false);
}

void XmlPreferences::add(const QString &name, const QString &value)
{
    set(name, value);
}

PreferencesEntry XmlPreferences::getEntry(
    const QString &name, const QString &defaultValue, const QString &defaultUnits) const
{
    QMutexLocker lock(&m_lock);
    const auto it = m_entries.constFind(keyFor(name));
    if (it != m_entries.constEnd())
        return it.value();
    return PreferencesEntry(name, defaultValue, defaultUnits);
}

QString XmlPreferences::get(const QString &name, const QString &defaultValue) const
{
    return getEntry(name, defaultValue, QString()).value();
}

int XmlPreferences::get(const QString &name, int defaultValue, const QString &units) const
{
    const PreferencesEntry entry = getEntry(name, QString::number(defaultValue), QString());
    const int number = entry.value().toInt(); // not a number: 0
    try {
        return int(NumericUnits::convert(number, entry.units(), units));
    } catch (const std::runtime_error &) {
        return number;
    }
}

int XmlPreferences::getInt(const QString &name, int defaultValue) const
{
    return get(name, defaultValue, QString());
}

QString XmlPreferences::getUnitsFor(const QString &name) const
{
    const QString units = getEntry(name, QString(), QString()).units();
    return units.isEmpty() ? NumericUnits::UNKNOWN_UNITS : units;
}

void XmlPreferences::rename(const QString &oldName, const QString &newName, bool createIfMissing,
    const QString &defaultValue, const QString &defaultUnits)
{
    QMutexLocker lock(&m_lock);
    const auto it = m_entries.constFind(keyFor(oldName));
    if (it != m_entries.constEnd() && !it.value().value().isEmpty()) {
        const PreferencesEntry old = it.value();
        m_entries.erase(it);
        set(newName.toUpper(), old.value(), old.units(), false);
    } else if (createIfMissing) {
        set(newName, defaultValue, defaultUnits, false);
    }
}

void XmlPreferences::remove(const QString &name)
{
    QMutexLocker lock(&m_lock);
    m_entries.remove(keyFor(name));
}

void XmlPreferences::clear()
{
    QMutexLocker lock(&m_lock);
    m_entries.clear();
    m_name.clear();
}

QSet<std::pair<QString, QString>> XmlPreferences::getAllAsSet() const
{
    QMutexLocker lock(&m_lock);
    QSet<std::pair<QString, QString>> all;
    for (const PreferencesEntry &entry : m_entries)
        all.insert({entry.name(), entry.value()});
    return all;
}

QMap<QString, Preference> XmlPreferences::getAll() const
{
    throw std::runtime_error("XmlPreferences::getAll() not implemented");
}

QString XmlPreferences::configPath(const QString &)
{
    throw std::runtime_error("configPath not implemented for non-windows machines");
}

QString XmlPreferences::getData(const QString &lineEnd) const
{
    QMutexLocker lock(&m_lock);
    QString data;
    data += QLatin1String("<?xml version=\"1.0\" encoding=\"utf-8\" ?>") + lineEnd;
    data += QLatin1String("<Settings>") + lineEnd;
    data += QLatin1String("<version>") + VERSION + QLatin1String("</version>") + lineEnd;
    data += QLatin1String("<type>") + PreferencesXml::escapeText(m_name) + QLatin1String("</type>")
        + lineEnd;
    for (const PreferencesEntry &entry : m_entries)
        data += entry.asXml() + lineEnd;
    data += QLatin1String("</Settings>") + lineEnd;
    return data;
}

bool XmlPreferences::save(const QString &path, FileAccess access)
{
    QMutexLocker lock(&m_lock);
    m_path = path;
    m_access = access;
    return writeFile(path, access);
}

bool XmlPreferences::flush() const
{
    QMutexLocker lock(&m_lock);
    return writeFile(m_path, m_access);
}

bool XmlPreferences::writeFile(const QString &path, FileAccess access) const
{
    if (path.isEmpty())
        return false;
    makeParentDirectory(QFileInfo(path).absoluteFilePath());
    if (access == FileAccess::OwnerOnly)
        return PrivateFile::write(path, getData(QStringLiteral("\r\n")).toUtf8());
    // The previous file is replaced only once the new one is complete and
    // synced; QSaveFile gives the new one the old one's mode before it has a
    // name. A file in a folder the user cannot write is not written in place:
    // a full disk would leave it cut.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = getData(QStringLiteral("\r\n")).toUtf8();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool XmlPreferences::removeNode()
{
    QMutexLocker lock(&m_lock);
    return !m_path.isEmpty() && QFile::remove(m_path);
}

bool XmlPreferences::load(const QString &path, bool acceptFailure)
{
    QMutexLocker lock(&m_lock);
    m_path = localPathOf(path);
    if (m_name == SampleSettingsName)
        m_name = QFileInfo(m_path).completeBaseName();
    QFile file(m_path);
    const QFile::Permissions others
        = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    m_access = file.exists() && !(file.permissions() & others) ? FileAccess::OwnerOnly
                                                               : FileAccess::Shared;
    bool parsed = false;
    if (file.open(QIODevice::ReadOnly))
        parsed = load(&file);
    return parsed || acceptFailure;
}

bool XmlPreferences::load(QIODevice *source)
{
    if (!source)
        return false;
    QMutexLocker lock(&m_lock);
    XmlPreferencesFileParser parser(this);
    return parser.parse(source);
}

bool XmlPreferences::import(const QMap<QString, Preference> &values, const QString &path)
{
    QMutexLocker lock(&m_lock);
    if (!path.isEmpty())
        load(path, true);
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        set(it.key(), it.value().toString(), QString(), false);
    return true;
}

} // namespace UtilsLib
