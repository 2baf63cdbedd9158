#pragma once

#include <QString>

namespace UtilsLib {

// Two-way text transformation used where a value must not be stored in clear.
class TextCodec
{
public:
    virtual ~TextCodec() = default;
    virtual QString encode(const QString &text) const = 0;
    virtual QString decode(const QString &text) const = 0;
};

} // namespace UtilsLib
