#pragma once

#include <QHash>
#include <QString>

// Stands in for the information dictionary of an application bundle: the keys
// are generated into the program at build time. Tests may override values.
class BundleInfo
{
public:
    static QString value(const QString &key);
    static void setOverride(const QString &key, const QString &value);
    static void removeOverride(const QString &key);
    static void clearOverrides();

private:
    static const char *builtInValue(const char *key);
};
