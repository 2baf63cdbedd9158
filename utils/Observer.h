#pragma once

namespace UtilsLib {

class ObservableEvent;

class Observer
{
public:
    virtual ~Observer() = default;
    virtual void notify(const ObservableEvent &event) = 0;
};

} // namespace UtilsLib
