#pragma once

#include <QString>

namespace Tessaly::Core {

class SystemNetInfoInterface
{
public:
    virtual ~SystemNetInfoInterface() = default;
    virtual QString getIpAddress() = 0;
    virtual QString getComputerName() = 0;
};

} // namespace Tessaly::Core
