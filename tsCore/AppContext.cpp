#include "AppContext.h"

#include "AppContextEntryInterface.h"

namespace Tessaly::Core {

AppContext::AppContext()
    : m_mutex(true)
{ }

AppContext::AppContext(const AppContext &)
    : m_mutex(true)
{ }

AppContext::~AppContext()
{
    clear();
}

AppContext &AppContext::getContext()
{
    static AppContext context;
    return context;
}

void AppContext::setObject(const QString &name, AppContextEntryInterface *entry)
{
    // The replaced entry is destroyed outside the lock: its destructor may
    // itself use the context.
    delete removeFromContext(name);
    TsMutexLocker locker(&m_mutex);
    m_entries.insert(name, entry);
}

void AppContext::setObject(AppContextEntryInterface *entry)
{
    if (entry)
        setObject(entry->getName(), entry);
}

AppContextEntryInterface *AppContext::getObject(const QString &name)
{
    TsMutexLocker locker(&m_mutex);
    return m_entries.value(name, nullptr);
}

bool AppContext::hasObject(const QString &name)
{
    return getObject(name) != nullptr;
}

AppContextEntryInterface *AppContext::removeFromContext(const QString &name)
{
    TsMutexLocker locker(&m_mutex);
    return m_entries.take(name);
}

void AppContext::clear()
{
    TsMutexLocker locker(&m_mutex);
    const QMap<QString, AppContextEntryInterface *> entries = std::exchange(m_entries, {});
    for (AppContextEntryInterface *entry : entries)
        delete entry;
}

} // namespace Tessaly::Core
