#pragma once

#include "AppContextEntryInterface.h"
#include "TimeSourceInterface.h"

namespace Tessaly::Core {

class DaxTimeSource : public AppContextEntryInterface, public TimeSourceInterface
{
public:
    QString getName() const override { return QStringLiteral("timeSource"); }
    QDateTime currentTime() const override { return QDateTime::currentDateTime(); }
};

} // namespace Tessaly::Core
