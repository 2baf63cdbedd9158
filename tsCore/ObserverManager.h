#pragma once

#include "AppContextEntryInterface.h"

namespace UtilsLib {
class Observer;
}

namespace Tessaly::Core {

// The "observerManager" entry of the application context: hands message
// handlers that were given no observer the one to report to.
class ObserverManager : public AppContextEntryInterface
{
public:
    explicit ObserverManager(UtilsLib::Observer *observer)
        : m_observer(observer)
    { }

    QString getName() const override { return name(); }
    UtilsLib::Observer *observer() const { return m_observer; }

    static QString name() { return QStringLiteral("observerManager"); }

private:
    UtilsLib::Observer *m_observer; // not owned
};

} // namespace Tessaly::Core
