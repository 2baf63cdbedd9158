#pragma once

#include "TsMutex.h"

#include <QMap>
#include <QString>

namespace Tessaly::Core {

class AppContextEntryInterface;

// Process-wide registry of named objects. The context owns its entries.
class AppContext
{
public:
    AppContext();
    AppContext(const AppContext &);
    AppContext &operator=(const AppContext &) { return *this; }
    ~AppContext();

    static AppContext &getContext();

    void setObject(const QString &name, AppContextEntryInterface *entry);
    void setObject(AppContextEntryInterface *entry);
    AppContextEntryInterface *getObject(const QString &name);
    bool hasObject(const QString &name);
    [[nodiscard]] AppContextEntryInterface *removeFromContext(const QString &name);
    void clear();

private:
    QMap<QString, AppContextEntryInterface *> m_entries;
    TsMutex m_mutex;
};

} // namespace Tessaly::Core
