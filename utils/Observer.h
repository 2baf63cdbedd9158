#pragma once

#include <QtGlobal>

namespace UtilsLib {

class ObservableEvent;

class Observer
{
public:
    virtual ~Observer() = default;
    virtual void notify(const ObservableEvent &event) = 0;
    // Whether events of that severity code (lower is more severe) are wanted
    // at all: a traced object builds none that no observer wants.
    virtual bool wantsSeverity(int severityCode) const
    {
        Q_UNUSED(severityCode);
        return true;
    }
};

} // namespace UtilsLib
