#pragma once

#include "TextCodec.h"

namespace UtilsLib {

// The current value encoding, shared with the Print Service.
class HexCodec : public TextCodec
{
public:
    QString encode(const QString &text) const override;
    QString decode(const QString &text) const override;
};

} // namespace UtilsLib
