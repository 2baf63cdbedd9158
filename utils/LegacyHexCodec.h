#pragma once

#include "TextCodec.h"

namespace UtilsLib {

// The older shifted-character encoding; kept so that old values stay readable.
class LegacyHexCodec : public TextCodec
{
public:
    QString encode(const QString &text) const override;
    QString decode(const QString &text) const override;
};

} // namespace UtilsLib
