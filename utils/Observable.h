#pragma once

#include <memory>

namespace UtilsLib {

class Observer;
class ObservableEvent;
class ObservablePrivate;

class Observable
{
public:
    Observable();
    Observable(const Observable &other);
    Observable &operator=(const Observable &other);
    virtual ~Observable();

    virtual void addObserver(Observer *observer);
    bool removeObserver(Observer *observer);
    int observersCount() const;
    bool hasObservers() const { return observersCount() > 0; }
    // Whether any observer wants events of that severity code.
    bool isListeningFor(int severityCode) const;
    void copyObservers(Observable &other) const;
    void announceEvent(const ObservableEvent &event) const;

private:
    std::unique_ptr<ObservablePrivate> d;
};

} // namespace UtilsLib
