#pragma once

#include <QMutex>

namespace Tessaly::Core {

// QMutex in Qt 6 is never recursive; the flag picks which of the two Qt
// mutexes does the locking.
class TsMutex
{
public:
    explicit TsMutex(bool recursive);
    TsMutex(const TsMutex &other);
    TsMutex &operator=(const TsMutex &) { return *this; }
    virtual ~TsMutex() = default;

    void lock();
    void unlock();
    bool tryLock();
    bool isRecursive() const { return m_recursive; }

private:
    bool m_recursive;
    QMutex m_plain;
    QRecursiveMutex m_recursiveMutex;
};

class TsMutexLocker
{
public:
    explicit TsMutexLocker(TsMutex *mutex)
        : m_mutex(mutex)
    {
        m_mutex->lock();
    }
    ~TsMutexLocker() { m_mutex->unlock(); }
    TsMutexLocker(const TsMutexLocker &) = delete;
    TsMutexLocker &operator=(const TsMutexLocker &) = delete;

private:
    TsMutex *m_mutex;
};

} // namespace Tessaly::Core
