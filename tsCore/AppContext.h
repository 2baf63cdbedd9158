#pragma once

#include "TsMutex.h"

#include <QString>

#include <map>
#include <memory>

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

    void setObject(const QString &name, std::unique_ptr<AppContextEntryInterface> entry);
    void setObject(std::unique_ptr<AppContextEntryInterface> entry);
    AppContextEntryInterface *getObject(const QString &name);
    bool hasObject(const QString &name);
    [[nodiscard]] std::unique_ptr<AppContextEntryInterface> removeFromContext(const QString &name);
    void clear();

private:
    std::map<QString, std::unique_ptr<AppContextEntryInterface>> m_entries;
    TsMutex m_mutex;
};

} // namespace Tessaly::Core
