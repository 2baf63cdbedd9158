#pragma once

#include "Preference.h"

#include <QMap>
#include <QString>

namespace UtilsLib {

class PortablePreferences
{
public:
    virtual ~PortablePreferences() = default;

    virtual void set(const QString &name, int value) = 0;
    virtual void set(const QString &name, const QString &value) = 0;
    virtual QString get(const QString &name, const QString &defaultValue) const = 0;
    virtual int getInt(const QString &name, int defaultValue) const = 0;
    virtual void remove(const QString &name) = 0;
    virtual bool removeNode() = 0;
    virtual bool flush() const = 0;
    virtual bool load(const QString &path, bool acceptFailure) = 0;
    virtual bool import(const QMap<QString, Preference> &values, const QString &path) = 0;
    virtual QMap<QString, Preference> getAll() const = 0;
};

} // namespace UtilsLib
