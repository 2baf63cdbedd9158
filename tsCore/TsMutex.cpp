#include "TsMutex.h"

namespace Tessaly::Core {

TsMutex::TsMutex(bool recursive)
    : m_recursive(recursive)
{ }

TsMutex::TsMutex(const TsMutex &other)
    : m_recursive(other.m_recursive)
{ }

void TsMutex::lock()
{
    if (m_recursive)
        m_recursiveMutex.lock();
    else
        m_plain.lock();
}

void TsMutex::unlock()
{
    if (m_recursive)
        m_recursiveMutex.unlock();
    else
        m_plain.unlock();
}

bool TsMutex::tryLock()
{
    return m_recursive ? m_recursiveMutex.tryLock() : m_plain.tryLock();
}

} // namespace Tessaly::Core
