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

void AppContext::setObject(const QString &name, std::unique_ptr<AppContextEntryInterface> entry)
{
    // The replaced entry is destroyed outside the lock: its destructor may
    // itself use the context.
    std::unique_ptr<AppContextEntryInterface> replaced = removeFromContext(name);
    TsMutexLocker locker(&m_mutex);
    m_entries[name] = std::move(entry);
}

void AppContext::setObject(std::unique_ptr<AppContextEntryInterface> entry)
{
    if (entry) {
        const QString name = entry->getName();
        setObject(name, std::move(entry));
    }
}

AppContextEntryInterface *AppContext::getObject(const QString &name)
{
    TsMutexLocker locker(&m_mutex);
    const auto found = m_entries.find(name);
    return found == m_entries.end() ? nullptr : found->second.get();
}

bool AppContext::hasObject(const QString &name)
{
    return getObject(name) != nullptr;
}

std::unique_ptr<AppContextEntryInterface> AppContext::removeFromContext(const QString &name)
{
    TsMutexLocker locker(&m_mutex);
    const auto found = m_entries.find(name);
    if (found == m_entries.end())
        return nullptr;
    std::unique_ptr<AppContextEntryInterface> entry = std::move(found->second);
    m_entries.erase(found);
    return entry;
}

void AppContext::clear()
{
    // Destroyed outside the lock, as in setObject.
    std::map<QString, std::unique_ptr<AppContextEntryInterface>> entries;
    {
        TsMutexLocker locker(&m_mutex);
        entries.swap(m_entries);
    }
}

} // namespace Tessaly::Core
