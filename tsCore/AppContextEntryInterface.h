#pragma once

#include <QString>

namespace Tessaly::Core {

class AppContextEntryInterface
{
public:
    virtual QString getName() const = 0;
    virtual ~AppContextEntryInterface() = default;
};

} // namespace Tessaly::Core
