#pragma once

#include "PortablePreferences.h"
#include "PreferencesEntry.h"

#include <QMap>
#include <QRecursiveMutex>
#include <QSet>
#include <QString>

#include <utility>

class QIODevice;

namespace UtilsLib {

// A named key/value store kept in one XML file. Keys are the upper-cased entry
// names, so lookups ignore case while each entry keeps the case it was set in.
class XmlPreferences : public PortablePreferences
{
public:
    static const QString VERSION;

    explicit XmlPreferences(const QString &name);
    XmlPreferences(const XmlPreferences &other);
    XmlPreferences &operator=(const XmlPreferences &other);
    ~XmlPreferences() override;

    QString name() const;
    void setName(const QString &name);
    int count() const;
    QString path() const;

    // Case-sensitive, unlike every lookup below.
    bool exists(const QString &name) const;

    void set(const QString &name, const QString &value, const QString &units, bool encrypt);
    void set(const QString &name, const QString &value, bool encrypt);
    void set(const QString &name, const QString &value) override;
    void set(const QString &name, int value, const QString &units);
    void set(const QString &name, int value) override;
    // Units given as a literal would otherwise bind to the encrypt flag.
    void set(const QString &name, const QString &value, const char *units) = delete;
    void add(const QString &name, const QString &value);

    PreferencesEntry getEntry(
        const QString &name, const QString &defaultValue, const QString &defaultUnits) const;
    QString get(const QString &name, const QString &defaultValue) const override;
    // The value as a whole number converted to the given units; a missing or
    // failed conversion gives the plain number.
    int get(const QString &name, int defaultValue, const QString &units) const;
    int getInt(const QString &name, int defaultValue) const override;
    QString getUnitsFor(const QString &name) const;

    void rename(const QString &oldName, const QString &newName, bool createIfMissing,
        const QString &defaultValue, const QString &defaultUnits);
    void remove(const QString &name) override;
    void clear();

    QSet<std::pair<QString, QString>> getAllAsSet() const;
    QMap<QString, Preference> getAll() const override;
    static QString configPath(const QString &name);

    // Who may read a file that save() creates. A shared file keeps the mode
    // of the file it replaces; an owner-only one is 0600 from its creation on.
    // Either is written whole through a new file renamed over the old one,
    // or not at all.
    enum class FileAccess { Shared, OwnerOnly };

    QString getData(const QString &lineEnd) const;
    [[nodiscard]] bool save(const QString &path, FileAccess access = FileAccess::Shared);
    // Writes back to the file last saved or loaded, as private as it was: a
    // loaded file that only its owner may read counts as owner-only.
    bool flush() const override;
    bool removeNode() override;

    bool load(const QString &path, bool acceptFailure) override;
    bool load(QIODevice *source);
    bool import(const QMap<QString, Preference> &values, const QString &path) override;

private:
    bool writeFile(const QString &path, FileAccess access) const;

    QString m_name;
    QString m_path;
    FileAccess m_access = FileAccess::Shared;
    mutable QRecursiveMutex m_lock;
    QMap<QString, PreferencesEntry> m_entries;
};

} // namespace UtilsLib
