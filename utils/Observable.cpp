#include "Observable.h"

#include "ObservableEvent.h"
#include "Observer.h"

#include <QList>

namespace UtilsLib {

class ObservablePrivate
{
public:
    QList<Observer *> observers;
};

Observable::Observable()
    : d(std::make_unique<ObservablePrivate>())
{ }

Observable::Observable(const Observable &other)
    : d(std::make_unique<ObservablePrivate>(*other.d))
{ }

Observable &Observable::operator=(const Observable &other)
{
    if (this != &other)
        d->observers = other.d->observers;
    return *this;
}

Observable::~Observable() = default;

void Observable::addObserver(Observer *observer)
{
    if (observer && !d->observers.contains(observer))
        d->observers.append(observer);
}

bool Observable::removeObserver(Observer *observer)
{
    return d->observers.removeOne(observer);
}

int Observable::observersCount() const
{
    return int(d->observers.size());
}

bool Observable::isListeningFor(int severityCode) const
{
    for (const Observer *observer : std::as_const(d->observers)) {
        if (observer->wantsSeverity(severityCode))
            return true;
    }
    return false;
}

void Observable::copyObservers(Observable &other) const
{
    if (&other != this)
        other.d->observers = d->observers;
}

void Observable::announceEvent(const ObservableEvent &event) const
{
    // A copy, so that an observer that detaches itself while being notified
    // does not disturb the iteration.
    const QList<Observer *> observers = d->observers;
    for (Observer *observer : observers)
        observer->notify(event);
}

} // namespace UtilsLib
