#pragma once

#include "Observable.h"
#include "Observer.h"

namespace UtilsLib {

// Several observers where a traced object takes one: each event goes to
// every member, in the order they were added.
class ObserverGroup : public Observer, public Observable
{
public:
    void notify(const ObservableEvent &event) override { announceEvent(event); }
    bool wantsSeverity(int severityCode) const override { return isListeningFor(severityCode); }
};

} // namespace UtilsLib
