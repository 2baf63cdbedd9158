#include "BundleInfo.h"

namespace {
struct Override
{
    QString value;
    bool removed = false;
};

QHash<QString, Override> &overrides()
{
    static QHash<QString, Override> table;
    return table;
}
} // namespace

QString BundleInfo::value(const QString &key)
{
    const auto it = overrides().constFind(key);
    if (it != overrides().cend())
        return it->removed ? QString() : it->value;
    return QString::fromUtf8(builtInValue(key.toUtf8().constData()));
}

void BundleInfo::setOverride(const QString &key, const QString &value)
{
    overrides().insert(key, Override {value, false});
}

void BundleInfo::removeOverride(const QString &key)
{
    overrides().insert(key, Override {QString(), true});
}

void BundleInfo::clearOverrides()
{
    overrides().clear();
}
