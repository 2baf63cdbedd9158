#pragma once

#include "KoaMessageDispatcherInterface.h"
#include "Observable.h"

namespace UtilsLib {
class Observer;
}

// Turns every received text into exactly one answer text.
class KoaMessageDispatcher : public KoaMessageDispatcherInterface, public UtilsLib::Observable
{
public:
    explicit KoaMessageDispatcher(UtilsLib::Observer *observer);
    ~KoaMessageDispatcher() override;

    QString dispatch(const QString &source, const QString &text) override;

    static const QString ClassName;
};
